#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_core_mini/RowNode.h"

#include <QHash>
#include <QList>
#include <QSqlRecord>
#include <QString>

#include <optional>

namespace zeq
{

/// Orders and groups the rows of a row tree by named columns. Built from grouping and sorting
/// field specifications, "name", "name:order" or "name:order:type": order "-" is descending,
/// anything else ascending; type "s" compares text, "r" numbers. Without a type mark the column
/// registry decides (numeric columns compare as numbers), and a specification that names no
/// column of the root is ignored. Numbers are equal within 1e-12 relative (absolute near zero);
/// ±inf equal only themselves, and every NaN is one value. Ascending, NaN sorts before −inf,
/// which sorts before every finite number, and +inf last; descending is the exact reverse.
/// The root is not owned and must outlive the comparator.
class ZEQ_COMMON_CORE_EXPORT FieldNamesComparator
{
public:
    enum ColumnValueType : qint32 { String = 0, Real = 1 };

    struct ColumnAndType {
        qint32 column = -1;
        ColumnValueType type = String;
        bool descending = false;
    };

    FieldNamesComparator(const QList<QString> &grouping, const QList<QString> &sorting, RowNode *node);

    /// True when `a` comes strictly before `b`: grouping columns first, then sorting columns.
    bool operator()(const RowNode *a, const RowNode *b) const;
    /// True when every grouping column is equal (always, without grouping columns).
    [[nodiscard]] bool isSameGoup(const RowNode *a, const RowNode *b) const;

    [[nodiscard]] QList<QString> groupingNames() const { return m_groupingNames; }
    [[nodiscard]] QList<QString> extraSortingNames() const { return m_sortingNames; }
    /// The resolved grouping columns, in order.
    [[nodiscard]] QList<int> getIndicies() const;
    /// Every column of the root, resolved once as grouping specifications.
    [[nodiscard]] QList<int> allColumnIndicies() const;
    void flipAscendingDesceningOrder();

    [[nodiscard]] const QList<ColumnAndType> &groupingColumns() const noexcept { return m_grouping; }
    [[nodiscard]] const QList<ColumnAndType> &sortingColumns() const noexcept { return m_sorting; }
    [[nodiscard]] RowNode *root() const noexcept { return m_root; }

    /// A cell read as a number for comparison: empty text is 0, other text is converted (and
    /// logged to "zeq.common_core_dev"), anything that does not convert is 0.
    [[nodiscard]] double cellNumber(const QVariant &cell, int column) const;

private:
    void resolve(const QString &specification, bool grouping);

    QList<ColumnAndType> m_grouping;
    QList<ColumnAndType> m_sorting;
    mutable std::optional<QList<int>> m_allColumns;
    QList<QString> m_groupingNames;
    QList<QString> m_sortingNames;
    RowNode *m_root = nullptr;
};

/// Field name → position in a SQL record; names match exactly, case included.
class ZEQ_COMMON_CORE_EXPORT ColumnIndexRecord
{
public:
    /// Replaces the table; of two fields with one name, the later position wins.
    void update(const QSqlRecord &record);
    [[nodiscard]] bool contains(const QString &name) const { return m_positions.contains(name); }
    /// -1 when the name is unknown.
    [[nodiscard]] int indexOf(const QString &name) const { return m_positions.value(name, -1); }

private:
    QHash<QString, int> m_positions;
};

} // namespace zeq
