// The sum subcommand: reads the selected spectra of one or more files and writes their sum, made by
// SpectraSumming, as a peak list or an mzML file.
#include "SumCommand.h"

#include "CommandLine.h"
#include "MzMLWriter.h"
#include "SpectrumSource.h"
#include "TableWriter.h"
#include "algo/SpectraSumming.h"

#include <cstdio>
#include <limits>

using namespace zeq::cli;

namespace
{

QString details()
{
    return QStringLiteral(
        "\nThe points of every selected spectrum are pooled by m/z; points at the same m/z are added; each\n"
        "point is then smoothed with its neighbours closer than the tolerance (weight falling linearly to\n"
        "0 at the tolerance), which adds their intensity and moves it to their weighted centre; only\n"
        "points with no more intense neighbour within the tolerance are kept, and two equal peaks within\n"
        "the tolerance with nothing else near are joined. A ppm tolerance is never narrower than\n"
        "0.02 m/z.\n"
        "Profile spectra are centroided first (see --peak-picking), so that peaks are added, as from\n"
        "centroided files, and the sum is a centroided spectrum whatever the input.\n"
        "\nMemory: the smoothing needs every point at once, so the (centroided) points of all selected\n"
        "spectra are held, about 50 bytes per point at the peak; spectra are read one at a time, so a\n"
        "profile spectrum costs only while it is centroided.\n"
        "\nOutput: one row per peak, by m/z: mz, intensity. --format mzml writes one centroided MS1\n"
        "spectrum in mzML instead. A summary (spectra, points, peaks) goes to standard error.\n"
        "\nFILE is mzML, mzXML, MGF or a two-column \"m/z intensity\" peak list; - reads standard input.\n");
}

} // namespace

int runSum(const QStringList &args)
{
    CommandParser cmd(QStringLiteral("sum"),
                      QStringLiteral("[options] FILE..."),
                      QStringLiteral("Adds the selected spectra of one or more files into one peak list."),
                      details());
    cmd.parser().addPositionalArgument(
        QStringLiteral("FILE"), QStringLiteral("Spectrum files."), QStringLiteral("FILE..."));
    cmd.addSelectionOptions();
    cmd.addOptions({
        Option::tolerance(QStringLiteral("tolerance"),
                          QStringLiteral("How close points must lie to be added into one peak: the half-width of "
                                         "the smoothing and the closeness of peaks."),
                          kDefaultSumTolerance),
    });
    cmd.addOutputOptions({ { QStringLiteral("mzml"), QStringLiteral("one centroided MS1 spectrum") } });
    if (const std::optional<int> status = cmd.parse(args, 1, std::numeric_limits<qsizetype>::max())) {
        return *status;
    }
    const bool mzml = cmd.choice(QStringLiteral("format")) == u"mzml";
    const TableWriter::Format format = mzml ? TableWriter::Table : cmd.format();

    const SpectrumSelection selection = cmd.selection();
    const zeq::MassTolerance tolerance = cmd.tolerance(QStringLiteral("tolerance"));
    const QStringList files = cmd.positionalArguments();
    cmd.refuseOutputsOverInputs(files);
    if (!cmd.usageError().isEmpty()) {
        return fail(kExitBadUsage, cmd.usageError());
    }
    if (cmd.isSet(QStringLiteral("scan")) && cmd.isSet(QStringLiteral("rt"))) {
        return fail(kExitBadUsage, QStringLiteral("--scan and --rt both pick spectra; give one of them"));
    }

    // Every file is read before summing, so a bad file fails the run whatever its place in the list.
    QList<zeq::Spectra> spectra;
    qsizetype pointCount = 0;
    qsizetype skipped = 0;
    for (const QString &file : files) {
        // Only the (centroided) points are kept: a profile spectrum is held alone, while it is centroided.
        const Error err = readSpectra(file, selection, &skipped, [&](Spectrum &&s) {
            pointCount += s.points.size();
            spectra.append({ std::move(s.points) });
            return Error();
        });
        if (err.hasError()) {
            return fail(kExitBadInput, err.errorString());
        }
    }
    if (spectra.isEmpty()) {
        return fail(
            kExitBadInput,
            QStringLiteral("no spectrum of %1 matches the selection").arg(elide(files.join(QStringLiteral(", ")))));
    }
    const zeq::SpectraSumming::Options options{ tolerance, tolerance };
    const QList<QPointF> sum = zeq::SpectraSumming::doSumming(options, spectra);

    QByteArray bytes;
    if (mzml) {
        zeq::Result<QByteArray> document = mzMLDocument(sum, spectra.size());
        if (document.hasError()) {
            return fail(kExitBadInput, document.error().errorString());
        }
        bytes = std::move(document).value();
    } else {
        TableWriter table(format, { { QStringLiteral("mz"), true }, { QStringLiteral("intensity"), true } });
        for (const QPointF &p : sum) {
            table.addRow({ formatNumber(p.x()), formatNumber(p.y()) });
        }
        bytes = table.render();
    }
    const int status = writeResult(cmd.outputPath(), bytes);
    if (status == kExitSuccess) {
        std::fprintf(stderr,
                     "zeq: %lld spectra, %lld points summed into %lld peaks%s\n",
                     static_cast<long long>(spectra.size()),
                     static_cast<long long>(pointCount),
                     static_cast<long long>(sum.size()),
                     skippedNote(skipped).toUtf8().constData());
    }
    return status;
}
