#include "algo/AveragineComparisonPlots.h"

#include "ZeqLogging.h"
#include "algo/AveragineComparison_p.h"
#include "constants/MassConstants.h"
#include "zeq_common_stable/PlotBase.h"
#include "zeq_qt_shared_libs_core/IsotopeWorkspace.h"

#include <QLocale>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zeq
{

namespace
{

// Spacing of the most abundant isotope from the monoisotope in the observed-isotope look-up.
constexpr double kObservedSpacing = 1.0028;
// Neutral masses from which the most abundant isotope moves one index up.
constexpr std::array<double, 24> kMostAbundantSteps = { 2500,  4000,  6000,  7000,  9000,  10000, 12000, 13000,
                                                        15000, 17000, 18000, 20000, 21000, 22000, 24000, 26000,
                                                        29000, 31000, 32000, 34000, 35000, 37000, 39000, 40000 };

// In double: the negation of INT_MIN has no int.
double signedCharge(int charge, chem::ZEQ_QEnumsChemUtils::IonMode mode)
{
    const double z = charge;
    return mode == chem::ZEQ_QEnumsChemUtils::Negative ? -std::abs(z) : z;
}

// m/z of a neutral mass carrying |charge| protons, or losing them in negative mode.
double chargedMz(double mass, int charge, chem::ZEQ_QEnumsChemUtils::IonMode mode)
{
    const double zs = signedCharge(charge, mode);
    return (mass + zs * kProtonMass) / std::abs(zs);
}

} // namespace

void sampleAveragine(const AveragineIsotopeFunction &f, double start, double end, double step, QList<QPointF> &out)
{
    out.clear();
    if (start > end || start < 0.0 || step <= 0.0) {
        qCDebug(lcCore) << "Samping start or end indicies or step size is incorrect";
    }
    if (!(step > 0.0) || !(end + step > start)) {
        return;
    }
    const double sigma = f.stdDev();
    double localStep = step;
    double x = start;
    do {
        // Coarser steps where no isotope position lies within a few widths of x.
        const double u = (x - f.mzOffset()) * f.charge();
        const double lower = detail::below(u);
        const double upper = detail::above(u);
        const auto belowClear = [&](double k) { return detail::below(u - k * sigma) == lower; };
        const auto aboveClear = [&](double k) { return detail::above(u + k * sigma) == upper; };
        if (belowClear(3.0) && aboveClear(3.0)) {
            localStep = 4.0 * step;
        } else if (belowClear(1.2) && !belowClear(3.0)) {
            localStep = 2.0 * step;
        } else if (belowClear(0.8) && !belowClear(1.2)) {
            localStep = 2.0 * step;
        } else if (!belowClear(0.8) || !aboveClear(0.8)) {
            localStep = step;
        }
        out.append(QPointF(x, f.evaluate(x, 4)));
        if (x + localStep == x) {
            break; // the step is lost in rounding at this x
        }
        x += localStep;
    } while (x < end + localStep);
}

void makeIsotopePlot(double mono,
                     int charge,
                     double scale,
                     double stdDev,
                     double step,
                     QList<QPointF> &out,
                     chem::ZEQ_QEnumsChemUtils::IonMode mode)
{
    out.clear();
    if (charge == 0) {
        qCDebug(lcCore) << "no isotope envelope without a charge";
        return;
    }
    const double zs = signedCharge(charge, mode);
    const double mass = std::abs(zs) * mono - zs * kProtonMass;
    const std::vector<double> &d = sharedAveragineModel().isotopeIntensityFractions(mass);
    AveragineIsotopeFunction f(d);
    f.setMzOffset(mono);
    f.setCharge(charge);
    f.setStdDev(stdDev, ConstantUncertainty);
    f.setScaleFact(scale);
    sampleAveragine(f, mono - 4.0 * stdDev, mono + static_cast<double>(d.size()) * kIsotopeSpacing / charge, step, out);
}

SpecificIsotopeDistribution::SpecificIsotopeDistribution(const std::string &units,
                                                         bool addUnitOne,
                                                         int countUnitTwo,
                                                         double threshold)
    : m_isoList{ 1.0 }
{
    const IsotopeWorkspace workspace(IsotopeWorkspace::NaturalAbundances);
    std::vector<int> running(IsotopeWorkspace::ElementCount, 0);
    const auto fold = [&](std::string_view name) {
        const std::vector<int> *composition = workspace.findUnit(name);
        if (!composition) {
            return;
        }
        const Error err = constructNextIsotope(threshold, workspace, *composition, m_isoList, running);
        if (err.hasError()) {
            qCWarning(lcCore) << "isotope distribution: unit" << QString::fromStdString(std::string(name))
                              << "not folded in:" << err.errorString();
        }
    };
    for (size_t i = 0; i < units.size(); ++i) {
        fold(std::string_view(units).substr(i, 1));
    }
    if (addUnitOne) {
        fold("1");
    }
    for (int i = 0; i < countUnitTwo; ++i) {
        fold("2");
    }
}

void SpecificIsotopeDistribution::PrintOutIsoList() const
{
    for (double value : m_isoList) {
        std::fprintf(stdout, "%s\n", qPrintable(QString::number(value, 'g', QLocale::FloatingPointShortest)));
    }
}

Error get_best_observed_v2(const QList<QPointF> &points,
                           double mass,
                           int charge,
                           chem::ZEQ_QEnumsChemUtils::IonMode mode,
                           const double *ppmTolerance,
                           double *expectedMz,
                           QPointF *observed,
                           double *monoMz)
{
    Error err;
    if (!expectedMz || !observed || !monoMz) {
        err.setError(kBadParameterError)
            .addErrorMessage(QStringLiteral("Observed isotope look-up needs all three outputs"));
        return ZEQ_ECATCH(err);
    }
    if (charge == 0) {
        err.setError(kBadParameterError).addErrorMessage(QStringLiteral("Can't place mass %1 at charge 0").arg(mass));
        return ZEQ_ECATCH(err);
    }
    const auto k = static_cast<double>(std::count_if(
        kMostAbundantSteps.cbegin(), kMostAbundantSteps.cend(), [mass](double step) { return step <= mass; }));
    *expectedMz = chargedMz(mass + k * kObservedSpacing, charge, mode);
    *observed = QPointF(*expectedMz, 0.0);
    const int i = findClosestIndex(points, *expectedMz);
    if (i < 0 || i >= points.size()) {
        err.setError(kError).addErrorMessage(
            QStringLiteral("No observed point near m/z %1").arg(*expectedMz, 0, 'f', 6));
        return ZEQ_ECATCH(err);
    }
    *observed = points.at(i);
    *monoMz = observed->x() - k * kObservedSpacing / charge;
    if (ppmTolerance) {
        const double expectedMono = chargedMz(mass, charge, mode);
        const double deviation = expectedMono == 0.0 ? 1e10 : std::abs((*monoMz - expectedMono) / expectedMono * 1e6);
        if (deviation > *ppmTolerance) {
            err.setError(kError).addErrorMessage(
                QStringLiteral("Observed monoisotopic m/z %1 lies %2 ppm from the expected %3 (tolerance %4 ppm)")
                    .arg(QString::number(*monoMz, 'f', 6),
                         QString::number(deviation, 'g', 4),
                         QString::number(expectedMono, 'f', 6),
                         QString::number(*ppmTolerance, 'g', 6)));
            return ZEQ_ECATCH(err);
        }
    }
    return err;
}

} // namespace zeq
