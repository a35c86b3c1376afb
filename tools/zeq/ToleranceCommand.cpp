// The tolerance subcommand: the search window that a mass tolerance opens around a mass.
#include "ToleranceCommand.h"

#include "CommandLine.h"
#include "TableWriter.h"
#include "math/MassTolerance.h"

using namespace zeq::cli;

int runTolerance(const QStringList &args)
{
    CommandParser cmd(
        QStringLiteral("tolerance"),
        QStringLiteral("[options] MASS TOLERANCE"),
        QStringLiteral("Prints the window of values that match MASS within TOLERANCE."),
        QStringLiteral("\nOutput: one row.\n"
                       "  mass       MASS as read (Da, or m/z)\n"
                       "  tolerance  the tolerance's value\n"
                       "  unit       ppm or Dalton\n"
                       "  lower      lowest value that matches, never below 0\n"
                       "  upper      highest value that matches\n"
                       "In Dalton the window is MASS ± tolerance. In ppm it is asymmetric:\n"
                       "[MASS × (1 − f), MASS / (1 − f)] with f = tolerance × 1e-6, so that the upper bound\n"
                       "shrunk by f comes back to MASS.\n"));
    QCommandLineParser &parser = cmd.parser();
    parser.addPositionalArgument(QStringLiteral("MASS"), QStringLiteral("Mass in Da (or m/z), at least 0."));
    parser.addPositionalArgument(
        QStringLiteral("TOLERANCE"),
        QStringLiteral("A number and its unit, ppm or Da (Dalton): 10ppm, 0.5Da, \"0.02 Dalton\". "
                       "Above 0 and below 1000000."));
    cmd.addOutputOptions();
    // The unit may come as its own argument: zeq tolerance 1000 10 ppm.
    if (const std::optional<int> status = cmd.parse(args, 2, 3)) {
        return *status;
    }
    const QStringList positional = cmd.positionalArguments();
    const zeq::Result<double> mass = parseNumber(QStringLiteral("mass"), positional.at(0), { 0.0 });
    const zeq::Result<zeq::MassTolerance> tolerance = parseTolerance(positional.mid(1).join(u' '));
    const TableWriter::Format format = cmd.format();
    if (mass.hasError()) {
        return fail(kExitBadUsage, mass.error().errorString());
    }
    if (tolerance.hasError()) {
        return fail(kExitBadUsage, tolerance.error().errorString());
    }
    if (!cmd.usageError().isEmpty()) {
        return fail(kExitBadUsage, cmd.usageError());
    }
    const zeq::Result<zeq::Interval<double>> window = tolerance.value().getBounds(mass.value());
    if (window.hasError()) {
        return fail(kExitBadUsage, window.error().errorString());
    }
    TableWriter table(format,
                      { { QStringLiteral("mass"), true },
                        { QStringLiteral("tolerance"), true },
                        { QStringLiteral("unit"), false },
                        { QStringLiteral("lower"), true },
                        { QStringLiteral("upper"), true } });
    table.addRow({ formatNumber(mass.value()),
                   formatNumber(tolerance.value().tolerance()),
                   tolerance.value().unitToString(),
                   formatNumber(window.value().lower),
                   formatNumber(window.value().upper) });
    return writeResult(cmd.outputPath(), table.render());
}
