#include "zeq_common_core_mini/ProteinDigestor.h"

#include <algorithm>
#include <cstdint>

namespace
{

Error badParameter(const QString &message)
{
    return Error(kBadParameterError, message);
}

} // namespace

Error ProteinDigestor::init(const char *sequence,
                            int length,
                            const double *residueMasses,
                            double nTermMass,
                            double cTermMass,
                            double minMass,
                            double maxMass,
                            int maxMissedCleavages,
                            const char *cleavageTable,
                            DigestCutterType type,
                            DigestionSearchOption option,
                            long cleavageFlags)
{
    // Emptied rather than replaced: a digestor reused from protein to protein keeps its buffers.
    m_sequence.clear();
    m_digestNumbers.clear();
    m_peptides.clear();
    m_cleavageFlags = 0;
    Error err;
    if (!sequence) {
        err = badParameter(QStringLiteral("No protein sequence to digest"));
    } else if (length < 0) {
        err = badParameter(QStringLiteral("Negative protein length %1").arg(length));
    } else if (!residueMasses) {
        err = badParameter(QStringLiteral("No residue mass table"));
    } else if (!cleavageTable) {
        err = badParameter(QStringLiteral("No cleavage residue table"));
    } else if (maxMissedCleavages < 0) {
        err = badParameter(QStringLiteral("Negative missed cleavage count %1").arg(maxMissedCleavages));
    } else if (type != CutterCterm && type != CutterNterm && type != CutterCtermNterm) {
        err = badParameter(QStringLiteral("Unknown cleavage side %1").arg(qint32(type)));
    } else if (option != DigestSpecific && option != DigestSemiSpecific && option != DigestNumberingOnly) {
        err = badParameter(QStringLiteral("Unknown digestion search option %1").arg(qint32(option)));
    }
    for (int i = 0; !err.hasError() && i < length; ++i) {
        if (static_cast<unsigned char>(sequence[i]) > 0x7f) {
            err = badParameter(QStringLiteral("Residue %1 of the protein is not an ASCII character").arg(i + 1));
        }
    }
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }

    m_sequence.assign(sequence, static_cast<size_t>(length));
    m_cleavageFlags = cleavageFlags;
    const auto entry = [cleavageTable](char residue) {
        return static_cast<int8_t>(cleavageTable[static_cast<unsigned char>(residue)]);
    };
    const bool cutsAfter = type == CutterCterm || type == CutterCtermNterm;
    const bool cutsBefore = type == CutterNterm || type == CutterCtermNterm;
    m_digestNumbers.resize(length);
    int *numbers = m_digestNumbers.data();
    int number = 1;
    for (int i = 0; i < length; ++i) {
        if (i > 0) {
            const int8_t previous = entry(m_sequence[i - 1]);
            const int8_t current = entry(m_sequence[i]);
            // Both sides of one boundary may ask for a cut; it is still one cleavage point.
            if ((cutsAfter && (previous == 0 || previous == 2)) || (cutsBefore && (current == 1 || current == 2))) {
                ++number;
            }
        }
        numbers[i] = number;
    }

    if (option != DigestNumberingOnly) {
        listPeptides(
            residueMasses, nTermMass + cTermMass, minMass, maxMass, maxMissedCleavages, option == DigestSemiSpecific);
    }
    return err;
}

void ProteinDigestor::listPeptides(const double *residueMasses,
                                   double terminalMass,
                                   double minMass,
                                   double maxMass,
                                   int maxMissedCleavages,
                                   bool semiSpecific)
{
    const int n = static_cast<int>(m_sequence.size());
    const int *numbers = m_digestNumbers.constData();
    // Specific peptides are counted ahead (at most missed + 1 of them start at each cleavage point)
    // and filled in by index: appending them one at a time was a third of the walk.
    Peptide *out = nullptr;
    if (!semiSpecific && n > 0) {
        const qsizetype segments = numbers[n - 1];
        m_peptides.resize(segments * std::min<qsizetype>(qsizetype(maxMissedCleavages) + 1, segments));
        out = m_peptides.data();
    }
    for (int first = 0; first < n; ++first) {
        const bool startsAtCut = first == 0 || numbers[first - 1] != numbers[first];
        if (!startsAtCut && !semiSpecific) {
            continue;
        }
        double mass = terminalMass;
        // Residue masses may be zero or negative, so the mass range cannot end the walk early.
        for (int last = first; last < n && numbers[last] - numbers[first] <= maxMissedCleavages; ++last) {
            mass += residueMasses[static_cast<unsigned char>(m_sequence[last])];
            const bool endsAtCut = last == n - 1 || numbers[last + 1] != numbers[last];
            const bool specificEnough = semiSpecific ? (startsAtCut || endsAtCut) : endsAtCut;
            if (specificEnough && mass >= minMass && mass <= maxMass) {
                const Peptide peptide{ first, last, numbers[last] - numbers[first], mass };
                if (out) {
                    *out++ = peptide;
                } else {
                    m_peptides.append(peptide);
                }
            }
        }
    }
    if (out) {
        m_peptides.resize(out - m_peptides.constData());
    }
}
