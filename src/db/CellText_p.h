#pragma once

#include "zeq_common_core_export.h"
#include "zeq_common_core_mini/RowNode.h"

#include <QString>
#include <QVariant>

namespace zeq::detail
{

// QVariant::toString() goes through the generic conversion machinery even for a text cell; text
// cells are read millions of times when a table is grouped or pivoted.
inline QString cellText(const QVariant &cell)
{
    if (cell.typeId() == QMetaType::QString) {
        return *static_cast<const QString *>(cell.constData());
    }
    return cell.toString();
}

// Writes into `out` the text that QVariant::toString() gives for `cell`. Saving a table formats
// millions of numbers, and toString() builds a fresh QString for each; integers and doubles are
// formatted here straight into `out`'s existing buffer instead, doubles with Qt's rule for the
// shortest round-trip text. Every other cell goes through toString().
ZEQ_COMMON_CORE_TESTS_EXPORT void assignCellText(const QVariant &cell, QString &out);

// A row's cell by index; a null row reads as a null cell, like a missing one.
inline const QVariant &cellOf(const RowNode *row, int column)
{
    static const QVariant null;
    return row ? row->getDataAt(column) : null;
}

} // namespace zeq::detail
