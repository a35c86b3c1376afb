#pragma once

#include <QStringList>

/// zeq charges <spectrum-file> [--start X --end Y] [--min-charge A --max-charge B] [--min-percent P]
/// [--verbose]: the isotope clusters of a spectrum window, one line each. Returns the exit code.
int runCharges(const QStringList &args);
