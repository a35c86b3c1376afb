#include "math/MassTolerance.h"

#include <QJsonValue>

#include <cmath>

namespace zeq
{

namespace
{

// The text of the exported constant kppm, which the tests hold equal; the vocabulary header is
// too large to pull in for one word.
const QString kPpmText = QStringLiteral("ppm");

} // namespace

double MassTolerance::s_mod_compare_tolerance = 0.0001;

void MassTolerance::setUnit(const QString &text)
{
    m_unit = text.trimmed().toLower() == kPpmText ? ppm : Dalton;
}

QString MassTolerance::unitToString(MassUnit unit)
{
    return unit == ppm ? kPpmText : QStringLiteral("Dalton");
}

QJsonObject MassTolerance::toJson() const
{
    return QJsonObject{ { QStringLiteral("value"), m_tolerance }, { QStringLiteral("unit"), unitToString() } };
}

MassTolerance MassTolerance::fromJson(const QJsonObject &json)
{
    // Unlike setUnit(QString), the stored text is not trimmed: " ppm" in a file reads as Dalton.
    const bool isPpm = json.value(QStringLiteral("unit")).toString().toLower() == kPpmText;
    return MassTolerance(isPpm ? ppm : Dalton, json.value(QStringLiteral("value")).toDouble(0.0));
}

bool MassTolerance::withinTolerance(double value, double reference) const
{
    switch (m_unit) {
    case Dalton:
        return std::abs(value - reference) <= m_tolerance;
    case ppm:
        if (reference == 0.0) {
            return m_tolerance >= 1e10;
        }
        return std::abs((value - reference) / reference * 1e6) <= m_tolerance;
    }
    return false;
}

Result<Interval<double>> MassTolerance::getBounds(double mass) const
{
    switch (m_unit) {
    case Dalton: {
        const double lower = mass - m_tolerance;
        return Interval<double>{ lower > 0.0 ? lower : 0.0, mass + m_tolerance };
    }
    case ppm: {
        const double f = m_tolerance * 1e-6;
        if (std::abs(1.0 - f) <= 1e-12) {
            Error err(kBadParameterError,
                      QStringLiteral("A mass tolerance of %1 ppm has no upper bound").arg(m_tolerance));
            return ZEQ_ECATCH(err);
        }
        const double lower = mass - f * mass;
        return Interval<double>{ lower > 0.0 ? lower : 0.0, mass + f * mass / (1.0 - f) };
    }
    }
    // A unit read from an int or a database that is neither ppm nor Dalton: name it, or the
    // failure would say nothing about its cause.
    Error err(kBadParameterError, QStringLiteral("Unknown mass tolerance unit %1").arg(static_cast<qint32>(m_unit)));
    return ZEQ_ECATCH(err);
}

} // namespace zeq
