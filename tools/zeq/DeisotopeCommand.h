#pragma once

#include <QStringList>

/// zeq deisotope FILE… [options]: the isotope clusters of every selected spectrum of spectrum files,
/// one row each. `args` follow the command name; returns the exit status.
int runDeisotope(const QStringList &args);
