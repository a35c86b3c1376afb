// Peptides and proteins from their formulas rather than the averagine model, for generated runs and
// corpora that measure the search against what an instrument would really record.
#include "support/ChainIsotopes.h"

#include "constants/MassConstants.h"
#include "math/MonoisotopicMass.h"
#include "zeq_qt_shared_libs_core/IsotopeWorkspace.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

namespace zeq::test
{

namespace
{

struct ResidueShare {
    char residue;
    double percent;
};

// Amino-acid composition of natural proteins.
constexpr ResidueShare kComposition[] = {
    { 'A', 8.25 }, { 'R', 5.53 }, { 'N', 4.06 }, { 'D', 5.45 }, { 'C', 1.37 }, { 'Q', 3.93 }, { 'E', 6.75 },
    { 'G', 7.07 }, { 'H', 2.27 }, { 'I', 5.96 }, { 'L', 9.66 }, { 'K', 5.84 }, { 'M', 2.42 }, { 'F', 3.86 },
    { 'P', 4.70 }, { 'S', 6.56 }, { 'T', 5.34 }, { 'W', 1.08 }, { 'Y', 2.92 }, { 'V', 6.87 },
};

/// Inside a tryptic peptide there is no K or R: trypsin would have cut after it.
char drawResidue(SeededRandom &random, bool tryptic)
{
    const auto allowed = [tryptic](char r) { return !tryptic || (r != 'K' && r != 'R'); };
    double total = 0.0;
    for (const ResidueShare &s : kComposition) {
        total += allowed(s.residue) ? s.percent : 0.0;
    }
    double draw = random.uniform() * total;
    for (const ResidueShare &s : kComposition) {
        if (!allowed(s.residue)) {
            continue;
        }
        draw -= s.percent;
        if (draw < 0.0) {
            return s.residue;
        }
    }
    return 'L';
}

} // namespace

QByteArray trypticPeptide(SeededRandom &random, int length)
{
    QByteArray sequence;
    for (int i = 0; i + 1 < length; ++i) {
        sequence += drawResidue(random, true);
    }
    return sequence + (random.uniform() < 0.5 ? 'K' : 'R');
}

QByteArray smallProtein(SeededRandom &random, int length)
{
    QByteArray sequence("M");
    while (sequence.size() < length) {
        sequence += drawResidue(random, false);
    }
    return sequence;
}

/// The isotopes (m/z, height) of a chain with `charge` protons, the tallest `height` high.
QList<QPointF> isotopesOf(const QByteArray &sequence, int charge, double height, double *monoMz)
{
    static const IsotopeWorkspace workspace;
    std::vector<double> distribution;
    std::vector<int> composition;
    const auto fold = [&](std::string_view unit) {
        const Error error = constructNextIsotope(1e-4, workspace, *workspace.findUnit(unit), distribution, composition);
        Q_ASSERT(!error.hasError());
    };
    for (const char residue : sequence) {
        fold(std::string_view(&residue, 1));
    }
    fold("1");
    for (int i = 0; i < charge; ++i) {
        fold("2");
    }
    const double mass = peptideMonoisotopicMass(QString::fromLatin1(sequence)).value();
    *monoMz = (mass + charge * kProtonMass) / charge;
    const double tallest = *std::max_element(distribution.cbegin(), distribution.cend());
    QList<QPointF> isotopes;
    for (size_t i = 0; i < distribution.size(); ++i) {
        if (distribution[i] >= kChainDetectionLimit * tallest) {
            isotopes.append(
                QPointF(*monoMz + double(i) * kChainIsotopeSpacing / charge, height * distribution[i] / tallest));
        }
    }
    return isotopes;
}

double logUniform(SeededRandom &random, double lo, double hi)
{
    return lo * std::pow(hi / lo, random.uniform());
}

} // namespace zeq::test
