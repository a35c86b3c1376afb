// The charges subcommand: reads a two-column text spectrum and prints the isotope clusters that
// findChargesAndMonos finds in a window of it.
#include "ChargesCommand.h"

#include "CommandLine.h"
#include "PeakListReader.h"
#include "SearchOptions.h"
#include "TableWriter.h"
#include "algo/AveragineComparisonScoring.h"
#include "algo/AveragineComparisonSearch.h"
#include "constants/MassConstants.h"
#include "zeq_common_stable/PlotBase.h"

#include <cmath>
#include <limits>

using namespace zeq::cli;

namespace
{

constexpr double kInfinity = std::numeric_limits<double>::infinity();

QString details()
{
    return QStringLiteral(
               "\nOutput: one row per isotope cluster, the largest share of the window first (in the table\n"
               "format after a line that states the window, its point count and the cluster count).\n"
               "  charge     charge state z (protons carried)\n"
               "  mono_mz    m/z of the monoisotopic peak\n"
               "  mono_mass  neutral monoisotopic mass in Da: z × (mono_mz − %1)\n"
               "  percent    share of the window's total intensity that the cluster explains, in %\n"
               "  score      misfit of the averagine isotope pattern against the observed points;\n"
               "             smaller is better. A score of 1.6 plus 0.0001 per charge (1.6002 at\n"
               "             charge 2) says that at most one isotope peak matched: the cluster is a\n"
               "             lone peak, and its charge is a guess. With no fit to go by, the search\n"
               "             takes the charge whose pattern had the largest share of its isotopes\n"
               "             matched, which favours low charges. Above 1.6 no charge fitted\n"
               "             convincingly; %2 means the cluster could not be scored at all.\n"
               "\nThe spectrum file holds one \"m/z intensity\" pair per line, separated by blanks, tabs or\n"
               "a comma; '#' starts a comment; one header line such as \"mz,intensity\" is skipped.\n")
        .arg(formatNumber(zeq::kProtonMass), formatNumber(zeq::kDefaultScore));
}

} // namespace

int runCharges(const QStringList &args)
{
    CommandParser cmd(QStringLiteral("charges"),
                      QStringLiteral("[options] SPECTRUM"),
                      QStringLiteral("Finds the isotope clusters of a spectrum window and, for each, its charge "
                                     "and monoisotopic m/z."),
                      details());
    cmd.parser().addPositionalArgument(QStringLiteral("SPECTRUM"), QStringLiteral("Text file of m/z and intensity."));
    cmd.addOptions({
        Option::number(
            QStringLiteral("start"), QStringLiteral("mz"), QStringLiteral("Window start, m/z."), {}, -kInfinity)
            .withShownDefault(QStringLiteral("the first point")),
        Option::number(QStringLiteral("end"), QStringLiteral("mz"), QStringLiteral("Window end, m/z."), {}, kInfinity)
            .withShownDefault(QStringLiteral("the last point")),
    });
    SearchOptions::add(cmd);
    cmd.addOutputOptions();
    if (const std::optional<int> status = cmd.parse(args, 1, 1)) {
        return *status;
    }
    const double start = cmd.number(QStringLiteral("start"));
    const double end = cmd.number(QStringLiteral("end"));
    const SearchOptions search = SearchOptions::read(cmd);
    const zeq::ProcessorOptions &opts = search.processor;
    const TableWriter::Format format = cmd.format();
    cmd.refuseOutputsOverInputs(cmd.positionalArguments());
    if (!cmd.usageError().isEmpty()) {
        return fail(kExitBadUsage, cmd.usageError());
    }
    if (start > end) {
        return fail(kExitBadUsage,
                    QStringLiteral("--start %1 lies after --end %2").arg(formatNumber(start), formatNumber(end)));
    }

    const zeq::Result<QList<QPointF>> points = readPeakList(cmd.positionalArguments().constFirst());
    if (points.hasError()) {
        return fail(kExitBadInput, points.error().errorString());
    }
    const PlotBase plot(points.value());
    const double windowStart = std::isinf(start) ? plot.getPoint(0).x() : start;
    const double windowEnd = std::isinf(end) ? plot.getPoint(plot.getPointListSize() - 1).x() : end;

    QList<zeq::ChargeScoreInfo> clusters;
    zeq::findChargesAndMonos(opts, plot, windowStart, windowEnd, QString(), search.minFraction, clusters);
    // The search always starts at charge 1; a higher lowest charge only filters what it found.
    clusters.removeIf([&opts](const zeq::ChargeScoreInfo &c) { return c.charge < opts.minCharge; });

    TableWriter table(format,
                      { { QStringLiteral("charge"), true },
                        { QStringLiteral("mono_mz"), true },
                        { QStringLiteral("mono_mass"), true },
                        { QStringLiteral("percent"), true },
                        { QStringLiteral("score"), true } });
    for (const zeq::ChargeScoreInfo &c : clusters) {
        // The charge states are protons: the neutral mass drops one per charge.
        const double mass = c.charge * c.mzOffset - c.charge * zeq::kProtonMass;
        table.addRow({ QString::number(c.charge),
                       formatFixed(c.mzOffset, 4),
                       formatFixed(mass, 4),
                       formatFixed(100.0 * c.percentIonCurrent, 2),
                       // Significant digits: the best scores are the smallest, and must stay apart.
                       formatSignificant(c.score, 6) });
    }
    QByteArray text;
    if (format == TableWriter::Table) {
        text = QStringLiteral("# window %1 - %2 m/z, %3 points, %4 clusters\n")
                   .arg(formatFixed(windowStart, 4), formatFixed(windowEnd, 4))
                   .arg(plot.getDataPoints(windowStart, windowEnd, true).size())
                   .arg(clusters.size())
                   .toUtf8();
    }
    return writeResult(cmd.outputPath(), text + table.render());
}
