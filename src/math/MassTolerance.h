#pragma once

#include "math/Interval.h"
#include "utils/Result.h"
#include "zeq_common_core_export.h"

#include <QJsonObject>
#include <QString>

namespace zeq
{

/// How far apart two masses (or m/z values) may be and still count as the same: a number in
/// parts per million of the reference or in Dalton. A plain value; the tolerance's sign is not checked.
class ZEQ_COMMON_CORE_EXPORT MassTolerance
{
public:
    enum MassUnit : qint32 { ppm = 0, Dalton = 1 };

    /// Exported for callers that compare modification masses; nothing in this library reads it.
    static double s_mod_compare_tolerance;

    MassTolerance() = default;
    MassTolerance(MassUnit unit, double tolerance)
        : m_unit(unit)
        , m_tolerance(tolerance)
    {
    }

    void set(const MassTolerance &other) { *this = other; }
    void setTolerance(double tolerance) { m_tolerance = tolerance; }
    [[nodiscard]] double tolerance() const noexcept { return m_tolerance; }
    void setUnit(MassUnit unit) { m_unit = unit; }
    /// Trimmed, case-insensitive "ppm" selects ppm; any other text selects Dalton.
    void setUnit(const QString &text);
    [[nodiscard]] MassUnit unit() const noexcept { return m_unit; }

    [[nodiscard]] QString unitToString() const { return unitToString(m_unit); }
    [[nodiscard]] static QString unitToString(MassUnit unit);

    /// {"value": tolerance, "unit": "ppm" | "Dalton"}
    [[nodiscard]] QJsonObject toJson() const;
    /// Lenient: a missing or unknown unit reads as Dalton, a missing value as 0.
    [[nodiscard]] static MassTolerance fromJson(const QJsonObject &json);

    [[nodiscard]] bool withinTolerance(double value, double reference) const;

    /// The closed window of values that match `mass`. In ppm the window is asymmetric:
    /// [mass·(1−f), mass/(1−f)] with f = tolerance·1e-6, so that the upper bound shrunk by f
    /// comes back to `mass`. The lower bound is never negative. Fails with kBadParameterError
    /// at one million ppm, where the upper bound is undefined, and for a unit other than ppm and Dalton.
    [[nodiscard]] Result<Interval<double>> getBounds(double mass) const;

    friend bool operator==(const MassTolerance &, const MassTolerance &) = default;

private:
    MassUnit m_unit = Dalton;
    double m_tolerance = 10.0;
};

} // namespace zeq
