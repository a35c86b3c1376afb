// The isotope-cluster searches: one window (findChargesAndMonos), a whole spectrum or one isolation
// window of it (SpectrumClusterSearch), and the windows a spectrum is cut into.
#include "Bindings_p.h"
#include "algo/AveragineComparisonSearch.h"
#include "algo/ImprovedClusterSearch.h"
#include "algo/SpectrumClusterSearch.h"
#include "constants/MassConstants.h"
#include "zeq_common_stable/PlotBase.h"

#include <cmath>
#include <cstdint>
#include <optional>

namespace zeq::python
{

namespace
{

// Rows of the record arrays returned; numpy's record types are made from their layout.
struct ClusterRow {
    std::int32_t charge;
    double mono_mz;
    double neutral_mass;
    double score;
    double percent;
    double scale;
    std::int32_t isotopes;
};

struct SpectrumClusterRow {
    double window_start;
    double window_end;
    std::int32_t charge;
    double mono_mz;
    double neutral_mass;
    double score;
    double percent;
    double scale;
    std::int32_t isotopes;
};

struct WindowRow {
    double start;
    double end;
    double report_start;
    double report_end;
};

/// The model's peak width at m/z 1000 whatever the scaling, as the zeq program defaults it.
constexpr double kDefaultSigmaAt1000 = 0.015;

ProcessorOptions processorOptions(int minCharge, int maxCharge, std::optional<double> sigma, int scaling)
{
    if (minCharge < 1 || maxCharge > kMaxChargeLimit || minCharge > maxCharge) {
        raiseBadParameter(QStringLiteral("Charges %1 to %2 are no range within 1 to %3")
                              .arg(minCharge)
                              .arg(maxCharge)
                              .arg(kMaxChargeLimit));
    }
    if (scaling != ConstantUncertainty && scaling != SqrtUncertainty && scaling != ProportionalUncertainty) {
        raiseBadParameter(QStringLiteral("Unknown uncertainty scaling %1").arg(scaling));
    }
    ProcessorOptions opts;
    opts.minCharge = minCharge;
    opts.maxCharge = maxCharge;
    opts.uncertaintyScaling = UncertaintyScaling(scaling);
    opts.stdDev = sigma                      ? *sigma
        : scaling == ProportionalUncertainty ? kDefaultSigmaAt1000 * 1000.0
                                             : kDefaultSigmaAt1000;
    if (!(opts.stdDev > 0.0) || std::isinf(opts.stdDev)) {
        raiseBadParameter(QStringLiteral("sigma %1 is no peak width above 0").arg(opts.stdDev));
    }
    return opts;
}

void checkFraction(double minFraction)
{
    if (!(minFraction >= 0.0 && minFraction <= 1.0)) {
        raiseBadParameter(QStringLiteral("min_fraction %1 lies outside 0 to 1").arg(minFraction));
    }
}

ClusterRow rowOf(const ChargeScoreInfo &c, int isotopes)
{
    ClusterRow row;
    row.charge = c.charge;
    row.mono_mz = c.mzOffset;
    row.neutral_mass = c.charge * c.mzOffset - c.charge * kProtonMass;
    row.score = c.score;
    row.percent = 100.0 * c.percentIonCurrent;
    row.scale = c.scaleFact;
    row.isotopes = isotopes;
    return row;
}

template <typename Row> py::array_t<Row> arrayOf(const std::vector<Row> &rows)
{
    py::array_t<Row> out(py::ssize_t(rows.size()));
    std::copy(rows.begin(), rows.end(), out.mutable_data());
    return out;
}

/// The improved mode's options for `mode` "improved", none for "design".
std::optional<ImprovedSearchOptions> searchMode(const QString &mode, const ProcessorOptions &processor)
{
    if (mode == u"design") {
        return std::nullopt;
    }
    if (mode != u"improved") {
        raiseBadParameter(QStringLiteral("Unknown search mode \"%1\": use \"design\" or \"improved\"").arg(mode));
    }
    ImprovedSearchOptions improved;
    improved.processor = processor;
    return improved;
}

py::array_t<ClusterRow> findChargesAndMonosPy(const DoubleArray &mz,
                                              const DoubleArray &intensity,
                                              double start,
                                              double end,
                                              int minCharge,
                                              int maxCharge,
                                              std::optional<double> sigma,
                                              int scaling,
                                              double minFraction,
                                              const MassTolerance &tolerance,
                                              const QString &mode)
{
    const ProcessorOptions opts = processorOptions(minCharge, maxCharge, sigma, scaling);
    const std::optional<ImprovedSearchOptions> improved = searchMode(mode, opts);
    checkFraction(minFraction);
    if (!(start <= end)) {
        raiseBadParameter(QStringLiteral("The window start %1 lies after its end %2").arg(start).arg(end));
    }
    const PlotBase plot(pointsFromArrays(mz, intensity, false));
    std::vector<ClusterRow> rows;
    {
        py::gil_scoped_release release;
        QList<ChargeScoreInfo> clusters;
        if (improved) {
            findClustersImproved(*improved, plot, start, end, minFraction, clusters);
        } else {
            findChargesAndMonos(opts, plot, start, end, QString(), minFraction, clusters);
        }
        for (const ChargeScoreInfo &c : clusters) {
            // The search always starts at charge 1; a higher lowest charge filters what it found.
            if (c.charge >= opts.minCharge) {
                rows.push_back(rowOf(c, matchedIsotopeCount(c, tolerance)));
            }
        }
    }
    return arrayOf(rows);
}

py::array_t<SpectrumClusterRow> findSpectrumClustersPy(const DoubleArray &mz,
                                                       const DoubleArray &intensity,
                                                       std::optional<std::pair<double, double>> window,
                                                       int minCharge,
                                                       int maxCharge,
                                                       std::optional<double> sigma,
                                                       int scaling,
                                                       double minFraction,
                                                       const MassTolerance &tolerance,
                                                       int minIsotopes,
                                                       double signalToNoise,
                                                       const QString &mode)
{
    SpectrumSearchOptions options;
    options.processor = processorOptions(minCharge, maxCharge, sigma, scaling);
    options.improved = searchMode(mode, options.processor);
    checkFraction(minFraction);
    options.minFraction = minFraction;
    options.tolerance = tolerance;
    options.minIsotopes = minIsotopes;
    options.signalToNoise = signalToNoise;
    if (window && !(window->first <= window->second)) {
        raiseBadParameter(
            QStringLiteral("The window start %1 lies after its end %2").arg(window->first).arg(window->second));
    }
    if (std::isnan(signalToNoise)) {
        raiseBadParameter(QStringLiteral("signal_to_noise is NaN"));
    }
    const QList<QPointF> points = pointsFromArrays(mz, intensity, true);
    std::vector<SpectrumClusterRow> rows;
    {
        py::gil_scoped_release release;
        const QList<SpectrumCluster> clusters = window
            ? findWindowClusters(points, window->first, window->second, options)
            : findSpectrumClusters(points, options);
        rows.reserve(size_t(clusters.size()));
        for (const SpectrumCluster &c : clusters) {
            const ClusterRow r = rowOf(c.cluster, c.matchedIsotopes);
            rows.push_back({ c.windowStart,
                             c.windowEnd,
                             r.charge,
                             r.mono_mz,
                             r.neutral_mass,
                             r.score,
                             r.percent,
                             r.scale,
                             r.isotopes });
        }
    }
    return arrayOf(rows);
}

constexpr const char *kSearchOptionsDoc =
    "min_charge, max_charge: charges tried are 1 to max_charge (at most 500); clusters below min_charge are not "
    "reported. scaling: UncertaintyScaling, how the model's peak width (Gaussian σ) grows with m/z. sigma: "
    "that width, in Th at m/z 1000 for SQRT (default 0.015), in ppm for PROPORTIONAL (default 15), in Th for "
    "CONSTANT (default 0.015). min_fraction: a window's search stops once a cluster explains at most half this "
    "share (0 to 1) of its intensity. mode: \"improved\", the search that estimates the model's width from the "
    "data, takes high charges from their isotopes' spacing, places proteins by their envelope and drops clusters "
    "lost in the noise (the default of find_spectrum_clusters, as of the zeq program), or \"design\", the search "
    "exactly as designed (the default of find_charges_and_monos, as of zeq charges). ";

constexpr const char *kClusterColumnsDoc =
    "charge (int32), mono_mz (Th, the monoisotopic peak's m/z), neutral_mass (Da, z × (mono_mz − proton mass)), "
    "score (misfit of the averagine pattern, smaller is better), percent (share of the window's intensity the "
    "cluster explains, 0 to 100), scale (the model's intensity scale), isotopes (int32, distinct isotopes that "
    "an observed point matches within tolerance).";

} // namespace

void bindIsotopeSearch(py::module_ &m)
{
    PYBIND11_NUMPY_DTYPE(ClusterRow, charge, mono_mz, neutral_mass, score, percent, scale, isotopes);
    PYBIND11_NUMPY_DTYPE(
        SpectrumClusterRow, window_start, window_end, charge, mono_mz, neutral_mass, score, percent, scale, isotopes);
    PYBIND11_NUMPY_DTYPE(WindowRow, start, end, report_start, report_end);
    const py::object sqrt = py::int_(int(SqrtUncertainty));
    const MassTolerance tenPpm(MassTolerance::ppm, 10.0);

    m.def("find_charges_and_monos",
          &findChargesAndMonosPy,
          py::arg("mz"),
          py::arg("intensity"),
          py::arg("start"),
          py::arg("end"),
          py::kw_only(),
          py::arg("min_charge") = 1,
          py::arg("max_charge") = 35,
          py::arg("sigma") = py::none(),
          py::arg("scaling") = sqrt,
          py::arg("min_fraction") = 0.01,
          py::arg("tolerance") = tenPpm,
          py::arg("mode") = "design",
          (std::string("The isotope clusters of the window [start, end] (Th) of a centroided spectrum given as "
                       "arrays of m/z (Th) and intensity, by descending share of the window's intensity. Points "
                       "are sorted by m/z first; negative, infinite and NaN intensities count as 0. ")
           + kSearchOptionsDoc
           + "tolerance: MassTolerance for counting matched isotopes. Returns a numpy structured array with "
             "fields "
           + kClusterColumnsDoc)
              .c_str());

    m.def("find_spectrum_clusters",
          &findSpectrumClustersPy,
          py::arg("mz"),
          py::arg("intensity"),
          py::kw_only(),
          py::arg("window") = py::none(),
          py::arg("min_charge") = 1,
          py::arg("max_charge") = 35,
          py::arg("sigma") = py::none(),
          py::arg("scaling") = sqrt,
          py::arg("min_fraction") = 0.01,
          py::arg("tolerance") = tenPpm,
          py::arg("min_isotopes") = 2,
          py::arg("signal_to_noise") = 0.0,
          py::arg("mode") = "improved",
          (std::string("The isotope clusters of a whole centroided spectrum (m/z ascending and finite, in Th), "
                       "searched window by window as the zeq program does: windows by m/z, within a window by "
                       "descending share. window=(start, end) searches only the clusters of that m/z range, as "
                       "for a precursor's isolation window. ")
           + kSearchOptionsDoc
           + "tolerance: MassTolerance within which a point matches an isotope; clusters matching fewer than "
             "min_isotopes distinct isotopes are dropped. signal_to_noise above 0 searches only points at least "
             "that many times the spectrum's noise level. Returns a numpy structured array with fields "
             "window_start, window_end (Th) and "
           + kClusterColumnsDoc)
              .c_str());

    m.def(
        "search_windows",
        [](const DoubleArray &mz, const DoubleArray &intensity) {
            const QList<QPointF> points = pointsFromArrays(mz, intensity, true);
            std::vector<WindowRow> rows;
            for (const SearchWindow &w : searchWindows(points)) {
                rows.push_back({ w.start, w.end, w.reportStart, w.reportEnd });
            }
            return arrayOf(rows);
        },
        py::arg("mz"),
        py::arg("intensity"),
        "The windows (Th) find_spectrum_clusters searches a spectrum in: fields start, end (the m/z range "
        "searched) and report_start, report_end (the mono m/z range whose clusters the window reports, "
        "infinite at a run's ends).");
}

} // namespace zeq::python
