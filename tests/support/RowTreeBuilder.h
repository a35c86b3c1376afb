#pragma once

#include "zeq_common_core_mini/RowNode.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <ostream>

/// Failed expectations on cells and rows print "int 3" instead of a byte dump.
inline void PrintTo(const QVariant &cell, std::ostream *os)
{
    *os << (cell.isValid() ? cell.typeName() : "invalid") << ' ' << cell.toString().toStdString();
}

namespace zeq::test
{

/// A flat table: the root holds `names`, one child row per entry of `rows`.
inline RowNode makeTable(const QList<QString> &names, const QList<VariantItems> &rows)
{
    RowNode root;
    root.addData(names, true);
    for (const VariantItems &cells : rows) {
        root.addChild(new RowNode(cells, &root));
    }
    return root;
}

/// The cells of `column` in `rows`, space-separated.
inline QString join(const QList<RowNode *> &rows, const QString &column)
{
    QList<QString> parts;
    for (const RowNode *row : rows) {
        parts.append(row->getDataAt(column).toString());
    }
    return parts.join(u' ');
}

/// The tree beneath `node` in one line, each node shown by its cell of `column`, groups in
/// brackets: "[A1 A2] B1".
inline QString shape(const RowNode &node, const QString &column)
{
    QList<QString> parts;
    for (const RowNode *child : node.children()) {
        parts.append(child->getChildListSize() > 0 ? u'[' + shape(*child, column) + u']'
                                                   : child->getDataAt(column).toString());
    }
    return parts.join(u' ');
}

} // namespace zeq::test
