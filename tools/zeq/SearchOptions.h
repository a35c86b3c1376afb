#pragma once

#include "CommandLine.h"
#include "algo/AveragineComparisonRecords.h"

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

} // namespace zeq::cli
