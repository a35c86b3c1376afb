#pragma once

#include <QStringList>

/// zeq digest FASTA [--enzyme NAME|ITEM] [--missed N] [--min-length N] [--max-length N] [--min-mass DA]
/// [--max-mass DA], and zeq digest --list-enzymes: the peptides of an in-silico digestion of every
/// protein of a FASTA file. Returns the exit code.
int runDigest(const QStringList &args);
