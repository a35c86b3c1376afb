#include "db/RowNodePivotTable.h"

#include "ZeqLogging.h"
#include "db/CellText_p.h"
#include "db/RowNodeGrouper.h"
#include "zeq_common_core_mini/ColumnFriendlyName.h"

#include <QSet>

#include <algorithm>
#include <cmath>
#include <memory>

namespace zeq
{

namespace
{

using SortMode = RowNodePivotTableOptions::SortMode;

// Position of each label; the first of two equal labels wins.
QHash<QString, int> positions(const QList<QString> &labels)
{
    QHash<QString, int> result;
    result.reserve(labels.size());
    for (qsizetype i = labels.size() - 1; i >= 0; --i) {
        result.insert(labels.at(i), int(i));
    }
    return result;
}

void markFirstEmpty(QList<QString> &labels)
{
    const qsizetype empty = labels.indexOf(QString());
    if (empty >= 0) {
        labels[empty] = RowNodePivotTable::EMPTY_LABEL;
    }
}

} // namespace

const QString RowNodePivotTable::EMPTY_LABEL = QStringLiteral("(empty)");
const QString RowNodePivotTable::HIDDEN_ROW_LABEL = QStringLiteral("__zeq::hiddenDataRow");
const QString RowNodePivotTable::HIDDEN_COLUMN_LABEL = QStringLiteral("__zeq::hiddenDataColumn");

Comparator::~Comparator() = default;

bool Comparator::lessThan(const QString &a, const QString &b) const
{
    return a < b;
}

bool CompareStringToInt::lessThan(const QString &a, const QString &b) const
{
    return a.toInt(nullptr, 10) < b.toInt(nullptr, 10);
}

bool CompareStringToDouble::lessThan(const QString &a, const QString &b) const
{
    const double x = a.toDouble();
    const double y = b.toDouble();
    // NaN first, as the row comparators put it; under a plain < it would tie with every label.
    if (std::isnan(x) || std::isnan(y)) {
        return std::isnan(x) && !std::isnan(y);
    }
    return x < y;
}

Comparator *fromSortMode(const SortMode &mode)
{
    switch (mode) {
    case RowNodePivotTableOptions::Text:
        return new Comparator();
    case RowNodePivotTableOptions::Integer:
        return new CompareStringToInt();
    case RowNodePivotTableOptions::Double:
        return new CompareStringToDouble();
    }
    qCWarning(lcCore) << "unhandled sort mode" << qint32(mode);
    return nullptr;
}

RowNodePivotTable::RowNodePivotTable(const RowNode &source)
    : m_source(source)
{
}

RowNodePivotTable::RowNodePivotTable(const RowNodePivotTable &other)
    : m_source(other.m_source)
    , m_pivot(other.m_pivot)
    , m_options(other.m_options)
    , m_columnLabels(other.m_columnLabels)
    , m_rowLabels(other.m_rowLabels)
    , m_cells(other.m_cells)
    , m_sortingStrategy(other.m_sortingStrategy)
{
    repointCells(other.m_pivot);
}

RowNodePivotTable::RowNodePivotTable(RowNodePivotTable &&other) noexcept = default;

RowNodePivotTable &RowNodePivotTable::operator=(const RowNodePivotTable &other)
{
    if (this != &other) {
        RowNodePivotTable copy(other);
        *this = std::move(copy);
    }
    return *this;
}

// Moving keeps every node where it is, so the cell pointers stay right.
RowNodePivotTable &RowNodePivotTable::operator=(RowNodePivotTable &&other) noexcept = default;

RowNodePivotTable::~RowNodePivotTable() = default;

void RowNodePivotTable::repointCells(const RowNode &from)
{
    if (m_cells.isEmpty()) {
        return;
    }
    QList<RowNode *> oldNodes;
    QList<RowNode *> newNodes;
    RowNode::getAllRowNodeList(&from, oldNodes);
    RowNode::getAllRowNodeList(&m_pivot, newNodes);
    QHash<const RowNode *, RowNode *> copyOf;
    copyOf.reserve(oldNodes.size());
    for (qsizetype i = 0; i < oldNodes.size(); ++i) {
        copyOf.insert(oldNodes.at(i), newNodes.at(i));
    }
    for (QList<RowNode *> &cell : m_cells) {
        for (RowNode *&row : cell) {
            row = copyOf.value(row);
        }
    }
}

Error RowNodePivotTable::makePivotTable(const RowNodePivotTableOptions &options)
{
    m_options = options;
    qCDebug(lcCore) << "Pivoting options:"
                    << "rows" << options.rows << "cols" << options.cols << "groupBy" << options.groupBy;
    if (options.rows.size() > 1) {
        qCWarning(lcCore) << "More then one row fields provided, support not implemented yet!";
    }
    if (options.cols.size() > 1) {
        qCWarning(lcCore) << "More then one column fields provided, support not implemented yet!";
    }
    const QList<QString> rowLevel = options.rows.mid(0, 1);
    const QList<QString> columnLevel = options.cols.mid(0, 1);
    const QString rowField = rowLevel.value(0);
    const QString columnField = columnLevel.value(0);

    m_cells.clear();
    m_rowLabels.clear();
    m_columnLabels.clear();
    m_pivot = m_source;
    Error err =
        regroupRowNodesRecursive({ rowLevel, columnLevel, options.groupBy }, { {}, {}, options.sortBy }, &m_pivot);
    if (err.hasError()) {
        m_pivot = RowNode();
        return ZEQ_ECATCH(err);
    }

    if (rowLevel.isEmpty()) {
        m_rowLabels.append(HIDDEN_ROW_LABEL);
    } else {
        for (const RowNode *child : m_pivot.children()) {
            m_rowLabels.append(detail::cellText(child->getDataAt(rowField)));
        }
        sortLabels(m_rowLabels, options.rowSortMode, rowField);
        markFirstEmpty(m_rowLabels);
    }
    if (columnLevel.isEmpty()) {
        m_columnLabels.append(HIDDEN_COLUMN_LABEL);
    } else {
        QSet<QString> seen;
        auto collect = [&](const RowNode *row) {
            const QString label = detail::cellText(row->getDataAt(columnField));
            if (!seen.contains(label)) {
                seen.insert(label);
                m_columnLabels.append(label);
            }
        };
        for (const RowNode *child : m_pivot.children()) {
            if (child->getChildListSize() == 0) {
                collect(child);
            }
            for (const RowNode *grandChild : child->children()) {
                collect(grandChild);
            }
        }
        sortLabels(m_columnLabels, options.colSortMode, columnField);
        markFirstEmpty(m_columnLabels);
    }

    initPivotTable();
    const QHash<QString, int> rowPositions = positions(m_rowLabels);
    const QHash<QString, int> columnPositions = positions(m_columnLabels);
    const int rowColumn = m_pivot.getColumnIndexFromName(rowField);
    const int columnColumn = m_pivot.getColumnIndexFromName(columnField);
    QList<RowNode *> leaves;
    RowNode::getLeafRowNodeList(&m_pivot, leaves, RowNode::LeafNodes);
    for (RowNode *leaf : std::as_const(leaves)) {
        const int row = rowLevel.isEmpty() ? 0 : mapValueToFieldPos(leaf, rowColumn, rowPositions);
        const int column = columnLevel.isEmpty() ? 0 : mapValueToFieldPos(leaf, columnColumn, columnPositions);
        addPivotItem(row, column, leaf);
    }
    return err;
}

void RowNodePivotTable::sortLabels(QList<QString> &labels, SortMode optionMode, const QString &field) const
{
    std::unique_ptr<Comparator> comparator;
    switch (m_sortingStrategy) {
    case UseOptions:
        comparator.reset(fromSortMode(optionMode));
        break;
    case UseColumnType:
        comparator.reset(fromSortMode(fromFieldName(field)));
        break;
    }
    // Without a comparator (an unknown strategy or mode) the labels keep their collected order.
    if (comparator) {
        std::stable_sort(labels.begin(), labels.end(), [&comparator](const QString &a, const QString &b) {
            return comparator->lessThan(a, b);
        });
    }
}

SortMode RowNodePivotTable::fromFieldName(const QString &name)
{
    const FriendlyNameStruct field = ColumnFriendlyName::field(name);
    switch (field.dataType) {
    case FriendlyNameStruct::String:
    case FriendlyNameStruct::RichText:
        return RowNodePivotTableOptions::Text;
    case FriendlyNameStruct::Double:
    case FriendlyNameStruct::Mass:
    case FriendlyNameStruct::Percent:
        return RowNodePivotTableOptions::Double;
    case FriendlyNameStruct::Integer:
        return RowNodePivotTableOptions::Integer;
    default:
        break;
    }
    qCWarning(lcCore) << "Unhandled type:" << FriendlyNameStruct::typeToString(field.dataType);
    qCWarning(lcCore) << "Using sort rule" << 0;
    return RowNodePivotTableOptions::Text;
}

void RowNodePivotTable::initPivotTable()
{
    m_cells = QList<QList<RowNode *>>(qsizetype(rowCount()) * columnCount());
}

void RowNodePivotTable::addPivotItem(int row, int column, RowNode *item)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) {
        return;
    }
    m_cells[column + qsizetype(row) * columnCount()].append(item);
}

int RowNodePivotTable::mapValueToFieldPos(const RowNode *row, int column, const QHash<QString, int> &labels)
{
    const QString text = detail::cellText(row->getDataAt(column));
    return labels.value(text.isEmpty() ? EMPTY_LABEL : text, -1);
}

QList<RowNode *> RowNodePivotTable::pivotItemAt(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) {
        return {};
    }
    return m_cells.at(column + qsizetype(row) * columnCount());
}

bool RowNodePivotTable::isPivotRowNamesHidden() const
{
    return m_rowLabels.size() == 1 && m_rowLabels.first() == HIDDEN_ROW_LABEL;
}

bool RowNodePivotTable::isPivotColumnNamesHidden() const
{
    return m_columnLabels.size() == 1 && m_columnLabels.first() == HIDDEN_COLUMN_LABEL;
}

} // namespace zeq
