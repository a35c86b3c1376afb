#include "ValueText.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace zeq::cli
{

namespace
{

bool contains(const NumberRange &range, double value)
{
    const bool aboveLowest = range.lowestOpen ? value > range.lowest : value >= range.lowest;
    const bool belowHighest = range.highestOpen ? value < range.highest : value <= range.highest;
    return aboveLowest && belowHighest;
}

Error usage(const QString &message)
{
    return Error(kBadParameterError, message);
}

/// A number of minutes, or of seconds or minutes with a unit: "10", "10m", "10 min", "600s".
Result<double> parseMinutes(const QString &what, const QString &text)
{
    // The unit follows a digit, so that "1e2" stays a number and "inf" is refused as one.
    static const QRegularExpression withUnit(QStringLiteral(R"(^(.*[0-9.])\s*([a-z]+)$)"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = withUnit.match(text);
    if (!match.hasMatch()) {
        return parseNumber(what, text);
    }
    const QString unit = match.captured(2).toLower();
    const bool seconds = unit == u"s" || unit == u"sec";
    if (!seconds && unit != u"m" && unit != u"min") {
        Error err = usage(QStringLiteral("%1: unknown time unit \"%2\" in \"%3\"; use s or m (minutes)")
                              .arg(what, elide(match.captured(2)), elide(text)));
        return ZEQ_ECATCH(err);
    }
    const Result<double> value = parseNumber(what, match.captured(1));
    if (value.hasError()) {
        Error err = value.error();
        return ZEQ_ECATCH(err);
    }
    return seconds ? value.value() / 60.0 : value.value();
}

/// START:END with each side read by `parseBound(what, side)`; an empty side is open.
Result<Range>
parseBounds(const QString &what, const QString &text, Result<double> (*parseBound)(const QString &, const QString &))
{
    const QStringList parts = text.split(u':');
    if (parts.size() != 2) {
        Error err = usage(QStringLiteral("%1 needs START:END, got \"%2\"").arg(what, elide(text)));
        return ZEQ_ECATCH(err);
    }
    Range range;
    for (int i = 0; i < 2; ++i) {
        if (parts.at(i).trimmed().isEmpty()) {
            continue;
        }
        const Result<double> bound = parseBound(what, parts.at(i).trimmed());
        if (bound.hasError()) {
            Error err = bound.error();
            return ZEQ_ECATCH(err);
        }
        (i == 0 ? range.start : range.end) = bound.value();
    }
    if (range.start > range.end) {
        Error err = usage(QStringLiteral("%1 starts at %2, after its end %3")
                              .arg(what, formatNumber(range.start), formatNumber(range.end)));
        return ZEQ_ECATCH(err);
    }
    return range;
}

} // namespace

QString describeRange(const NumberRange &range)
{
    const bool hasLowest = std::isfinite(range.lowest);
    const bool hasHighest = std::isfinite(range.highest);
    if (hasLowest && hasHighest && !range.lowestOpen && !range.highestOpen) {
        return QStringLiteral("from %1 to %2").arg(formatNumber(range.lowest), formatNumber(range.highest));
    }
    QStringList parts;
    if (hasLowest) {
        parts.append((range.lowestOpen ? QStringLiteral("above %1") : QStringLiteral("at least %1"))
                         .arg(formatNumber(range.lowest)));
    }
    if (hasHighest) {
        parts.append((range.highestOpen ? QStringLiteral("below %1") : QStringLiteral("at most %1"))
                         .arg(formatNumber(range.highest)));
    }
    return parts.join(QStringLiteral(" and "));
}

QString toleranceText(const MassTolerance &tolerance)
{
    return formatNumber(tolerance.tolerance())
        + (tolerance.unit() == MassTolerance::ppm ? QStringLiteral("ppm") : QStringLiteral("Da"));
}

QString formatNumber(double value)
{
    // Plain notation where a person reads it at a glance, an exponent where the zeros would not be.
    const double magnitude = std::fabs(value);
    const bool plain = magnitude == 0.0 || (magnitude >= 1e-5 && magnitude < 1e15) || !std::isfinite(value);
    return QString::number(value, plain ? 'f' : 'g', QLocale::FloatingPointShortest);
}

QString visibleText(QString text)
{
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control) {
            c = u'?';
        }
    }
    return text;
}

QString elide(const QString &text, qsizetype width)
{
    return text.size() > width ? visibleText(text.first(width)) + QStringLiteral("…") : visibleText(text);
}

QString formatFixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString formatSignificant(double value, int digits)
{
    return QString::number(value, 'g', digits);
}

Result<double> parseNumber(const QString &what, const QString &text, const NumberRange &range)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    const QString shown = elide(text.trimmed());
    Error err;
    if (!ok && !std::isinf(value)) {
        err = usage(QStringLiteral("%1 needs a number, got \"%2\"").arg(what, shown));
    } else if (!ok || !std::isfinite(value)) {
        err = usage(QStringLiteral("%1 must be a finite number, got \"%2\"").arg(what, shown));
    } else if (!contains(range, value)) {
        err = usage(QStringLiteral("%1 must be %2, got \"%3\"").arg(what, describeRange(range), shown));
    } else {
        return value;
    }
    return ZEQ_ECATCH(err);
}

Result<int> parseInteger(const QString &what, const QString &text, int lowest, int highest)
{
    const Result<double> number = parseNumber(what, text, { double(lowest), double(highest) });
    if (number.hasError()) {
        Error err = number.error();
        return ZEQ_ECATCH(err);
    }
    // The range check came first, so the conversion below cannot overflow.
    if (std::floor(number.value()) != number.value()) {
        Error err = usage(QStringLiteral("%1 needs a whole number, got \"%2\"").arg(what, elide(text.trimmed())));
        return ZEQ_ECATCH(err);
    }
    return static_cast<int>(number.value());
}

Result<MassTolerance> parseTolerance(const QString &text)
{
    static const QRegularExpression withUnit(QStringLiteral(R"(^\s*(.*?)\s*(ppm|dalton|da)\s*$)"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = withUnit.match(text);
    if (!match.hasMatch()) {
        bool isNumber = false;
        (void)text.toDouble(&isNumber);
        Error err = usage(
            isNumber
                ? QStringLiteral("tolerance \"%1\" has no unit: write %1ppm or %1Da").arg(elide(text.trimmed()))
                : QStringLiteral("not a tolerance: \"%1\" (expected e.g. 10ppm or 0.5Da)").arg(elide(text.trimmed())));
        return ZEQ_ECATCH(err);
    }
    const Result<double> value = parseNumber(
        QStringLiteral("tolerance"), match.captured(1), { 0.0, 1e6, /*lowestOpen*/ true, /*highestOpen*/ true });
    if (value.hasError()) {
        Error err = value.error();
        return ZEQ_ECATCH(err);
    }
    const bool isPpm = match.captured(2).compare(u"ppm", Qt::CaseInsensitive) == 0;
    return MassTolerance(isPpm ? MassTolerance::ppm : MassTolerance::Dalton, value.value());
}

Result<Range> parseRange(const QString &what, const QString &text)
{
    return parseBounds(what, text, [](const QString &what, const QString &text) { return parseNumber(what, text); });
}

Result<Range> parseTimeRange(const QString &what, const QString &text)
{
    return parseBounds(what, text, parseMinutes);
}

Result<QList<qint64>> parseScanList(const QString &what, const QString &text)
{
    QList<qint64> scans;
    for (const QString &part : text.split(u',')) {
        // Scan numbers of long runs pass 2^31: whole 64-bit numbers, written as digits.
        bool ok = false;
        const qint64 number = part.trimmed().toLongLong(&ok);
        if (!ok || number < 1) {
            Error err = usage(QStringLiteral("%1 needs scan numbers from 1 to %2, got \"%3\"")
                                  .arg(what)
                                  .arg(std::numeric_limits<qint64>::max())
                                  .arg(elide(part.trimmed())));
            return ZEQ_ECATCH(err);
        }
        scans.append(number);
    }
    return scans;
}

} // namespace zeq::cli
