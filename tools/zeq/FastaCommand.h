#pragma once

#include <QStringList>

/// zeq fasta check FILE [--rule letters|extended|printable] and zeq fasta stats FILE
/// [--decoy-prefix PREFIX]...: a FASTA file's illegal sequence characters, or what it holds.
/// Returns the exit code.
int runFasta(const QStringList &args);
