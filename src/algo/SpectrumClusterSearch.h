#pragma once

#include "algo/AveragineComparisonRecords.h"
#include "algo/ClusterAlternatives.h"
#include "algo/ImprovedClusterSearch.h"
#include "algo/SpectrumWindows.h"
#include "math/MassTolerance.h"
#include "zeq_common_core_export.h"

#include <QList>
#include <QPointF>

#include <optional>

namespace zeq
{

/// The isotope-cluster search over whole spectra, as a program runs it over a run: a spectrum is cut
/// into SearchWindows, each window searched with findChargesAndMonos, and the clusters kept that a
/// window reports and that show enough isotopes. Spectra must be centroided, points ascending by
/// m/z (Th) and finite. Every function is thread-safe and keeps no state between calls.

struct ZEQ_COMMON_CORE_EXPORT SpectrumSearchOptions {
    /// Charges tried, the model's peak width; clusters below processor.minCharge are not reported.
    ProcessorOptions processor;
    /// A window's search stops once a cluster explains at most half this share (0 to 1) of it.
    double minFraction = 0.01;
    /// How far an observed point may lie from an isotope's m/z and still match it.
    MassTolerance tolerance{ MassTolerance::ppm, 10.0 };
    /// Clusters with fewer distinct isotopes matched are not reported; 1 keeps lone peaks.
    int minIsotopes = 2;
    /// Above 0: only points at least this many times the spectrum's noiseLevel are searched.
    double signalToNoise = 0.0;
    /// Also find each cluster's alternatives (findClusterAlternatives): 0.4 to 1.6 times the
    /// search's own work again. The clusters found are the same either way.
    bool alternatives = false;
    /// When set, windows are searched with findClustersImproved and these repairs; its own
    /// processor is not read, `processor` above is. Unset, the search is findChargesAndMonos's.
    std::optional<ImprovedSearchOptions> improved;
};

/// One cluster found, with the window it was found in.
struct ZEQ_COMMON_CORE_EXPORT SpectrumCluster {
    double windowStart = 0.0;
    double windowEnd = 0.0;
    /// Charge, mono m/z (mzOffset), score, share of the window (percentIonCurrent, 0 to 1), scale
    /// and the window's points the search assigned to it.
    ChargeScoreInfo cluster;
    /// Distinct isotopes that one of the cluster's points matches within the tolerance.
    int matchedIsotopes = 0;
    /// With SpectrumSearchOptions::alternatives: what else the cluster could have been.
    std::optional<ClusterAlternatives> alternatives;

    /// The neutral monoisotopic mass in Da: z × (mono m/z − proton mass).
    [[nodiscard]] double neutralMass() const;
};

/// Distinct isotopes of `c` that one of its points matches within `tolerance`.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT int matchedIsotopeCount(const ChargeScoreInfo &c, const MassTolerance &tolerance);

/// The clusters of a whole spectrum: windows by m/z, within a window by descending share.
/// `windowsSearched`, when given, receives the number of windows searched.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT QList<SpectrumCluster> findSpectrumClusters(const QList<QPointF> &points,
                                                                                 const SpectrumSearchOptions &options,
                                                                                 int *windowsSearched = nullptr);

/// The clusters of one m/z window [start, end] of a spectrum searched whole, as for an MS2
/// spectrum's precursor in its isolation window of the MS1 spectrum before it. An empty list when
/// the window holds no point.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT QList<SpectrumCluster> findWindowClusters(const QList<QPointF> &points,
                                                                               double start,
                                                                               double end,
                                                                               const SpectrumSearchOptions &options,
                                                                               int *windowsSearched = nullptr);

/// Which of the clusters found in an isolation window is the precursor the instrument selected.
struct ZEQ_COMMON_CORE_EXPORT PrecursorChoice {
    enum Basis : qint32 {
        SelectedIsotope = 0, ///< the cluster with an isotope at the selected m/z
        LargestCluster = 1, ///< no cluster has one there: the cluster explaining most of the window
        NoCluster = 2, ///< nothing was found
    };
    Basis basis = NoCluster;
    qsizetype index = -1; ///< into the clusters; -1 with NoCluster
};

/// Of the clusters with an isotope (one of the first up to the highest matched) within `tolerance`
/// of `selectedMz`, by its model or by one of its points (an instrument selects an observed peak,
/// which may stray from the model), the one explaining most of the window; else the one explaining
/// most of the window; earlier clusters win ties.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT PrecursorChoice choosePrecursor(double selectedMz,
                                                                     const QList<SpectrumCluster> &clusters,
                                                                     const MassTolerance &tolerance);

/// The intensity of the points of `c` that match one of its isotopes within `tolerance`.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT double matchedIntensity(const ChargeScoreInfo &c, const MassTolerance &tolerance);

} // namespace zeq
