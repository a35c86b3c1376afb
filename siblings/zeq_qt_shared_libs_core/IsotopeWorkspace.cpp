#include "zeq_qt_shared_libs_core/IsotopeWorkspace.h"

#include "IsotopeConvolution_p.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numeric>

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
    // The unit's distribution spans this many nominal masses. The limit lies far beyond any building
    // block (a 1 MDa protein spans about 150,000) and keeps a mistaken count from taking minutes.
    constexpr long long MaxSpan = 200000;
    long long span = 0;
    for (int e = 0; e < IsotopeWorkspace::ElementCount; ++e) {
        const auto isotopes = static_cast<long long>(workspace.isotopeAbundances(e).size());
        span += composition[static_cast<size_t>(e)] * std::max(isotopes - 1, 0LL);
    }
    if (span > MaxSpan) {
        err.setError(kBadParameterError)
            .addErrorMessage(QStringLiteral("A composition may span at most %1 isotopes (C, H and N count one per "
                                            "atom, O two, S four), got %2 for %3")
                                 .arg(QString::number(MaxSpan), QString::number(span), countsText(composition)));
        return ZEQ_ECATCH(err);
    }
    std::vector<int> running =
        runningComposition.empty() ? std::vector<int>(IsotopeWorkspace::ElementCount, 0) : runningComposition;
    if (running.size() != IsotopeWorkspace::ElementCount
        || std::any_of(running.cbegin(), running.cend(), [](int c) { return c > INT_MAX / 2; })) {
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
    const isotopeconv::Distribution unit =
        isotopeconv::moleculeDistribution(patterns, composition.data(), isotopeconv::FarTailCut);
    isotopeconv::Distribution folded;
    isotopeconv::convolve(distribution.empty() ? isotopeconv::Distribution{ 1.0 } : distribution, unit, folded);
    isotopeconv::normalise(folded);
    isotopeconv::dropTail(folded, threshold);
    distribution.swap(folded);

    for (size_t e = 0; e < running.size(); ++e) {
        running[e] += composition[e];
    }
    runningComposition.swap(running);
    return err;
}
