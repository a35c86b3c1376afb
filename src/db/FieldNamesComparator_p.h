#pragma once

#include "db/FieldNamesComparator.h"

#include <QString>

#include <vector>

namespace zeq::detail
{

// The comparator's columns of a set of rows, each cell converted once, texts replaced by their
// rank among the column's distinct texts. Sorting a million rows through
// FieldNamesComparator::operator() would convert every cell about forty times and spend most of
// its time comparing scattered strings; this gives the same order.
// Exported (in builds with tests) only so that the tests can hold it against the comparator.
class ZEQ_COMMON_CORE_TESTS_EXPORT RowKeys
{
public:
    RowKeys(const FieldNamesComparator &comparator, const std::vector<RowNode *> &rows);

    // Positions of the rows in FieldNamesComparator order; rows that compare equal keep their order.
    [[nodiscard]] std::vector<quint32> stableOrder() const;
    [[nodiscard]] bool less(size_t a, size_t b) const;
    [[nodiscard]] bool sameGroup(size_t a, size_t b) const;

private:
    struct Column {
        FieldNamesComparator::ColumnAndType field;
        std::vector<quint32> ranks; // equal ranks ⇔ equal texts; rank order = text order
        std::vector<double> numbers;
    };

    std::vector<Column> m_columns; // grouping columns, then sorting columns
    size_t m_groupingCount = 0;
    size_t m_rowCount = 0;
};

} // namespace zeq::detail
