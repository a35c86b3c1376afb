#pragma once

// Numbers, ranges and tolerances as text: read from what a user types, checked, and written as the
// program prints them.

#include "math/MassTolerance.h"
#include "utils/Result.h"

#include <QList>
#include <QString>

#include <limits>

namespace zeq::cli
{

/// A number as the program writes it: the shortest text that reads back as the same double, plain
/// from 1e-5 to below 1e15 ("1000000", "0.00001") and with an exponent outside ("1e+300"); "nan",
/// "inf" and "-inf" as they are.
QString formatNumber(double value);
/// `value` with exactly `decimals` digits after the point, for columns whose digits line up.
QString formatFixed(double value, int decimals);
/// `value` to `digits` significant digits, for scores whose size varies over many decades.
QString formatSignificant(double value, int digits);

/// `text` with its control characters shown as '?': binary junk or an escape sequence from a file
/// must not move a terminal's cursor or change its colours. One character for one.
QString visibleText(QString text);
/// `text` fit for a one-line message: visible, and cut after `width` characters with an ellipsis
/// when longer.
QString elide(const QString &text, qsizetype width = 80);

/// Bounds of a number typed by a person; an open bound excludes its own value.
struct NumberRange {
    double lowest = -std::numeric_limits<double>::infinity();
    double highest = std::numeric_limits<double>::infinity();
    bool lowestOpen = false;
    bool highestOpen = false;
};

/// The bounds as --help and messages state them: "from 0 to 100", "above 0", "at least 1"; empty
/// when there are none.
QString describeRange(const NumberRange &range);
/// A tolerance as a user types it: "10ppm", "0.01Da".
QString toleranceText(const MassTolerance &tolerance);

/// `text` as a finite number within `range`. The error names `what` and quotes the text.
Result<double> parseNumber(const QString &what, const QString &text, const NumberRange &range = {});
/// `text` as a whole number from `lowest` to `highest`; "1e2" and "3.0" are whole, "2.7" is not.
Result<int> parseInteger(const QString &what, const QString &text, int lowest, int highest);
/// A tolerance with its unit, any case: "10ppm", "0.5Da", "0.02 Dalton". Above 0 and below one
/// million in either unit: at 1e6 ppm a window has no upper bound, and 1e6 Da exceeds any molecule
/// the isotope model knows.
Result<MassTolerance> parseTolerance(const QString &text);

/// An interval of a number typed as "START:END"; either side may be left empty for an open bound.
struct Range {
    double start = -std::numeric_limits<double>::infinity();
    double end = std::numeric_limits<double>::infinity();
};

/// `text` as START:END with START not above END. The error names `what` and quotes the text.
Result<Range> parseRange(const QString &what, const QString &text);
/// A time range START:END in minutes; each side a number of minutes, or a number with its unit:
/// "10m:12m", "600s:720s", "600s:12".
Result<Range> parseTimeRange(const QString &what, const QString &text);
/// `text` as a comma-separated list of scan numbers, each at least 1.
Result<QList<qint64>> parseScanList(const QString &what, const QString &text);

} // namespace zeq::cli
