#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_stable/Error.h"

#include <QString>

namespace zeq
{

/// A glycan as a search or display item: its composition text, an optional label (a chemical tag)
/// with the label's mass, and an optional adduct. The texts are stored as given, never interpreted.
class ZEQ_COMMON_CORE_EXPORT GlycanWithMods
{
public:
    GlycanWithMods() = default;

    [[nodiscard]] QString label() const { return m_label; }
    [[nodiscard]] double labelMass() const noexcept { return m_labelMass; }
    [[nodiscard]] QString glycanComposition() const { return m_glycanComposition; }
    [[nodiscard]] QString adduct() const { return m_adduct; }
    void setLabel(const QString &label) { m_label = label; }
    /// kBadParameterError, the mass unchanged, for NaN or infinity: JSON has no such numbers, so
    /// serialize() would write null and deserialize() read it back as 0.
    Error setLabelMass(double labelMass);
    void setGlycanComposition(const QString &composition) { m_glycanComposition = composition; }
    void setAdduct(const QString &adduct) { m_adduct = adduct; }

    /// Compact JSON with the members in key order:
    /// {"Adduct":"","Composition":"HexNAc(2)","Label":"X","LabelMass":1.5}
    [[nodiscard]] QString serialize() const;
    /// Fills the object from serialize()'s text. "Label", "Composition" and "Adduct" must be JSON
    /// strings; a missing or non-numeric "LabelMass" reads as 0. kBadParameterError, naming the
    /// fault, for anything else, and the object is left as it was.
    Error deserialize(const QString &text);
    /// The non-empty ones of label, composition and adduct joined by a blank; the mass is not shown.
    [[nodiscard]] QString humanReadable() const;

private:
    QString m_label;
    double m_labelMass = 0.0;
    QString m_glycanComposition;
    QString m_adduct;
};

} // namespace zeq
