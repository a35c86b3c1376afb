// Built against the installed package only: proves that headers, targets and run paths work.
#include "constants/ResidueFormulasConstants.h"
#include "constants/StringConstants.h"
#include "math/MassTolerance.h"

#include <cmath>
#include <cstdio>

int main()
{
    const zeq::MassTolerance tolerance(zeq::MassTolerance::ppm, 10.0);
    const zeq::Result<zeq::Interval<double>> window = tolerance.getBounds(1000.0);
    if (!window.hasValue()) {
        std::fprintf(stderr, "getBounds failed: %s\n", qPrintable(window.error().errorString()));
        return 1;
    }
    if (std::abs(window.value().lower - 999.99) > 1e-9 || kppm != QLatin1String("ppm")
        || kAccessionName != QLatin1String("AccessionName")
        || zeq::ResidueFormulasConstants::DEFAULT_RESIDUE_CHEMICAL_FORMULAS_PROTEIN.size() != 26) {
        std::fprintf(stderr, "unexpected values from the installed library\n");
        return 1;
    }
    std::printf("consumer ok: [%.6f, %.6f]\n", window.value().lower, window.value().upper);
    return 0;
}
