#include "zeq_common_core_mini/GroupSummary.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace rn
{

namespace
{

QVariant foldNumbers(const VariantItems &values, ColumnFriendlyName::GroupingMethod method)
{
    int count = 0;
    double sum = 0.0;
    double low = 0.0;
    double high = 0.0;
    for (const QVariant &cell : values) {
        bool ok = false;
        const double x = cell.toDouble(&ok);
        // A NaN is a missing value: kept in, it would win or lose min/max by its place in the list.
        if (!ok || std::isnan(x)) {
            continue;
        }
        low = count == 0 ? x : std::min(low, x);
        high = count == 0 ? x : std::max(high, x);
        sum += x;
        ++count;
    }
    if (count == 0) {
        return {};
    }
    switch (method) {
    case ColumnFriendlyName::Sum:
        return sum;
    case ColumnFriendlyName::Mean:
        return sum / count;
    case ColumnFriendlyName::Min:
        return low;
    default:
        return high;
    }
}

} // namespace

QVariant
GroupSummary::makeValue(const VariantItems &values, const QVariant &first, const FriendlyNameStruct &field) const
{
    switch (field.groupingMethod) {
    case ColumnFriendlyName::Sum:
    case ColumnFriendlyName::Mean:
    case ColumnFriendlyName::Min:
    case ColumnFriendlyName::Max:
        return foldNumbers(values, field.groupingMethod);
    case ColumnFriendlyName::Count:
        return int(std::count_if(
            values.cbegin(), values.cend(), [](const QVariant &cell) { return !cell.toString().isEmpty(); }));
    case ColumnFriendlyName::JoinUnique: {
        QSet<QString> seen;
        QList<QString> texts;
        for (const QVariant &cell : values) {
            const QString text = cell.toString();
            if (!text.isEmpty() && !seen.contains(text)) {
                seen.insert(text);
                texts.append(text);
            }
        }
        return texts.join(m_separator);
    }
    case ColumnFriendlyName::First:
        break;
    }
    return first;
}

} // namespace rn
