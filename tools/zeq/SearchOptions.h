#pragma once

#include "CommandLine.h"
#include "algo/AveragineComparisonRecords.h"

#include <QList>
#include <QPointF>

namespace zeq::cli
{

/// The cluster search's settings as every searching command takes them from its command line: the
/// charge range, when the search stops, and the model's peak width.
struct SearchOptions {
    /// Adds --min-charge, --max-charge, --min-percent, --scaling, --sigma and --verbose.
    static void add(CommandParser &cmd);
    /// Reads them once cmd.parse() succeeded. A refused value, or a lowest charge above the highest,
    /// is left in cmd.usageError(). Unless --verbose is given, the search's own log is silenced.
    static SearchOptions read(CommandParser &cmd);

    /// The model's peak width σ at `mz`, in m/z, as the search places it there.
    [[nodiscard]] double sigmaAt(double mz) const;

    ProcessorOptions processor;
    double minFraction = 0.01; ///< share of a window's intensity, 0 to 1
};

/// A spectrum's noise level as --snr takes it: the median of its positive, finite intensities (0
/// when it has none).
double noiseLevel(const QList<QPointF> &points);
/// The points, in input order, whose intensity is at least `ratio` times noiseLevel(points); points
/// of zero, negative or non-finite intensity are dropped.
QList<QPointF> keepAboveNoise(const QList<QPointF> &points, double ratio);

} // namespace zeq::cli
