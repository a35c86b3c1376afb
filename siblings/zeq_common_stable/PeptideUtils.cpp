#include "zeq_common_stable/PeptideUtils.h"

#include <algorithm>

void removePeptidePaddingsRef(QString &peptide)
{
    // A flank is at most one residue (or a dash) before the first dot and after the last one;
    // a single dot is not a flank marker, so "PEP.TIDE" keeps both halves.
    const qsizetype first = peptide.indexOf(u'.');
    const qsizetype last = peptide.lastIndexOf(u'.');
    if (first >= 0 && last > first && first <= 1 && last >= peptide.size() - 2) {
        peptide = peptide.mid(first + 1, last - first - 1);
    }
    peptide.erase(std::remove_if(peptide.begin(),
                                 peptide.end(),
                                 [](QChar c) { return !((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')); }),
                  peptide.end());
}
