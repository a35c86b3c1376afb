#pragma once

#include "algo/ProteinDigestionItem.h"

// Name look-up against a given list, so that the known-enzyme list can resolve names while it is
// being built without asking for itself.
namespace zeq::detail
{

ProteinDigestionItem mapFromEnzymeAmong(const QString &name, const QList<ProteinDigestionItem> &known);
ProteinDigestionItem fromStringAmong(const QString &text, const QList<ProteinDigestionItem> &known);

} // namespace zeq::detail
