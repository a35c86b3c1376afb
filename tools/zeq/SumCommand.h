#pragma once

#include "math/MassTolerance.h"

#include <QStringList>

/// How close points of different spectra must lie to be added, unless the user says otherwise:
/// zeq sum and deisotope --sum-scans add alike.
namespace zeq::cli
{
inline const MassTolerance kDefaultSumTolerance(MassTolerance::ppm, 10.0);
} // namespace zeq::cli

/// zeq sum FILE… [options]: the sum of the selected spectra of spectrum files, as one peak list.
/// `args` follow the command name; returns the exit status.
int runSum(const QStringList &args);
