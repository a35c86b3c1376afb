#include "db/RowNodeAggregator.h"

#include "ZeqLogging.h"
#include "db/SimpleVariantHash.h"
#include "zeq_common_core_mini/NumberKind.h"

#include <cmath>
#include <limits>

namespace zeq
{

namespace
{

// A NaN cell marks a missing value: it is skipped like a cell that holds no number, so one NaN
// cannot poison a mean or make a minimum depend on the order of the rows.
bool readNumber(const RowNode *row, const QString &column, double &x)
{
    if (!row) {
        return false;
    }
    bool ok = false;
    x = row->getDataAt(column, nullptr, false).toDouble(&ok);
    return ok && !std::isnan(x);
}

} // namespace

QString AggregatorSettings::makeColumnName(Type type, const QString &name)
{
    switch (type) {
    case Min:
        return QStringLiteral("Min") + name;
    case Max:
        return QStringLiteral("Max") + name;
    case Avg:
        return QStringLiteral("Avg") + name;
    case StdDev:
        return QStringLiteral("StdDev") + name;
    case Sem:
        return QStringLiteral("Sem") + name;
    case None:
        break;
    }
    return QString();
}

AbstractAggregator::~AbstractAggregator() = default;

void ExtremesAggregator::push(const RowNode *row, const QString &column)
{
    double x = 0.0;
    if (!readNumber(row, column, x)) {
        return;
    }
    const double e = m_extreme.isNull() ? x : m_extreme.toDouble();
    switch (m_mode) {
    case Minimum:
        m_extreme = x > e ? e : x;
        break;
    case Maximum:
        m_extreme = e > x ? e : x;
        break;
    }
}

void RunningStatAggregator::push(const RowNode *row, const QString &column)
{
    double x = 0.0;
    if (!readNumber(row, column, x)) {
        return;
    }
    if (std::isinf(x)) {
        // Kept out of Welford's sums, where inf − inf would turn every later update into NaN.
        ++m_infiniteCount;
        m_infiniteSum += x;
        return;
    }
    ++m_count;
    if (m_count == 1) {
        m_mean = x;
        return;
    }
    const double d = x - m_mean;
    m_mean += d / m_count;
    m_m2 += (x - m_mean) * d;
}

qint32 RunningStatAggregator::count() const
{
    return m_count + m_infiniteCount;
}

double RunningStatAggregator::mean() const
{
    if (m_infiniteCount > 0) {
        return m_infiniteSum; // ±inf, or NaN once both signs arrived
    }
    return m_count < 1 ? 0.0 : m_mean;
}

double RunningStatAggregator::variance() const
{
    if (count() < 2) {
        return 0.0;
    }
    if (m_infiniteCount > 0) {
        return std::numeric_limits<double>::infinity();
    }
    return m_m2 / (m_count - 1);
}

double RunningStatAggregator::stdDev() const
{
    return count() < 2 ? 0.0 : std::sqrt(variance());
}

double RunningStatAggregator::stdErrorOfMean() const
{
    return count() < 2 ? 0.0 : stdDev() / std::sqrt(double(count()));
}

QVariant RunningStatAggregator::value() const
{
    switch (m_mode) {
    case Mean:
        return mean();
    case StandardDeviation:
        return stdDev();
    case StandardErrorOfMean:
        return stdErrorOfMean();
    }
    qCWarning(lcCore) << "Undefined type" << qint32(m_mode);
    return QVariant();
}

void UniquesAggregator::push(const RowNode *row, const QString &column)
{
    if (row) {
        m_values.insert({ row->getDataAt(column, nullptr, false) });
    }
}

QList<QVariant> UniquesAggregator::value() const
{
    QList<QVariant> values;
    values.reserve(m_values.size());
    for (const TypedCell &value : m_values) {
        values.append(value.cell);
    }
    return values;
}

namespace
{

// The cell hash widens every integer type (bool and QChar too) to 64 bits, so equal values of these
// types always share a hash and are one key; other types stay apart even when QVariant calls them
// equal, as their hashes would only meet by chance.
int hashFamily(const QVariant &cell)
{
    const int type = cell.typeId();
    return rn::isInteger(type) || type == QMetaType::Bool || type == QMetaType::QChar ? int(QMetaType::LongLong) : type;
}

bool isNaN(const QVariant &cell)
{
    return rn::numberKind(cell.typeId()) == rn::NumberKind::Real && std::isnan(cell.toDouble());
}

} // namespace

bool operator==(const UniquesAggregator::TypedCell &a, const UniquesAggregator::TypedCell &b) noexcept
{
    if (hashFamily(a.cell) != hashFamily(b.cell)) {
        return false;
    }
    if (isNaN(a.cell)) {
        return isNaN(b.cell);
    }
    return a.cell == b.cell;
}

size_t qHash(const UniquesAggregator::TypedCell &value, size_t seed) noexcept
{
    // Every NaN must land in one bucket; empty cells are common and need no fallback warning.
    if (!value.cell.isValid() || isNaN(value.cell)) {
        return seed;
    }
    return ::qHash(value.cell, seed);
}

AbstractAggregator *AggregatorFactory::makeAggregator(AggregatorSettings::Type type)
{
    switch (type) {
    case AggregatorSettings::Min:
        return new ExtremesAggregator(ExtremesAggregator::Minimum);
    case AggregatorSettings::Max:
        return new ExtremesAggregator(ExtremesAggregator::Maximum);
    case AggregatorSettings::Avg:
        return new RunningStatAggregator(RunningStatAggregator::Mean);
    case AggregatorSettings::StdDev:
        return new RunningStatAggregator(RunningStatAggregator::StandardDeviation);
    case AggregatorSettings::Sem:
        return new RunningStatAggregator(RunningStatAggregator::StandardErrorOfMean);
    case AggregatorSettings::None:
        break;
    }
    qCWarning(lcCore) << "Invalid aggregator requested!";
    return nullptr;
}

} // namespace zeq
