#pragma once

#include <QtGlobal>

/// The side of a residue on which the digestion engine cuts; values are stored by callers as integers.
enum DigestCutterType : qint32 {
    CutterCterm = 0, ///< after the listed residues
    CutterNterm = 1, ///< before the listed residues
    CutterCtermNterm = 2, ///< some residues cut after, some before, some on both sides
};
