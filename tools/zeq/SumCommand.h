#pragma once

#include "math/MassTolerance.h"

#include <QStringList>

/// How close points of different spectra must lie to be added, unless the user says otherwise:
/// zeq sum and deisotope --sum-scans add alike.
inline const zeq::MassTolerance kDefaultSumTolerance(zeq::MassTolerance::ppm, 10.0);

/// zeq sum FILE… [options]: the sum of the selected spectra of spectrum files, as one peak list.
/// `args` follow the command name; returns the exit status.
int runSum(const QStringList &args);
