#pragma once

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

} // namespace zeq::detail
