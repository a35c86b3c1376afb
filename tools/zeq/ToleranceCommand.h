#pragma once

#include <QStringList>

/// zeq tolerance MASS TOLERANCE [options]: the window of values that match a mass.
/// `args` follow the command name; returns the exit status.
int runTolerance(const QStringList &args);
