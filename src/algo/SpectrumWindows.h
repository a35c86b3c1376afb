#pragma once

#include "zeq_common_core_export.h"

#include <QList>
#include <QPointF>

namespace zeq
{

/// Where a centroided spectrum is searched for isotope clusters, one window at a time.
///
/// Points further apart than GapWidth never belong to one cluster, so a spectrum is first cut at
/// every such gap. A run of points that still spans more than MaxWidth is cut further: the cluster
/// search ends once a cluster explains little of its window's intensity, so a window holding dozens
/// of clusters reports only the first few, and its cost grows faster than its number of points.
///
/// Such a run is split into cores of at most CoreWidth, each cut placed in the deepest intensity
/// valley of the core's second half. A cut may still fall inside a cluster, so each core is searched
/// with Margin of its neighbours on both sides, enough to hold any cluster of a core's edge whole,
/// and reports only the clusters whose monoisotopic m/z lies in its own core: a cluster straddling
/// a cut is found whole, and reported once.
///
/// m/z in Th throughout. Points must be ascending by m/z and finite.
struct ZEQ_COMMON_CORE_EXPORT SearchWindow {
    /// Cut wherever consecutive points lie further apart: the isotope spacing at charge 1 with room
    /// for calibration error.
    static constexpr double GapWidth = 1.1;
    /// The widest span of a singly charged peptide's isotopes that still carry a per cent of its
    /// intensity (about 3 kDa).
    static constexpr double Margin = 5.0;
    static constexpr double CoreWidth = 10.0;
    /// No window is wider: a run up to this wide is searched whole, as one window.
    static constexpr double MaxWidth = CoreWidth + 2 * Margin;

    double start = 0.0; ///< m/z range searched, first and last point included
    double end = 0.0;
    /// The clusters this window reports: mono m/z in [reportStart, reportEnd). Infinite at the ends
    /// of a run, so that every cluster found belongs to exactly one window.
    double reportStart = 0.0;
    double reportEnd = 0.0;

    [[nodiscard]] bool reports(double monoMz) const { return monoMz >= reportStart && monoMz < reportEnd; }
};

/// The windows of `points`, ascending; a run of a single point holds no cluster and gets none.
[[nodiscard]] ZEQ_COMMON_CORE_EXPORT QList<SearchWindow> searchWindows(const QList<QPointF> &points);

} // namespace zeq
