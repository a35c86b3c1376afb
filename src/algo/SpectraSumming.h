#pragma once

#include "math/MassTolerance.h"
#include "zeq_common_core_export.h"

#include <QList>
#include <QPointF>

namespace zeq
{

/// A centroided spectrum as the applications hand it over; summing reads only its (m/z, intensity)
/// points.
struct Spectra {
    QList<QPointF> points;
};

/// Adds centroided spectra into one: pools their points, merges equal m/z, smooths each point with
/// its neighbours by a triangular kernel (summing intensity and re-centring m/z), keeps local maxima
/// and joins isolated twin peaks. Every step returns a new list; all but doSumming expect points
/// ascending by m/z and finite.
class ZEQ_COMMON_CORE_EXPORT SpectraSumming
{
public:
    struct Options {
        /// Half-width of the smoothing kernel.
        MassTolerance neighborTolerance{ MassTolerance::ppm, 10.0 };
        /// How close two points must be for one to hide the other, or to be joined as twins.
        MassTolerance peakTolerance{ MassTolerance::ppm, 10.0 };
    };

    SpectraSumming() = delete;
    ~SpectraSumming() = delete;

    /// The sum of `spectra`. Points whose m/z or intensity is not finite are dropped first.
    [[nodiscard]] static QList<QPointF> doSumming(const Options &options, const QList<Spectra> &spectra);

    /// Each run of points whose m/z is approximately equal to the run's first becomes one point at
    /// that m/z carrying the run's summed intensity.
    [[nodiscard]] static QList<QPointF> mergeDuplicates(const QList<QPointF> &points);
    /// Each point becomes the kernel-weighted centre and sum of the points closer than the kernel's
    /// half-width w: weight 1 − d/w. A lone point keeps its m/z and intensity. A width that is not
    /// finite and positive (a Dalton tolerance of zero or less) leaves every point alone.
    /// Linear in the number of points, however many share a kernel.
    [[nodiscard]] static QList<QPointF> sumNeighbors(const Options &options, const QList<QPointF> &points);
    /// Drops every point that has a more intense neighbour closer than the peak width.
    [[nodiscard]] static QList<QPointF> filterPeaks(const Options &options, const QList<QPointF> &points);
    /// Joins two points closer than the peak width, of (approximately) equal intensity, with no other
    /// point within the width on either side, into one point midway with that intensity.
    [[nodiscard]] static QList<QPointF> filterPairs(const Options &options, const QList<QPointF> &points);

    /// The width a tolerance gives at `mz`: the tolerance in Dalton; in ppm, mz·tolerance·1e-6 but never
    /// below 0.02 (a NaN or negative ppm tolerance gives 0.02).
    [[nodiscard]] static double width(const MassTolerance &tolerance, double mz);

private:
    /// sumNeighbors into `summed`, another list than `points`, resized to its size: doSumming reuses
    /// a buffer that way.
    static void sumNeighbors(const Options &options, const QList<QPointF> &points, QList<QPointF> &summed);
};

} // namespace zeq
