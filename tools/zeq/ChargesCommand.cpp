// The charges subcommand: reads a two-column text spectrum and prints the isotope clusters that
// findChargesAndMonos finds in a window of it.
#include "ChargesCommand.h"

#include "algo/AveragineComparisonSearch.h"
#include "constants/MassConstants.h"
#include "zeq_common_stable/PlotBase.h"

#include <QCommandLineParser>
#include <QFile>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <optional>

namespace
{

int fail(const QString &message)
{
    std::fprintf(stderr, "zeq: %s\n", qPrintable(message));
    return 1;
}

// Lines of "m/z intensity", separated by blanks, tabs or one comma; '#' starts a comment.
std::optional<QList<QPointF>> readSpectrum(const QString &path, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = QStringLiteral("Can't read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    static const QRegularExpression separator(QStringLiteral(R"(\s*,\s*|\s+)"));
    QList<QPointF> points;
    QTextStream in(&file);
    for (int lineNumber = 1; !in.atEnd(); ++lineNumber) {
        QString line = in.readLine();
        line.truncate(line.indexOf(u'#') < 0 ? line.size() : line.indexOf(u'#'));
        line = line.trimmed();
        if (line.isEmpty()) {
            continue;
        }
        const QStringList fields = line.split(separator);
        bool mzOk = false;
        bool yOk = false;
        const double mz = fields.size() == 2 ? fields.at(0).toDouble(&mzOk) : 0.0;
        const double y = fields.size() == 2 ? fields.at(1).toDouble(&yOk) : 0.0;
        if (!mzOk || !yOk || !std::isfinite(mz) || !std::isfinite(y)) {
            error = QStringLiteral("%1 line %2: expected two numbers, m/z and intensity, got \"%3\"")
                        .arg(path)
                        .arg(lineNumber)
                        .arg(line);
            return std::nullopt;
        }
        points.append(QPointF(mz, y));
    }
    if (points.isEmpty()) {
        error = QStringLiteral("%1 holds no points").arg(path);
        return std::nullopt;
    }
    return points;
}

std::optional<double> numberOption(const QCommandLineParser &parser, const QString &name, QString &error)
{
    if (!parser.isSet(name)) {
        return std::nullopt;
    }
    bool ok = false;
    const double value = parser.value(name).toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        error = QStringLiteral("--%1 needs a number, got \"%2\"").arg(name, parser.value(name));
        return std::nullopt;
    }
    return value;
}

} // namespace

int runCharges(const QStringList &args)
{
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("spectrum"), QStringLiteral("Text file of m/z and intensity."));
    parser.addOptions({
        { QStringLiteral("start"), QStringLiteral("Window start m/z (default: first point)."), QStringLiteral("mz") },
        { QStringLiteral("end"), QStringLiteral("Window end m/z (default: last point)."), QStringLiteral("mz") },
        { QStringLiteral("min-charge"), QStringLiteral("Lowest charge (default 1)."), QStringLiteral("z") },
        { QStringLiteral("max-charge"), QStringLiteral("Highest charge (default 35)."), QStringLiteral("z") },
        { QStringLiteral("min-percent"),
          QStringLiteral("Stop at clusters explaining at most half this percentage of the window (default 1)."),
          QStringLiteral("percent") },
        { QStringLiteral("verbose"), QStringLiteral("Show the search's own warnings.") },
    });
    if (!parser.parse(QStringList{ QStringLiteral("zeq charges") } + args)) {
        return fail(parser.errorText());
    }
    if (parser.positionalArguments().size() != 1) {
        return fail(
            QStringLiteral("charges needs one spectrum file, e.g. `zeq charges spectrum.txt --start 600 --end 800`"));
    }
    // The search reports its inner diagnostics through logging; a command line shows them on request.
    QLoggingCategory::setFilterRules(parser.isSet(QStringLiteral("verbose")) ? QStringLiteral("zeq.*.debug=false")
                                                                             : QStringLiteral("zeq.*=false"));

    QString error;
    const std::optional<QList<QPointF>> points = readSpectrum(parser.positionalArguments().constFirst(), error);
    if (!points) {
        return fail(error);
    }
    const PlotBase plot(*points);
    const std::optional<double> start = numberOption(parser, QStringLiteral("start"), error);
    const std::optional<double> end = numberOption(parser, QStringLiteral("end"), error);
    const std::optional<double> minCharge = numberOption(parser, QStringLiteral("min-charge"), error);
    const std::optional<double> maxCharge = numberOption(parser, QStringLiteral("max-charge"), error);
    const std::optional<double> minPercent = numberOption(parser, QStringLiteral("min-percent"), error);
    if (!error.isEmpty()) {
        return fail(error);
    }
    zeq::ProcessorOptions opts;
    opts.minCharge = static_cast<int>(minCharge.value_or(1.0));
    opts.maxCharge = static_cast<int>(maxCharge.value_or(35.0));
    if (opts.minCharge < 1 || opts.maxCharge > 100 || opts.minCharge > opts.maxCharge) {
        return fail(QStringLiteral("charges must satisfy 1 <= --min-charge <= --max-charge <= 100, got %1 and %2")
                        .arg(opts.minCharge)
                        .arg(opts.maxCharge));
    }
    const double windowStart = start.value_or(plot.getPoint(0).x());
    const double windowEnd = end.value_or(plot.getPoint(plot.getPointListSize() - 1).x());
    if (windowStart > windowEnd) {
        return fail(QStringLiteral("--start %1 lies after --end %2").arg(windowStart).arg(windowEnd));
    }

    QList<zeq::ChargeScoreInfo> clusters;
    zeq::findChargesAndMonos(opts, plot, windowStart, windowEnd, QString(), minPercent.value_or(1.0) / 100.0, clusters);

    clusters.removeIf([&opts](const zeq::ChargeScoreInfo &c) { return c.charge < opts.minCharge; });

    QTextStream out(stdout);
    out << "# window " << QString::number(windowStart, 'f', 4) << " - " << QString::number(windowEnd, 'f', 4)
        << " m/z, " << plot.getDataPoints(windowStart, windowEnd, true).size() << " points, " << clusters.size()
        << " clusters\n";
    out << "# charge\tmono m/z\tmono mass\t% window\tscore\n";
    for (const zeq::ChargeScoreInfo &c : clusters) {
        // The charge states are protons: the neutral mass drops one per charge.
        const double mass = c.charge * c.mzOffset - c.charge * zeq::kProtonMass;
        out << c.charge << '\t' << QString::number(c.mzOffset, 'f', 4) << '\t' << QString::number(mass, 'f', 4) << '\t'
            << QString::number(100.0 * c.percentIonCurrent, 'f', 2) << '\t' << QString::number(c.score, 'g', 4) << '\n';
    }
    return 0;
}
