#pragma once

#include <QList>
#include <QPointF>
#include <QString>

namespace zeq::cli
{

/// Why the points cannot be a spectrum, empty when they can: an m/z that is not a finite,
/// non-negative number, or an intensity that is not finite.
QString badPoint(const QList<QPointF> &points);

/// Reports on standard error, as one line, that a spectrum of `file` is left out, and why.
void warnSkipped(const QString &file, const QString &spectrum, const QString &why);

} // namespace zeq::cli
