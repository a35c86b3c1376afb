#pragma once

#include "zeq_common_stable_export.h"

#include <QString>

/// Leaves in `peptide` only its residue letters: flanking residues written as "K.PEPTIDE.R"
/// (or "-.PEPTIDE.-") are dropped, then every character that is not a letter (dashes, dots,
/// digits, brackets, spaces). Lower-case letters are kept as they are.
ZEQ_COMMON_STABLE_EXPORT void removePeptidePaddingsRef(QString &peptide);
