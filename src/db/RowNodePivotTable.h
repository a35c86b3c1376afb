#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_core_mini/RowNode.h"
#include "zeq_common_stable/Error.h"

#include <QHash>
#include <QList>
#include <QString>

namespace zeq
{

/// What a pivot table crosses: the column whose values label the rows, the column whose values
/// label the columns (only the first entry of each is used; plain column names) and an optional
/// third level of grouping inside each cell.
struct ZEQ_COMMON_CORE_EXPORT RowNodePivotTableOptions {
    /// How labels are ordered (always ascending): as text, as base-10 integers or as doubles
    /// (labels that do not convert count as 0; "nan" comes first, then "-inf", ..., "inf").
    enum SortMode : qint32 { Text = 0, Integer = 1, Double = 2 };

    QList<QString> rows;
    QList<QString> cols;
    SortMode rowSortMode = Text;
    SortMode colSortMode = Text;
    QList<QString> groupBy;
    QList<QString> sortBy;
};

/// Orders pivot labels as text (UTF-16 code units, case-sensitive).
class ZEQ_COMMON_CORE_EXPORT Comparator
{
public:
    virtual ~Comparator();
    [[nodiscard]] virtual bool lessThan(const QString &a, const QString &b) const;
};

class ZEQ_COMMON_CORE_EXPORT CompareStringToInt : public Comparator
{
public:
    [[nodiscard]] bool lessThan(const QString &a, const QString &b) const override;
};

/// Orders labels by QString::toDouble (0 when it fails); NaN before every number.
class ZEQ_COMMON_CORE_EXPORT CompareStringToDouble : public Comparator
{
public:
    [[nodiscard]] bool lessThan(const QString &a, const QString &b) const override;
};

/// A new comparator for `mode`, owned by the caller; null (with a warning) for an unknown mode.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT Comparator *fromSortMode(const RowNodePivotTableOptions::SortMode &mode);

/// Cross table of a flat row tree: the distinct values of one column label the rows, those of
/// another the columns, and each cell lists the source rows carrying that pair. The cell lists
/// point into the table's own regrouped copy (pivotTable()), valid until the next makePivotTable,
/// assignment or destruction; copies of the table point into their own copy.
class ZEQ_COMMON_CORE_EXPORT RowNodePivotTable
{
public:
    enum SortingStrategy : qint32 { UseOptions = 0, UseColumnType = 1 };

    static const QString EMPTY_LABEL; ///< "(empty)"
    static const QString HIDDEN_ROW_LABEL; ///< "__zeq::hiddenDataRow"
    static const QString HIDDEN_COLUMN_LABEL; ///< "__zeq::hiddenDataColumn"

    explicit RowNodePivotTable(const RowNode &source);
    RowNodePivotTable(const RowNodePivotTable &other);
    RowNodePivotTable(RowNodePivotTable &&other) noexcept;
    RowNodePivotTable &operator=(const RowNodePivotTable &other);
    RowNodePivotTable &operator=(RowNodePivotTable &&other) noexcept;
    ~RowNodePivotTable();

    /// Fails only when the regrouping does, leaving the table empty. Rows whose label text is
    /// missing from the labels (numeric grouping may merge differently written values) land in no
    /// cell. NaN and ±inf cells of a numeric field get their own labels, "nan" first (see
    /// FieldNamesComparator).
    Error makePivotTable(const RowNodePivotTableOptions &options);

    [[nodiscard]] int rowCount() const { return int(m_rowLabels.size()); }
    [[nodiscard]] int columnCount() const { return int(m_columnLabels.size()); }
    [[nodiscard]] QList<QString> pivotRowNames() const { return m_rowLabels; }
    [[nodiscard]] QList<QString> pivotColumnNames() const { return m_columnLabels; }
    /// The leaf rows of one cell in leaf order; empty outside the table.
    [[nodiscard]] QList<RowNode *> pivotItemAt(int row, int column) const;
    [[nodiscard]] RowNode pivotTable() const { return m_pivot; }
    [[nodiscard]] RowNode *source() { return &m_source; }
    [[nodiscard]] const RowNode *source() const { return &m_source; }
    [[nodiscard]] RowNodePivotTableOptions options() const { return m_options; }
    [[nodiscard]] bool isPivotRowNamesHidden() const;
    [[nodiscard]] bool isPivotColumnNamesHidden() const;
    void setSortingStrategy(SortingStrategy strategy) { m_sortingStrategy = strategy; }
    [[nodiscard]] SortingStrategy sortingStrategy() const { return m_sortingStrategy; }

private:
    void initPivotTable();
    void addPivotItem(int row, int column, RowNode *item);
    [[nodiscard]] static int mapValueToFieldPos(const RowNode *row, int column, const QHash<QString, int> &labels);
    [[nodiscard]] static RowNodePivotTableOptions::SortMode fromFieldName(const QString &name);
    void sortLabels(QList<QString> &labels, RowNodePivotTableOptions::SortMode optionMode, const QString &field) const;
    void repointCells(const RowNode &from);

    RowNode m_source;
    RowNode m_pivot;
    RowNodePivotTableOptions m_options;
    QList<QString> m_columnLabels;
    QList<QString> m_rowLabels;
    QList<QList<RowNode *>> m_cells;
    SortingStrategy m_sortingStrategy = UseColumnType;
};

} // namespace zeq
