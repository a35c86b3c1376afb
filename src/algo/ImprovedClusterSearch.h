#pragma once

#include "algo/AveragineComparisonRecords.h"
#include "zeq_common_core_export.h"

#include <QList>
#include <QPointF>

#include <optional>

class PlotBase;

namespace zeq
{

/// The second isotope search mode: findChargesAndMonos's model and scores with the weaknesses of its
/// cluster loop, charge choice and placement repaired. Each repair can be switched off alone, to
/// measure what it brings; with every one off the results are findChargesAndMonos's.
struct ZEQ_COMMON_CORE_EXPORT ImprovedSearchOptions {
    /// Charges tried and the model's default peak width, as findChargesAndMonos reads them.
    ProcessorOptions processor;
    /// A cluster explaining little of the window no longer ends the search: weaker clusters later
    /// in the intensity order are still tried, while their anchors stand clear of the noise.
    bool searchPastSmallClusters = true;
    /// Points that earlier clusters explain are recognised by their own mark, not by the mark of
    /// the point at the same place in the intensity order.
    bool ownExplainedMarks = true;
    /// The model's peaks are as wide as the centroids' m/z precision calls for (2.5 σ, not wider
    /// than the processor's width) rather than the processor's width: at high charges the default
    /// width makes neighbouring charges fit nearly alike.
    bool widthFromData = true;
    /// The centroids' m/z precision (σ, ppm) when the instrument's is known; at 0 it is estimated from
    /// how evenly the window's isotope ladders are spaced, and without enough ladders the processor's
    /// width is kept.
    double precisionPpm = 0.0;
    /// A cluster's monoisotope is moved by whole isotopes until the model's mean m/z meets the
    /// observed envelope's: the apex the placement starts from changes with noise, the mean hardly.
    bool envelopePlacement = true;
    /// A cluster is reported only when its tallest point stands clear (4×) of the window's weakest
    /// point not its own, where the spectrum's detection limit shows: pairs of noise peaks fit some
    /// charge by chance.
    bool clearOfNoise = true;
    /// From charge 10 on, a cluster moves to the charge the spacing of its observed isotope ladder
    /// calls for (a line through its isotopes' m/z) when that is clearly another: neighbouring
    /// charges' models differ there by a few percent of a spacing and fit nearly alike.
    bool chargeFromSpacing = true;
    /// An anchor is tried only at the charges its mass could carry, 300 Da for each charge beyond
    /// the first: below m/z 300 or so, dense noise otherwise fits the closely spaced isotopes of high
    /// charges (charge 35 at m/z 187, a 6.5 kDa ion, on a real peptide run).
    bool plausibleCharges = true;
    /// The whole-spectrum search estimates the centroids' precision once, from the ladders of all
    /// its windows, and gives it to each window as precisionPpm (when that is 0 and widthFromData
    /// is on): a window alone seldom shows enough even ladders for a steady estimate.
    bool precisionPerSpectrum = true;

    /// Whether a whole-spectrum search should estimate the precision and give it as precisionPpm.
    [[nodiscard]] bool wantsSpectrumPrecision() const
    {
        return precisionPerSpectrum && widthFromData && !(precisionPpm > 0.0);
    }
};

/// The m/z precision (σ, ppm) of a spectrum's centroids, from the evenness of the isotope ladders
/// around each window's tallest points, all windows' ladders pooled; none when fewer than 3 show.
/// Each window holds its points ascending by m/z.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT std::optional<double> spectrumPrecisionPpm(const QList<QList<QPointF>> &windows);

/// Every isotope cluster in the window [start, end] of a centroided spectrum (m/z ascending), by
/// descending share of the window's intensity, as findChargesAndMonos reports them; minPercent is
/// read as there. Invalid options, a window without intensity or an unsorted plot give an empty list.
ZEQ_COMMON_CORE_EXPORT void findClustersImproved(const ImprovedSearchOptions &opts,
                                                 const PlotBase &plot,
                                                 double start,
                                                 double end,
                                                 double minPercent,
                                                 QList<ChargeScoreInfo> &out);

} // namespace zeq
