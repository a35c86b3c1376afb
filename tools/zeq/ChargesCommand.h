#pragma once

#include <QStringList>

/// zeq charges SPECTRUM [options]: the isotope clusters of a spectrum window, one row each.
/// `args` follow the command name; returns the exit status.
int runCharges(const QStringList &args);
