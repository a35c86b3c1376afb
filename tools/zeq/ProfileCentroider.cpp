// Profile spectra become peaks through the reader library's own detectors; what is added here is
// the apex between the samples and the noise floor, which the measurements in docs/accuracy.md
// ("Centroiding profile spectra") chose.
#include "ProfileCentroider.h"

#include "algo/AveragineComparisonClusterLoop.h"
#include "pwiz/analysis/common/CwtPeakDetector.hpp"
#include "pwiz/analysis/common/LocalMaximumPeakDetector.hpp"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <vector>

namespace zeq::cli
{

namespace
{

/// The vertex of the parabola through the logarithms of points i-1, i, i+1: a Gaussian's apex from
/// three of its samples, on any spacing. The top sample itself when a neighbour is not positive or
/// the points do not curve downwards.
QPointF refinedApex(const std::vector<double> &x, const std::vector<double> &y, size_t i)
{
    const QPointF top(x[i], y[i]);
    if (i == 0 || i + 1 >= x.size() || y[i - 1] <= 0.0 || y[i + 1] <= 0.0 || y[i] < y[i - 1] || y[i] < y[i + 1]) {
        return top;
    }
    const double x0 = x[i - 1] - x[i];
    const double x2 = x[i + 1] - x[i];
    const double l0 = std::log(y[i - 1] / y[i]);
    const double l2 = std::log(y[i + 1] / y[i]);
    // l(d) = a·d² + b·d through (x0, l0), (0, 0), (x2, l2).
    const double a = (l0 / x0 - l2 / x2) / (x0 - x2);
    const double b = l0 / x0 - a * x0;
    if (!(a < 0.0)) {
        return top;
    }
    const double d = -b / (2.0 * a);
    if (d < x0 || d > x2) {
        return top;
    }
    return QPointF(x[i] + d, y[i] * std::exp(-b * b / (4.0 * a)));
}

/// The level under which a profile's peaks are noise: zeq::noiseLevel, the median of its positive
/// intensities, when the profile has a noise floor. A profile whose instrument already cut its noise
/// away has a zero baseline instead, sampled as the zero points around each signal region: most of
/// its local minima are zero, the median of its intensities is signal, and there is no floor.
double noiseFloor(const QList<QPointF> &profile, const std::vector<double> &y)
{
    qsizetype zeroMinima = 0;
    qsizetype minima = 0;
    for (size_t i = 1; i + 1 < y.size(); ++i) {
        if (y[i] <= y[i - 1] && y[i] <= y[i + 1]) {
            ++minima;
            zeroMinima += y[i] <= 0.0 ? 1 : 0;
        }
    }
    return 2 * zeroMinima >= minima ? 0.0 : zeq::noiseLevel(profile);
}

} // namespace

QList<QPointF> centroidProfile(const QList<QPointF> &profile, const CentroidSettings &settings)
{
    std::vector<double> x;
    std::vector<double> y;
    x.reserve(size_t(profile.size()));
    y.reserve(size_t(profile.size()));
    for (const QPointF &p : profile) {
        x.push_back(p.x());
        y.push_back(p.y());
    }
    std::unique_ptr<pwiz::analysis::PeakDetector> detector;
    if (settings.detector == CentroidSettings::Wavelet) {
        detector = std::make_unique<pwiz::analysis::CwtPeakDetector>(settings.waveletSnr, 0, 0.1);
    } else {
        detector = std::make_unique<pwiz::analysis::LocalMaximumPeakDetector>(size_t(std::max(settings.window, 3)));
    }
    const double floor = settings.snr > 0.0 ? settings.snr * noiseFloor(profile, y) : 0.0;
    QList<QPointF> peaks;
    const auto keep = [&](double peakX, double peakY, size_t first, size_t last) {
        if (!(peakY > 0.0) || peakY < floor) {
            return;
        }
        if (!settings.refineApex) {
            peaks.append(QPointF(peakX, peakY));
            return;
        }
        // The detectors report a sample (or a point near one): refine around the tallest sample there.
        auto at =
            size_t(std::lower_bound(x.cbegin() + qsizetype(first), x.cbegin() + qsizetype(last), peakX) - x.cbegin());
        if (at > first && (x[at] - peakX > peakX - x[at - 1])) {
            --at;
        }
        while (at > first && y[at - 1] > y[at]) {
            --at;
        }
        while (at < last && y[at + 1] > y[at]) {
            ++at;
        }
        peaks.append(refinedApex(x, y, at));
    };
    // The detector pads each signal region with zero samples by inserting them into one vector: time
    // quadratic in the regions of a whole spectrum. Each region between zero samples goes alone
    // instead (the zeros closing it shared with its neighbours), which gives the same peaks.
    std::vector<double> regionX;
    std::vector<double> regionY;
    std::vector<double> peakX;
    std::vector<double> peakY;
    for (size_t first = 0, i = 1; i <= x.size(); ++i) {
        if (i < x.size() && y[i] > 0.0) {
            continue;
        }
        const size_t last = std::min(i, x.size() - 1);
        if (last - first + 1 < 3) {
            // Too few points for a top between neighbours: each positive point is its own peak.
            for (size_t k = first; k <= last; ++k) {
                keep(x[k], y[k], first, last);
            }
        } else if (std::any_of(y.cbegin() + qsizetype(first), y.cbegin() + qsizetype(last) + 1, [](double v) {
                       return v > 0.0;
                   })) {
            regionX.assign(x.cbegin() + qsizetype(first), x.cbegin() + qsizetype(last) + 1);
            regionY.assign(y.cbegin() + qsizetype(first), y.cbegin() + qsizetype(last) + 1);
            peakX.clear();
            peakY.clear();
            detector->detect(regionX, regionY, peakX, peakY);
            for (size_t k = 0; k < peakX.size(); ++k) {
                keep(peakX[k], peakY[k], first, last);
            }
        }
        first = last;
    }
    // Two reported points on one peak climb to the same top; a peak at a shared zero is none.
    std::sort(peaks.begin(), peaks.end(), [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
    peaks.erase(std::unique(peaks.begin(), peaks.end()), peaks.end());
    return peaks;
}

} // namespace zeq::cli
