#pragma once

#include <QHash>
#include <QString>

#include <utility>

namespace zeq
{

/// Upper-case three-letter amino-acid codes to one-letter codes (the 20 residues and XLE).
class AminoAcidMap
{
public:
    static const AminoAcidMap &instance();
    /// Trimmed, cut at the first "_", upper-cased; 0 for an unknown code.
    [[nodiscard]] char threeLetterToOneLetter(const QString &text) const;

private:
    AminoAcidMap();
    QHash<QString, char> m_codes;
};

/// The two sides of "before->after", trimmed; two empty texts unless there are exactly two.
[[nodiscard]] std::pair<QString, QString> splitContentInArrow(const QString &text);

/// The one-letter codes of a mutation name such as "Ala->Val"; {0, 0} unless both sides are known
/// three-letter codes.
[[nodiscard]] std::pair<char, char> mutationLetters(const QString &name);

} // namespace zeq
