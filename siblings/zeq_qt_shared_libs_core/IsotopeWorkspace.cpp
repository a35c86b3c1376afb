#include "zeq_qt_shared_libs_core/IsotopeWorkspace.h"

#include "IsotopeConvolution_p.h"

#include <algorithm>
#include <cmath>

namespace
{

QString countsText(const std::vector<int> &counts)
{
    QStringList parts;
    for (int c : counts) {
        parts.append(QString::number(c));
    }
    return u'[' + parts.join(u", ") + u']';
}

} // namespace

IsotopeWorkspace::IsotopeWorkspace(IsotopeCompositionRatios ratios)
    : m_ratios(ratios == LightestIsotopesOnly ? LightestIsotopesOnly : NaturalAbundances)
{
    if (m_ratios == LightestIsotopesOnly) {
        m_abundances.fill({ 1.0 });
        return;
    }
    m_abundances[Carbon] = { 0.9893, 0.0107 };
    m_abundances[Hydrogen] = { 0.999885, 0.000115 };
    m_abundances[Nitrogen] = { 0.99636, 0.00364 };
    m_abundances[Oxygen] = { 0.99757, 0.00038, 0.00205 };
    m_abundances[Sulfur] = { 0.9499, 0.0075, 0.0425, 0.0, 0.0001 };
}

const std::vector<double> &IsotopeWorkspace::isotopeAbundances(int element) const
{
    static const std::vector<double> none;
    return element >= 0 && element < ElementCount ? m_abundances[static_cast<size_t>(element)] : none;
}

const std::vector<int> *IsotopeWorkspace::findUnit(std::string_view name) const
{
    const auto &table = units();
    const auto it = table.find(name);
    return it == table.end() ? nullptr : &it->second;
}

const std::map<std::string, std::vector<int>, std::less<>> &IsotopeWorkspace::units()
{
    static const std::map<std::string, std::vector<int>, std::less<>> table = {
        { "A", { 3, 5, 1, 1, 0 } },   { "C", { 3, 5, 1, 1, 1 } },   { "D", { 4, 5, 1, 3, 0 } },
        { "E", { 5, 7, 1, 3, 0 } },   { "F", { 9, 9, 1, 1, 0 } },   { "G", { 2, 3, 1, 1, 0 } },
        { "H", { 6, 7, 3, 1, 0 } },   { "I", { 6, 11, 1, 1, 0 } },  { "K", { 6, 12, 2, 1, 0 } },
        { "L", { 6, 11, 1, 1, 0 } },  { "M", { 5, 9, 1, 1, 1 } },   { "N", { 4, 6, 2, 2, 0 } },
        { "O", { 12, 19, 3, 2, 0 } }, { "P", { 5, 7, 1, 1, 0 } },   { "Q", { 5, 8, 2, 2, 0 } },
        { "R", { 6, 12, 4, 1, 0 } },  { "S", { 3, 5, 1, 2, 0 } },   { "T", { 4, 7, 1, 2, 0 } },
        { "V", { 5, 9, 1, 1, 0 } },   { "W", { 11, 10, 2, 1, 0 } }, { "Y", { 9, 9, 1, 2, 0 } },
        { "1", { 0, 2, 0, 1, 0 } },   { "2", { 0, 1, 0, 0, 0 } },
    };
    return table;
}

Error constructNextIsotope(double threshold,
                           const IsotopeWorkspace &workspace,
                           const std::vector<int> &composition,
                           std::vector<double> &distribution,
                           std::vector<int> &runningComposition)
{
    Error err;
    const auto negative = [](int c) { return c < 0; };
    if (composition.size() != IsotopeWorkspace::ElementCount
        || std::any_of(composition.cbegin(), composition.cend(), negative)) {
        err.setError(kBadParameterError)
            .addErrorMessage(QStringLiteral("A composition needs five atom counts >= 0 (C, H, N, O, S), got %1")
                                 .arg(countsText(composition)));
        return ZEQ_ECATCH(err);
    }
    if (!runningComposition.empty() && runningComposition.size() != IsotopeWorkspace::ElementCount) {
        err.setError(kBadParameterError)
            .addErrorMessage(QStringLiteral("The running composition needs five atom counts (C, H, N, O, S), got %1")
                                 .arg(countsText(runningComposition)));
        return ZEQ_ECATCH(err);
    }
    if (std::isnan(threshold) || threshold < 0.0) {
        err.setError(kBadParameterError)
            .addErrorMessage(
                QStringLiteral("The isotope threshold must be >= 0, got %1").arg(QString::number(threshold)));
        return ZEQ_ECATCH(err);
    }

    isotopeconv::ElementPatterns patterns{};
    for (int e = 0; e < IsotopeWorkspace::ElementCount; ++e) {
        patterns[static_cast<size_t>(e)] = &workspace.isotopeAbundances(e);
    }
    // Pruning the far tail of the intermediate products keeps big compositions cheap; 1e-30 of the
    // largest entry is far below any threshold a caller can mean, and threshold 0 keeps everything.
    const double intermediateCut = std::min(threshold, 1e-30);
    const isotopeconv::Distribution unit =
        isotopeconv::moleculeDistribution(patterns, composition.data(), intermediateCut);
    isotopeconv::Distribution folded;
    isotopeconv::convolve(distribution.empty() ? isotopeconv::Distribution{ 1.0 } : distribution, unit, folded);
    isotopeconv::normalise(folded);
    isotopeconv::dropTail(folded, threshold);
    distribution.swap(folded);

    runningComposition.resize(IsotopeWorkspace::ElementCount, 0);
    for (size_t e = 0; e < composition.size(); ++e) {
        runningComposition[e] += composition[e];
    }
    return err;
}
