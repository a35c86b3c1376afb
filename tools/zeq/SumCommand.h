#pragma once

#include <QStringList>

/// zeq sum FILE… [options]: the sum of the selected spectra of spectrum files, as one peak list.
/// `args` follow the command name; returns the exit status.
int runSum(const QStringList &args);
