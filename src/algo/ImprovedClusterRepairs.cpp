// The parts of the improved search that look at a cluster as a whole rather than at its apex: the
// model's width from how evenly the window's isotope ladders are spaced, the charge from the
// spacing of a cluster's ladder, and the placement from the envelope's mean m/z.
#include "algo/AveragineComparisonScoring.h"
#include "algo/AveragineComparisonSearch.h"
#include "algo/AveragineComparison_p.h"
#include "algo/ImprovedClusterSearch.h"
#include "algo/ImprovedClusterSearch_p.h"
#include "zeq_common_stable/PlotBase.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <vector>

namespace zeq::detail
{

namespace
{

// Ladders are looked for around this many of the tallest points, between neighbours at least this
// share of the middle one (smaller ones are mostly noise) and at most this far apart (charge 1).
constexpr int kLadderCentres = 12;
constexpr double kLadderShare = 0.4;
constexpr double kLadderReach = 1.1;
// Two spacings further apart than this share of the smaller are not one ladder's.
constexpr double kUnevenSpacing = 0.3;
constexpr int kMinLadders = 3;
// The second difference of three jittered positions has √6 times their σ; MAD to σ.
constexpr double kSecondDifferenceSpread = 2.449489742783178;
constexpr double kMadToSigma = 1.4826;

// The recentring looks this many isotopes beyond the model's ends for observed intensity, moves at
// most this far, and takes a placement scoring no worse than this many times the present one.
constexpr int kLadderMargin = 3;
constexpr int kMaxShift = 3;
constexpr double kAcceptableScore = 1.5;
// Lighter clusters show their monoisotope, which the apex placement finds; the envelope of an
// interleaved neighbour would only pull them off it.
constexpr double kEnvelopeMass = 4000.0;

// From this charge on, neighbouring charges' ladders differ by a few percent of a spacing, which the
// model's fit hardly tells apart but a line through a dozen isotopes' m/z does.
constexpr int kSpacingCharge = 10;
// The ladder is followed while its isotopes reach this share of the apex, each looked for within
// this share of a spacing of where the last one found says; it takes this many isotopes, and a
// measured charge this close to a whole one that differs by at most kMaxChargeChange.
constexpr double kLadderShareOfApex = 0.15;
constexpr double kLadderReachSteps = 0.25;
constexpr double kMinLadderPoints = 6.0;
constexpr double kWholeChargeTolerance = 0.25;
constexpr int kMaxChargeChange = 2;

double centreOf(const std::vector<double> &fractions)
{
    double sum = 0.0;
    double moment = 0.0;
    for (size_t k = 0; k < fractions.size(); ++k) {
        sum += fractions[k];
        moment += static_cast<double>(k) * fractions[k];
    }
    return sum > 0.0 ? moment / sum : 0.0;
}

// Placed with the model's tallest isotope on anchor, its scale refined, its points filled in.
ChargeScoreInfo placedOn(const PlotBase &plot, const TestParameters &tp, const QPointF &anchor, int z)
{
    ChargeScoreInfo moved;
    moved.charge = z;
    findMzOffset(plot, sharedAveragineModel(), tp, anchor, z, moved);
    searchFineScaleFactorBinary(plot, 0.5, 2.0, 10, tp, moved);
    fillPoints(plot, moved);
    return moved;
}

void addLadderResidualsPpm(const QList<QPointF> &window, std::vector<double> &residuals)
{
    const auto size = static_cast<int>(window.size());
    std::vector<int> order(static_cast<size_t>(size));
    std::iota(order.begin(), order.end(), 0);
    const int centres = std::min(size, kLadderCentres);
    std::partial_sort(order.begin(), order.begin() + centres, order.end(), [&window](int a, int b) {
        return window[a].y() > window[b].y();
    });
    for (int c = 0; c < centres; ++c) {
        const int i = order[static_cast<size_t>(c)];
        const double least = kLadderShare * window[i].y();
        int lo = i - 1;
        while (lo >= 0 && window[lo].y() < least) {
            --lo;
        }
        int hi = i + 1;
        while (hi < size && window[hi].y() < least) {
            ++hi;
        }
        if (lo < 0 || hi >= size) {
            continue;
        }
        const double below = window[i].x() - window[lo].x();
        const double above = window[hi].x() - window[i].x();
        if (below > kLadderReach || above > kLadderReach
            || std::abs(above - below) > kUnevenSpacing * std::min(above, below)) {
            continue;
        }
        residuals.push_back(std::abs(above - below) / window[i].x() * 1e6 / kSecondDifferenceSpread);
    }
}

std::optional<double> precisionFromResiduals(std::vector<double> residuals)
{
    if (static_cast<int>(residuals.size()) < kMinLadders) {
        return std::nullopt;
    }
    const auto middle = residuals.begin() + static_cast<std::ptrdiff_t>(residuals.size() / 2);
    std::nth_element(residuals.begin(), middle, residuals.end());
    return kMadToSigma * *middle;
}

} // namespace

std::optional<double> centroidPrecisionPpm(const QList<QPointF> &window)
{
    std::vector<double> residuals;
    addLadderResidualsPpm(window, residuals);
    return precisionFromResiduals(std::move(residuals));
}

void recentreOnEnvelope(const PlotBase &plot, const TestParameters &tp, ChargeScoreInfo &info)
{
    const int z = info.charge;
    if (z < 1 || info.matchVector.size() < 2 || !(z * info.mzOffset >= kEnvelopeMass)) {
        return;
    }
    const AveragineIsotopeDistribution &model = sharedAveragineModel();
    const AveragineIsotopeDistribution::Pattern &pattern = model.isotopePattern(z * info.mzOffset);
    if (pattern.fractions.empty()) {
        return;
    }
    // The observed envelope: the most intense point at each isotope position of the placement and
    // a few beyond either end, where a misplaced model leaves part of the cluster.
    const double step = kIsotopeSpacing / z;
    const double w = 2.0 * findStdDev(tp.stdDev, info.mzOffset, tp.uncertaintyScaling);
    double sum = 0.0;
    double moment = 0.0;
    const auto last = static_cast<int>(pattern.fractions.size()) + kLadderMargin;
    for (int k = -kLadderMargin; k < last; ++k) {
        QPointF point;
        bool found = false;
        const double mz = info.mzOffset + k * step;
        getMostIntensePointWithinBound(plot, mz - w, mz + w, point, &found);
        if (found) {
            sum += point.y();
            moment += k * point.y();
        }
    }
    if (!(sum > 0.0)) {
        return;
    }
    const double shift = std::round(moment / sum - centreOf(pattern.fractions));
    if (shift == 0.0 || std::abs(shift) > kMaxShift) {
        return;
    }
    // Placed as the charge search places: the model's tallest isotope on the most intense point there.
    const double tallest = info.mzOffset + (static_cast<double>(pattern.tallest) + shift) * step;
    QPointF anchor;
    bool found = false;
    getMostIntensePointWithinBound(plot, tallest - w, tallest + w, anchor, &found);
    if (!found) {
        return;
    }
    ChargeScoreInfo moved = placedOn(plot, tp, anchor, z);
    if (!moved.matchVector.empty() && moved.score <= kAcceptableScore * info.score) {
        info = std::move(moved);
    }
}

namespace
{

// The charge the spacing of the isotope ladder observed around m/z `apex` calls for, not rounded,
// isotopes looked for `step` apart; none when too few isotopes show.
std::optional<double> chargeFromSpacing(const PlotBase &plot, double apex, double step)
{
    QPointF anchor;
    bool found = false;
    getMostIntensePointWithinBound(
        plot, apex - kLadderReachSteps * step, apex + kLadderReachSteps * step, anchor, &found);
    if (!found || !(anchor.y() > 0.0)) {
        return std::nullopt;
    }
    // The ladder walked out from the apex, each isotope looked for one step beyond the last one
    // found, so that a spacing a charge off still finds it; least squares of m/z on isotope number.
    double n = 1.0;
    double sk = 0.0;
    double sx = 0.0;
    double skk = 0.0;
    double skx = 0.0;
    for (const int direction : { -1, 1 }) {
        QPointF last = anchor;
        for (int k = direction;; k += direction) {
            const double expected = last.x() + direction * step;
            QPointF point;
            getMostIntensePointWithinBound(
                plot, expected - kLadderReachSteps * step, expected + kLadderReachSteps * step, point, &found);
            if (!found || point.y() < kLadderShareOfApex * anchor.y()) {
                break;
            }
            n += 1.0;
            sk += k;
            sx += point.x() - anchor.x();
            skk += static_cast<double>(k) * k;
            skx += k * (point.x() - anchor.x());
            last = point;
        }
    }
    if (n < kMinLadderPoints) {
        return std::nullopt;
    }
    const double spacing = (n * skx - sk * sx) / (n * skk - sk * sk);
    if (!(spacing > 0.0)) {
        return std::nullopt;
    }
    return kIsotopeSpacing / spacing;
}

} // namespace

void recheckChargeBySpacing(const PlotBase &plot, const TestParameters &tp, ChargeScoreInfo &info)
{
    if (info.charge < kSpacingCharge || info.matchVector.size() < 2) {
        return;
    }
    const AveragineIsotopeDistribution::Pattern &pattern =
        sharedAveragineModel().isotopePattern(info.charge * info.mzOffset);
    if (pattern.fractions.empty()) {
        return;
    }
    const double step = kIsotopeSpacing / info.charge;
    const double apexMz = info.mzOffset + static_cast<double>(pattern.tallest) * step;
    const std::optional<double> measured = chargeFromSpacing(plot, apexMz, step);
    if (!measured) {
        return;
    }
    const double nearest = std::round(*measured);
    if (nearest == info.charge || std::abs(*measured - nearest) > kWholeChargeTolerance || nearest < tp.minCharge
        || nearest > tp.maxCharge || std::abs(nearest - info.charge) > kMaxChargeChange) {
        return;
    }
    // Placed as the charge search places: the new model's tallest isotope on the observed apex.
    QPointF apex;
    bool found = false;
    getMostIntensePointWithinBound(plot, apexMz - 0.5 * step, apexMz + 0.5 * step, apex, &found);
    if (!found) {
        return;
    }
    ChargeScoreInfo moved = placedOn(plot, tp, apex, static_cast<int>(nearest));
    if (!moved.matchVector.empty()) {
        info = std::move(moved);
    }
}

} // namespace zeq::detail

namespace zeq
{

std::optional<double> spectrumPrecisionPpm(const QList<QList<QPointF>> &windows)
{
    std::vector<double> residuals;
    for (const QList<QPointF> &window : windows) {
        detail::addLadderResidualsPpm(window, residuals);
    }
    return detail::precisionFromResiduals(std::move(residuals));
}

} // namespace zeq
