// Built against the installed package only: proves that headers, targets and run paths work for
// the library and each of its siblings.
#include "algo/AveragineComparisonSearch.h"
#include "algo/BuiltInEnzymes.h"
#include "algo/ProteinDigestionItem.h"
#include "constants/ResidueFormulasConstants.h"
#include "constants/StringConstants.h"
#include "math/MassTolerance.h"
#include "zeq_common_stable/PlotBase.h"

#include <cmath>
#include <cstdio>

namespace
{

int failWith(const char *what)
{
    std::fprintf(stderr, "consumer: %s\n", what);
    return 1;
}

} // namespace

int main()
{
    const zeq::MassTolerance tolerance(zeq::MassTolerance::ppm, 10.0);
    const zeq::Result<zeq::Interval<double>> window = tolerance.getBounds(1000.0);
    if (!window.hasValue()) {
        return failWith(qPrintable(window.error().errorString()));
    }
    if (std::abs(window.value().lower - 999.99) > 1e-9 || kppm != QLatin1String("ppm")
        || kAccessionName != QLatin1String("AccessionName")
        || zeq::ResidueFormulasConstants::DEFAULT_RESIDUE_CHEMICAL_FORMULAS_PROTEIN.size() != 26) {
        return failWith("unexpected tolerance window or constants");
    }

    const QString trypsin = zeq::BuiltInProteases::kTrypsin.toString();
    if (!zeq::ProteinDigestionItem::validate(trypsin)
        || zeq::ProteinDigestionItem::fromString(trypsin).enzyme() != zeq::BuiltInEnzymes::kTrypsin) {
        return failWith("the Trypsin digestion item does not round-trip through its text");
    }

    // An empty spectrum has no clusters; the call itself crosses into both sibling libraries.
    QList<zeq::ChargeScoreInfo> clusters;
    zeq::findChargesAndMonos(zeq::ProcessorOptions(), PlotBase(), 500.0, 1500.0, QString(), 0.01, clusters);
    if (!clusters.isEmpty()) {
        return failWith("clusters found in an empty spectrum");
    }

    std::printf("consumer ok: [%.6f, %.6f], %s\n", window.value().lower, window.value().upper, qPrintable(trypsin));
    return 0;
}
