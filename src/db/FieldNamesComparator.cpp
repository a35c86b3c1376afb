#include "db/FieldNamesComparator.h"

#include "ZeqLogging.h"
#include "db/CellText_p.h"
#include "db/FieldNamesComparator_p.h"
#include "math/ApproxEqual.h"
#include "zeq_common_core_mini/ColumnFriendlyName.h"
#include "zeq_common_core_mini/NumberKind.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace zeq
{

namespace
{

using ColumnAndType = FieldNamesComparator::ColumnAndType;
using detail::cellOf;

FieldNamesComparator::ColumnValueType typeFromRegistry(const QString &specification,
                                                       FieldNamesComparator::ColumnValueType fallback)
{
    const FriendlyNameStruct field = ColumnFriendlyName::field(specification);
    if (field.displayName.isEmpty() || field.dataType == FriendlyNameStruct::String) {
        return FieldNamesComparator::String;
    }
    switch (field.dataType) {
    case FriendlyNameStruct::Boolean:
    case FriendlyNameStruct::List:
    case FriendlyNameStruct::RichText:
        return fallback;
    default:
        return FieldNamesComparator::Real;
    }
}

// -1: a first, 1: b first, 0: equal in this column.
int compareTexts(const QString &a, const QString &b, bool descending)
{
    if (a == b) {
        return 0;
    }
    return (descending ? b < a : a < b) ? -1 : 1;
}

// NaN sorts before every number, as in VariantComparator, and all NaN are one value: otherwise a
// NaN would be "equal" to everything and no sort or grouping over it would be well defined.
int compareNumbers(double a, double b, bool descending)
{
    const bool nanA = std::isnan(a);
    const bool nanB = std::isnan(b);
    if (nanA || nanB) {
        if (nanA == nanB) {
            return 0;
        }
        return nanA != descending ? -1 : 1;
    }
    if (approxEqual(a, b)) {
        return 0;
    }
    return (descending ? a > b : a < b) ? -1 : 1;
}

} // namespace

FieldNamesComparator::FieldNamesComparator(const QList<QString> &grouping, const QList<QString> &sorting, RowNode *node)
    : m_groupingNames(grouping)
    , m_sortingNames(sorting)
    , m_root(node ? node->root() : nullptr)
{
    for (const QString &specification : grouping) {
        resolve(specification, true);
    }
    for (const QString &specification : sorting) {
        resolve(specification, false);
    }
}

void FieldNamesComparator::resolve(const QString &specification, bool grouping)
{
    const QList<QString> pieces = specification.split(u':', Qt::SkipEmptyParts);
    QString name = specification;
    bool descending = false;
    ColumnValueType type = grouping ? String : Real;
    if (pieces.size() >= 2) {
        name = pieces.at(0);
        descending = pieces.at(1) == u"-";
    }
    if (pieces.size() >= 3) {
        if (pieces.at(2) == u"s") {
            type = String;
        } else if (pieces.at(2) == u"r") {
            type = Real;
        }
    } else {
        type = typeFromRegistry(specification, type);
    }
    if (!m_root || !m_root->rootHasData(name)) {
        return;
    }
    const int index = m_root->getDataIndexOf(name, true);
    if (index < 0) {
        std::fprintf(stderr, "fieldNamesComparator: %s does not exist.\n", qUtf8Printable(specification));
        return;
    }
    (grouping ? m_grouping : m_sorting).append({ index, type, descending });
}

double FieldNamesComparator::cellNumber(const QVariant &cell, int column) const
{
    if (cell.typeId() == QMetaType::QString) {
        if (detail::cellText(cell).isEmpty()) {
            return 0.0;
        }
        qCWarning(lcCoreDev).noquote() << QStringLiteral("Storing a double value as a string in column %1:")
                                              .arg(m_root ? m_root->getNameFromColumnIndex(column) : QString())
                                       << cell.toString();
    }
    bool ok = false;
    const double x = cell.toDouble(&ok);
    return ok ? x : 0.0;
}

bool FieldNamesComparator::operator()(const RowNode *a, const RowNode *b) const
{
    for (const QList<ColumnAndType> *columns : { &m_grouping, &m_sorting }) {
        for (const ColumnAndType &c : *columns) {
            const QVariant &ca = cellOf(a, c.column);
            const QVariant &cb = cellOf(b, c.column);
            const int order = c.type == String
                ? compareTexts(detail::cellText(ca), detail::cellText(cb), c.descending)
                : compareNumbers(cellNumber(ca, c.column), cellNumber(cb, c.column), c.descending);
            if (order != 0) {
                return order < 0;
            }
        }
    }
    return false;
}

bool FieldNamesComparator::isSameGoup(const RowNode *a, const RowNode *b) const
{
    for (const ColumnAndType &c : m_grouping) {
        const QVariant &ca = cellOf(a, c.column);
        const QVariant &cb = cellOf(b, c.column);
        const bool same = c.type == String
            ? detail::cellText(ca) == detail::cellText(cb)
            : compareNumbers(cellNumber(ca, c.column), cellNumber(cb, c.column), false) == 0;
        if (!same) {
            return false;
        }
    }
    return true;
}

QList<int> FieldNamesComparator::getIndicies() const
{
    QList<int> indices;
    indices.reserve(m_grouping.size());
    for (const ColumnAndType &c : m_grouping) {
        indices.append(c.column);
    }
    return indices;
}

QList<int> FieldNamesComparator::allColumnIndicies() const
{
    if (!m_allColumns) {
        m_allColumns =
            m_root ? FieldNamesComparator(m_root->getRootDataAsStringList(), {}, m_root).getIndicies() : QList<int>();
    }
    return *m_allColumns;
}

void FieldNamesComparator::flipAscendingDesceningOrder()
{
    for (QList<ColumnAndType> *columns : { &m_grouping, &m_sorting }) {
        for (ColumnAndType &c : *columns) {
            c.descending = !c.descending;
        }
    }
}

void ColumnIndexRecord::update(const QSqlRecord &record)
{
    m_positions.clear();
    for (int i = 0; i < record.count(); ++i) {
        m_positions.insert(record.fieldName(i), i);
    }
}

namespace detail
{

namespace
{

std::vector<quint32> rankTexts(const std::vector<RowNode *> &rows, int column)
{
    QHash<QString, quint32> ids;
    // Integer cells are common in text columns; their text is made once per distinct value of a
    // type (a char's text is its character, an int's its digits).
    QHash<std::pair<int, quint64>, quint32> integerIds;
    QList<QString> distinct;
    auto idOf = [&](const QString &text) {
        auto id = ids.constFind(text);
        if (id == ids.constEnd()) {
            id = ids.insert(text, quint32(distinct.size()));
            distinct.append(text);
        }
        return id.value();
    };
    std::vector<quint32> ranks(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const QVariant &cell = cellOf(rows[i], column);
        const int type = cell.typeId();
        if (rn::isInteger(type) && !cell.isNull()) {
            const rn::NumberKind kind = rn::numberKind(type);
            const std::pair<int, quint64> key(
                type, kind == rn::NumberKind::Signed ? quint64(cell.toLongLong()) : cell.toULongLong());
            auto id = integerIds.constFind(key);
            if (id == integerIds.constEnd()) {
                id = integerIds.insert(key, idOf(cell.toString()));
            }
            ranks[i] = id.value();
        } else {
            ranks[i] = idOf(cellText(cell));
        }
    }
    std::vector<quint32> byText(size_t(distinct.size()));
    for (size_t i = 0; i < byText.size(); ++i) {
        byText[i] = quint32(i);
    }
    std::sort(byText.begin(), byText.end(), [&distinct](quint32 a, quint32 b) { return distinct[a] < distinct[b]; });
    std::vector<quint32> rankOfId(byText.size());
    for (size_t rank = 0; rank < byText.size(); ++rank) {
        rankOfId[byText[rank]] = quint32(rank);
    }
    for (quint32 &rank : ranks) {
        rank = rankOfId[rank];
    }
    return ranks;
}

int compareRanks(quint32 a, quint32 b, bool descending)
{
    if (a == b) {
        return 0;
    }
    return (descending ? b < a : a < b) ? -1 : 1;
}

} // namespace

RowKeys::RowKeys(const FieldNamesComparator &comparator, const std::vector<RowNode *> &rows)
    : m_groupingCount(size_t(comparator.groupingColumns().size()))
    , m_rowCount(rows.size())
{
    for (const QList<ColumnAndType> *columns : { &comparator.groupingColumns(), &comparator.sortingColumns() }) {
        for (const ColumnAndType &field : *columns) {
            Column column{ field, {}, {} };
            if (field.type == FieldNamesComparator::String) {
                column.ranks = rankTexts(rows, field.column);
            } else {
                column.numbers.reserve(rows.size());
                for (const RowNode *row : rows) {
                    column.numbers.push_back(comparator.cellNumber(cellOf(row, field.column), field.column));
                }
            }
            m_columns.push_back(std::move(column));
        }
    }
}

bool RowKeys::less(size_t a, size_t b) const
{
    for (const Column &c : m_columns) {
        const int order = c.field.type == FieldNamesComparator::String
            ? compareRanks(c.ranks[a], c.ranks[b], c.field.descending)
            : compareNumbers(c.numbers[a], c.numbers[b], c.field.descending);
        if (order != 0) {
            return order < 0;
        }
    }
    return false;
}

bool RowKeys::sameGroup(size_t a, size_t b) const
{
    for (size_t i = 0; i < m_groupingCount; ++i) {
        const Column &c = m_columns[i];
        const bool same = c.field.type == FieldNamesComparator::String
            ? c.ranks[a] == c.ranks[b]
            : compareNumbers(c.numbers[a], c.numbers[b], false) == 0;
        if (!same) {
            return false;
        }
    }
    return true;
}

std::vector<quint32> RowKeys::stableOrder() const
{
    std::vector<quint32> order(m_rowCount);
    for (size_t i = 0; i < m_rowCount; ++i) {
        order[i] = quint32(i);
    }
    if (!m_columns.empty()) {
        std::stable_sort(order.begin(), order.end(), [this](quint32 a, quint32 b) { return less(a, b); });
    }
    return order;
}

} // namespace detail

} // namespace zeq
