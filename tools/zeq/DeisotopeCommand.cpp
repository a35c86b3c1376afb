// The deisotope subcommand: reads spectrum files, cuts each selected spectrum into windows and
// prints the isotope clusters that findChargesAndMonos finds in each window, or writes the spectra
// with what it found as MGF or mzML (SpectrumOutput.h).
#include "DeisotopeCommand.h"

#include "CommandLine.h"
#include "Modules.h"
#include "MzMLWriter.h"
#include "OrderedWork.h"
#include "SearchOptions.h"
#include "SpectrumOutput.h"
#include "SpectrumPlot.h"
#include "SpectrumSource.h"
#include "SpectrumSource_p.h"
#include "SumCommand.h"
#include "TableWriter.h"
#include "algo/SpectraSumming.h"
#include "algo/SpectrumClusterSearch.h"
#include "algo/SpectrumWindows.h"
#include "constants/MassConstants.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <unistd.h>

using namespace zeq::cli;

namespace
{

constexpr double kInfinity = std::numeric_limits<double>::infinity();

/// What every spectrum's search needs, read once from the command line.
struct Settings {
    zeq::SpectrumSearchOptions options; ///< search, --snr, --tolerance and --min-isotopes together
    zeq::MassTolerance sumTolerance = kDefaultSumTolerance;
    std::optional<Range> window;
    bool precursor = false;
    bool sumScans = false;
    QString plotPath;
    /// Spectra rather than a table: --format mgf or mzml.
    enum class Output { Table, Mgf, MzML } output = Output::Table;
};

/// One spectrum to search: its own points, or (for --precursor) its precursor's isolation window in
/// the MS1 spectrum before it. Owns what it searches, which may be shared with other jobs.
struct Job {
    QString file;
    std::shared_ptr<const Spectrum> spectrum;
    std::shared_ptr<const Spectrum> searched;
    std::optional<Range> window;
};

/// How the clusters found for an MS2 spectrum's precursor compare with what its file states.
enum class Stated { Agree, Differ, Without };

struct JobResult {
    Job job;
    int windows = 0;
    Stated stated = Stated::Without;
    ChosenPrecursor precursor; ///< with --precursor
    QList<QStringList> rows;
    QList<zeq::SpectrumCluster> clusters; ///< those of the rows, kept for --plot, --precursor and mzML only
};

/// With --precursor: the precursor chosen from the clusters found, and how that compares with what
/// the file states.
void judgePrecursor(const Job &job, const Settings &settings, JobResult &result)
{
    const std::optional<Precursor> &stated = job.spectrum->precursor;
    if (!settings.precursor || !stated) {
        return;
    }
    const zeq::MassTolerance &tolerance = settings.options.tolerance;
    result.precursor = choosePrecursor(*stated, result.clusters, tolerance);
    result.stated = !stated->statedCharge || !stated->statedMz ? Stated::Without
        : confirmsStated(*stated, result.precursor, tolerance) ? Stated::Agree
                                                               : Stated::Differ;
}

JobResult search(const Job &job, const Settings &settings)
{
    JobResult result;
    result.job = job;
    const QList<QPointF> &points = job.searched->points;
    QList<zeq::SpectrumCluster> found = job.window
        ? zeq::findWindowClusters(points, job.window->start, job.window->end, settings.options, &result.windows)
        : zeq::findSpectrumClusters(points, settings.options, &result.windows);
    const Spectrum &s = *job.spectrum;
    const std::optional<Precursor> &precursor = s.precursor;
    const QString scan = s.scanNumber > 0 ? QString::number(s.scanNumber) : QString();
    const QString rt = std::isnan(s.retentionTime) ? QString() : formatFixed(s.retentionTime, 4);
    for (const zeq::SpectrumCluster &cluster : found) {
        const zeq::ChargeScoreInfo &c = cluster.cluster;
        QStringList row{ job.file,
                         s.nativeId,
                         scan,
                         rt,
                         formatFixed(cluster.windowStart, 4),
                         formatFixed(cluster.windowEnd, 4),
                         QString::number(c.charge),
                         formatFixed(c.mzOffset, 4),
                         formatFixed(cluster.neutralMass(), 4),
                         formatSignificant(c.score, 6),
                         formatFixed(100.0 * c.percentIonCurrent, 2),
                         formatSignificant(c.scaleFact, 6),
                         QString::number(cluster.matchedIsotopes) };
        if (settings.precursor) {
            row << (precursor && precursor->statedCharge ? QString::number(*precursor->statedCharge) : QString())
                << (precursor && precursor->statedMz ? formatFixed(*precursor->statedMz, 4) : QString());
        }
        if (cluster.alternatives) {
            row << alternativeCells(*cluster.alternatives);
        }
        result.rows.append(row);
    }
    if (!settings.plotPath.isEmpty() || settings.precursor || settings.output == Settings::Output::MzML) {
        result.clusters = std::move(found);
    }
    judgePrecursor(job, settings, result);
    return result;
}

/// Turns the spectra of a file, in file order, into jobs: each spectrum, or with --precursor each MS2
/// spectrum's precursor isolation window in the MS1 spectrum before it (an MS2 spectrum without a
/// precursor is skipped, one without an MS1 spectrum before it with a warning).
class JobMaker
{
public:
    JobMaker(const QString &file, const Settings &settings)
        : m_file(file)
        , m_settings(settings)
    {
    }

    std::optional<Job> next(Spectrum &&read)
    {
        auto s = std::make_shared<const Spectrum>(std::move(read));
        if (!m_settings.precursor) {
            return Job{ m_file, s, s, m_settings.window };
        }
        // Pairing across a left-out MS1 spectrum would search an older one.
        if (s->afterSkippedMs1) {
            m_lastMs1.reset();
        }
        if (s->msLevel == 1) {
            m_lastMs1 = std::move(s);
        } else if (s->precursor && !m_lastMs1) {
            warnSkipped(m_file == u"-" ? QStringLiteral("standard input") : m_file,
                        s->nativeId,
                        QStringLiteral("no MS1 spectrum before it to search its precursor in"));
        } else if (s->precursor) {
            const Range isolation{ s->precursor->isolationLow, s->precursor->isolationHigh };
            return Job{ m_file, s, m_lastMs1, isolation };
        }
        return std::nullopt;
    }

private:
    QString m_file;
    const Settings &m_settings;
    std::shared_ptr<const Spectrum> m_lastMs1;
};

/// The searched points of `job` (its window alone, if it has one) with the clusters reported.
SpectrumPlot plotOf(const Job &job, const JobResult &result, const Settings &settings)
{
    const Spectrum &s = *job.spectrum;
    const QString name = job.file == u"-" ? QStringLiteral("standard input") : QFileInfo(job.file).fileName();
    const QString scan = s.scanNumber > 0 ? QStringLiteral("scan %1").arg(s.scanNumber) : s.nativeId;
    SpectrumPlot plot;
    plot.title = QStringLiteral("%1 — %2").arg(name, scan);
    if (job.searched != job.spectrum) {
        plot.title += QStringLiteral(", precursor %1 m/z").arg(formatFixed(s.precursor->mz, 4));
    }
    if (!std::isnan(job.searched->retentionTime)) {
        plot.title += QStringLiteral(", %1 min").arg(formatFixed(job.searched->retentionTime, 2));
    }
    plot.points = job.searched->points;
    plot.profile = job.searched->profile;
    if (!plot.points.isEmpty()) {
        plot.start = plot.points.constFirst().x();
        plot.end = plot.points.constLast().x();
    }
    if (job.window) {
        plot.start = std::max(plot.start, job.window->start);
        plot.end = std::min(plot.end, job.window->end);
    }
    for (const zeq::SpectrumCluster &found : result.clusters) {
        const zeq::ChargeScoreInfo &c = found.cluster;
        PlottedCluster drawn{ c.charge,
                              c.mzOffset,
                              c.scaleFact,
                              SearchOptions{ settings.options.processor, settings.options.minFraction }.sigmaAt(
                                  c.mzOffset) };
        if (found.alternatives) {
            if (found.alternatives->monoBelow.isValid()) {
                drawn.monoBelow = found.alternatives->monoBelow.monoMz;
            }
            if (found.alternatives->monoAbove.isValid()) {
                drawn.monoAbove = found.alternatives->monoAbove.monoMz;
            }
        }
        plot.clusters.append(drawn);
    }
    return plot;
}

/// The spectra added into one, as zeq sum adds them: a spectrum with no scan or time of its own.
QList<Spectrum> summed(const QList<Spectrum> &spectra, const zeq::MassTolerance &tolerance)
{
    if (spectra.isEmpty()) {
        return {};
    }
    QList<zeq::Spectra> pooled;
    pooled.reserve(spectra.size());
    for (const Spectrum &s : spectra) {
        pooled.append({ s.points });
    }
    Spectrum sum;
    sum.nativeId = QStringLiteral("sum of %1 spectra").arg(spectra.size());
    sum.msLevel = spectra.constFirst().msLevel;
    sum.points = zeq::SpectraSumming::doSumming({ tolerance, tolerance }, pooled);
    return { sum };
}

QString details()
{
    return QStringLiteral(
               "\nEach spectrum is cut into windows wherever no point lies within %1 m/z of the next (a\n"
               "cluster never spans such a gap), and each window is searched on its own. A stretch wider\n"
               "than %3 m/z is cut further, in the lowest intensity valleys, into parts of at most %4 m/z,\n"
               "each searched with %5 m/z of its neighbours on both sides and reporting only the clusters\n"
               "whose mono_mz lies in the part itself: a cluster across a cut is found whole, and once.\n"
               "\n--mode improved (the default) searches each window with seven repairs: it goes on past a\n"
               "cluster that explains little of the window while stronger points remain; it penalises points that\n"
               "earlier clusters explain by their own marks; its model peaks are 2.5 times as wide as the\n"
               "centroids' m/z precision that the evenness of the spectrum's isotope ladders shows (σ in ppm,\n"
               "estimated once per spectrum, at least 2 ppm, never wider than --sigma; --sigma's width where\n"
               "too few ladders show); from charge 10 on it takes the charge the spacing of a cluster's\n"
               "isotopes calls for; it moves clusters above 4 kDa by whole isotopes until the model's mean\n"
               "m/z meets theirs; it drops clusters whose tallest point is under 4 times the window's\n"
               "weakest point not their own, where noise peaks fit some charge by chance; and it tries only\n"
               "the charges a cluster's mass could carry, 300 Da for each charge beyond the first.\n"
               "--plot draws every model at --sigma's width.\n"
               "\nOutput: one row per isotope cluster, spectra in file order, windows by m/z, clusters by\n"
               "their share of the window.\n"
               "  file, spectrum_id, scan, rt        where the spectrum is; rt in minutes\n"
               "  window_start, window_end           the m/z window searched\n"
               "  charge, mono_mz                    charge state and monoisotopic m/z\n"
               "  mono_mass                          neutral monoisotopic mass in Da: z × (mono_mz − %2)\n"
               "  score                              misfit of the averagine pattern, smaller is better;\n"
               "                                     1.6 plus 0.0001 per charge: a lone peak\n"
               "  percent                            share of the window's intensity explained, in %\n"
               "  scale                              intensity factor of the fitted averagine pattern\n"
               "  isotopes                           distinct isotopes matched within --tolerance\n"
               "With --precursor, two more:\n"
               "  instrument_charge, instrument_mz   the MS2 precursor's charge and m/z as the file states\n"
               "                                     them (mzML selected ion, mzXML precursorCharge and\n"
               "                                     precursorMz, MGF CHARGE and PEPMASS); empty when absent\n"
               "With --explain, seven more: what else each cluster could have been. Each reading, the\n"
               "cluster's own included, is placed and scored afresh the same way (no point counted as\n"
               "explained by another cluster), so these scores differ a little from score:\n"
               "  alt_charge, alt_mono_mz            the best-scoring reading at another charge from 1 to\n"
               "                                     --max-charge, on the cluster's tallest point\n"
               "  alt_charge_score                   its score\n"
               "  mono_below_score, mono_above_score the same charge with the mono one isotope lower, higher\n"
               "  rescored                           the cluster itself, scored afresh\n"
               "  confidence                         1 − rescored / the best of the three alternatives'\n"
               "                                     scores: near 1 when the cluster fits far better than any\n"
               "                                     alternative, 0 for a tie, below 0 when one fits better\n"
               "A summary (spectra, windows, clusters, seconds) goes to standard error. With --precursor it\n"
               "counts the file's precursors too: those that agree with the precursor chosen, those that\n"
               "differ, and those without a charge or m/z stated.\n"
               "\nThe precursor chosen for an MS2 spectrum: of the clusters found in its isolation window,\n"
               "those with an isotope within --tolerance of the selected m/z (the file's, else the isolation\n"
               "target), by the model or by a matched point; of these the one with the largest percent; when\n"
               "none has, the cluster with the largest percent; when no cluster is found, the file's own m/z\n"
               "and charge. A precursor whose charge and m/z the file states agrees when the choice has that\n"
               "charge and, within --tolerance, that m/z; it differs otherwise, also when no cluster is found.\n"
               "\n--format mgf (with --precursor): one entry per MS2 spectrum searched, in file order: TITLE\n"
               "(its native id), RTINSECONDS, SCANS (when known), PEPMASS (mono m/z) and CHARGE of the\n"
               "precursor chosen, and its own points as \"m/z intensity\". Comment lines (#) before an entry\n"
               "keep the file's values where the choice differs (\"# instrument: PEPMASS=… CHARGE=…\") and\n"
               "say when no cluster was found and the file's values are kept (no CHARGE when it states none).\n"
               "--format mzml: one run, spectra in file order with their native ids and times, 64-bit arrays.\n"
               "Without --precursor each spectrum searched becomes its clusters: a centroid at each mono_mz\n"
               "whose intensity is that of the cluster's isotopes matched within --tolerance (of each point,\n"
               "the part the cluster's model accounts for), and a charge array (MS:1000516) of their charges;\n"
               "a spectrum without clusters is written empty, an MS2 spectrum keeps its precursor as read.\n"
               "With --precursor each MS2 spectrum searched keeps its own points, and states the precursor\n"
               "chosen as its selected ion m/z and charge state (as read when no cluster is found), and its\n"
               "isolation window as read.\n"
               "With --precursor, MS2 spectra without a precursor, or without an MS1 spectrum before them (a\n"
               "warning names those), are left out of every format.\n"
               "\nMemory: spectra are read one at a time and at most twice --threads of them are held at once,\n"
               "whatever the size of the run; rows and MGF entries are written as they are found (an aligned\n"
               "table's rows wait in a temporary file until their column widths are known). Only --format\n"
               "mzml (the deisotoped spectra) and --sum-scans (every selected spectrum of a file) hold more.\n"
               "\nFILE is mzML, mzXML, MGF or a two-column \"m/z intensity\" peak list; - reads standard input.\n")
        .arg(formatNumber(zeq::SearchWindow::GapWidth),
             formatNumber(zeq::kProtonMass),
             formatNumber(zeq::SearchWindow::MaxWidth),
             formatNumber(zeq::SearchWindow::CoreWidth),
             formatNumber(zeq::SearchWindow::Margin));
}

} // namespace

int runDeisotope(const QStringList &args)
{
    Settings settings;
    CommandParser cmd(QStringLiteral("deisotope"),
                      QStringLiteral("[options] FILE..."),
                      QStringLiteral("Finds the isotope clusters of every selected spectrum and, for each, its "
                                     "charge and monoisotopic m/z."),
                      details());
    cmd.parser().addPositionalArgument(
        QStringLiteral("FILE"), QStringLiteral("Spectrum files."), QStringLiteral("FILE..."));
    cmd.addSelectionOptions();
    cmd.addOptions({
        Option::range(Option::PlainRange,
                      QStringLiteral("window"),
                      QStringLiteral("Search this one m/z window instead of the gap windows."),
                      QString()),
        Option::flag(QStringLiteral("precursor"),
                     QStringLiteral("For each MS2 spectrum, search its precursor's isolation window in the MS1 "
                                    "spectrum before it, and show beside the clusters found the charge and m/z the "
                                    "file states for that precursor.")),
        Option::flag(QStringLiteral("sum-scans"),
                     QStringLiteral("Add the selected spectra of each file into one, as zeq sum does, and search the "
                                    "sum.")),
        Option::tolerance(QStringLiteral("sum-tolerance"),
                          QStringLiteral("With --sum-scans: how close points of different spectra must lie to be "
                                         "added into one peak (zeq sum's --tolerance)."),
                          settings.sumTolerance),
    });
    SearchOptions::add(cmd);
    cmd.addOptions({
        Option::choice(QStringLiteral("mode"),
                       QStringLiteral("mode"),
                       QStringLiteral("Which isotope search runs in each window (see below)."),
                       { { QStringLiteral("improved"),
                           QStringLiteral("the search with its repairs, which beats the design on every test "
                                          "corpus (docs/accuracy.md)") },
                         { QStringLiteral("design"), QStringLiteral("the search exactly as designed") } },
                       QStringLiteral("improved")),
        Option::number(QStringLiteral("snr"),
                       QStringLiteral("ratio"),
                       QStringLiteral("Before searching, keep only points whose signal-to-noise ratio is at least "
                                      "this: intensity at least this many times the spectrum's noise level, the "
                                      "median of its positive intensities."),
                       { 0.0, kInfinity, true, true },
                       settings.options.signalToNoise)
            .withShownDefault(QStringLiteral("keep every point")),
        Option::tolerance(
            QStringLiteral("tolerance"),
            QStringLiteral("How far an observed point may lie from an isotope's m/z and still match it "
                           "(the isotopes column, --min-isotopes, --precursor's choice of the precursor and its "
                           "comparison with the file's own, and the intensities of --format mzml)."),
            settings.options.tolerance),
        Option::integer(QStringLiteral("min-isotopes"),
                        QStringLiteral("count"),
                        QStringLiteral("Report only clusters with at least this many isotopes matched; 1 keeps lone "
                                       "peaks, whose charge is a guess."),
                        1,
                        100,
                        settings.options.minIsotopes),
        Option::text(QStringLiteral("plot"),
                     QStringLiteral("FILE"),
                     QStringLiteral("Also draw the spectrum that --scan selects, with each cluster's fitted model, "
                                    "to FILE (.svg or .png); with --explain, the monos one isotope below and above "
                                    "are marked too."),
                     QString()),
        Option::flag(QStringLiteral("explain"),
                     QStringLiteral("Add columns saying what else each cluster could have been, and how much worse "
                                    "that fits (see below). Adds up to 1.6 times the search's own time.")),
        Option::integer(QStringLiteral("threads"),
                        QStringLiteral("N"),
                        QStringLiteral("Spectra searched at once."),
                        1,
                        256,
                        QThread::idealThreadCount())
            .withShownDefault(QStringLiteral("every core (%1)").arg(QThread::idealThreadCount())),
    });
    cmd.addOutputOptions({ { QStringLiteral("mgf"), QStringLiteral("with --precursor: the MS2 spectra") },
                           { QStringLiteral("mzml"), QStringLiteral("the spectra found") } });
    if (const std::optional<int> status = cmd.parse(args, 1, std::numeric_limits<qsizetype>::max())) {
        return *status;
    }
    const SearchOptions searchOptions = SearchOptions::read(cmd);
    settings.options.processor = searchOptions.processor;
    settings.options.minFraction = searchOptions.minFraction;
    settings.options.signalToNoise = cmd.number(QStringLiteral("snr"));
    if (cmd.choice(QStringLiteral("mode")) == u"improved") {
        settings.options.improved = zeq::ImprovedSearchOptions();
    }
    settings.options.minIsotopes = cmd.integer(QStringLiteral("min-isotopes"));
    const int threads = cmd.integer(QStringLiteral("threads"));
    const QString formatName = cmd.choice(QStringLiteral("format"));
    settings.output = formatName == u"mgf" ? Settings::Output::Mgf
        : formatName == u"mzml"            ? Settings::Output::MzML
                                           : Settings::Output::Table;
    const TableWriter::Format format = settings.output == Settings::Output::Table ? cmd.format() : TableWriter::Table;
    settings.precursor = cmd.isSet(QStringLiteral("precursor"));
    settings.options.alternatives = cmd.isSet(QStringLiteral("explain"));
    SpectrumSelection selection = cmd.selection();
    if (cmd.isSet(QStringLiteral("window"))) {
        settings.window = cmd.range(QStringLiteral("window"));
    }
    settings.options.tolerance = cmd.tolerance(QStringLiteral("tolerance"));
    settings.sumTolerance = cmd.tolerance(QStringLiteral("sum-tolerance"));
    settings.sumScans = cmd.isSet(QStringLiteral("sum-scans"));
    if (cmd.isSet(QStringLiteral("sum-tolerance")) && !settings.sumScans) {
        cmd.refuse(QStringLiteral("--sum-tolerance applies to --sum-scans only"));
    }
    if (settings.precursor && (settings.window || settings.sumScans || cmd.isSet(QStringLiteral("ms-level")))) {
        cmd.refuse(
            QStringLiteral("--precursor picks its own spectra and windows; drop --ms-level, --window and --sum-scans"));
    }
    if (settings.sumScans && cmd.isSet(QStringLiteral("plot"))) {
        cmd.refuse(QStringLiteral("--plot draws one scan of a file, not a sum; drop --sum-scans"));
    }
    settings.plotPath = cmd.text(QStringLiteral("plot"));
    if (cmd.isSet(QStringLiteral("plot")) && !isPlotPath(settings.plotPath)) {
        cmd.refuse(QStringLiteral("--plot FILE must end in .svg or .png, got \"%1\"").arg(elide(settings.plotPath)));
    }
    if (cmd.isSet(QStringLiteral("plot")) && selection.scans.size() != 1) {
        cmd.refuse(QStringLiteral("--plot draws one spectrum: choose it with --scan N"));
    }
    const QStringList files = cmd.positionalArguments();
    if (settings.output == Settings::Output::Mgf && !settings.precursor) {
        cmd.refuse(QStringLiteral("--format mgf writes MS2 spectra with the precursors found: add --precursor"));
    }
    if (settings.options.alternatives && settings.output != Settings::Output::Table) {
        cmd.refuse(QStringLiteral("--explain adds table columns: use --format table, csv, tsv or json"));
    }
    if (settings.output == Settings::Output::MzML && files.size() > 1) {
        cmd.refuse(QStringLiteral("--format mzml writes one run: give one FILE"));
    }
    cmd.refuseOutputsOverInputs(files, { { QStringLiteral("--plot"), settings.plotPath } });
    if (!cmd.usageError().isEmpty()) {
        return fail(kExitBadUsage, cmd.usageError());
    }

    // Files are read one spectrum at a time; the first problems are caught before the long part.
    for (const QString &file : files) {
        if (const Error err = checkSpectrumFile(file); err.hasError()) {
            return fail(kExitBadInput, err.errorString());
        }
    }
    QElapsedTimer clock;
    clock.start();
    if (settings.precursor) {
        selection.msLevel = 2;
        selection.withPrecedingMs1 = true;
    }

    QList<TableWriter::Column> columns{
        { QStringLiteral("file"), false },        { QStringLiteral("spectrum_id"), false },
        { QStringLiteral("scan"), true },         { QStringLiteral("rt"), true },
        { QStringLiteral("window_start"), true }, { QStringLiteral("window_end"), true },
        { QStringLiteral("charge"), true },       { QStringLiteral("mono_mz"), true },
        { QStringLiteral("mono_mass"), true },    { QStringLiteral("score"), true },
        { QStringLiteral("percent"), true },      { QStringLiteral("scale"), true },
        { QStringLiteral("isotopes"), true }
    };
    if (settings.precursor) {
        columns.append({ { QStringLiteral("instrument_charge"), true }, { QStringLiteral("instrument_mz"), true } });
    }
    if (settings.options.alternatives) {
        for (const QString &name : alternativeColumns()) {
            columns.append({ name, true });
        }
    }
    // Rows and MGF entries are written as they come; an mzML run is written whole at the end.
    ResultStream out(cmd.outputPath());
    TableWriter table(format, columns);
    if (settings.output == Settings::Output::Table) {
        table.streamTo(&out);
    }
    QList<SpectrumToSave> mzML;
    qsizetype searched = 0;
    int windows = 0;
    qsizetype stated[3] = {};
    std::optional<JobResult> plotted;
    // A long run on a terminal shows how far it got; a pipe or file gets the summary alone.
    const bool showProgress = isatty(STDERR_FILENO) != 0;
    bool progressShown = false;
    // Each spectrum's search is independent and the library keeps no state between calls, so the
    // results, taken in file order, are the same for any thread count.
    OrderedWork<JobResult> work(threads, [&](JobResult &&result) {
        ++searched;
        windows += result.windows;
        ++stated[int(result.stated)];
        for (const QStringList &row : result.rows) {
            table.addRow(row);
        }
        const Spectrum &s = *result.job.spectrum;
        if (settings.output == Settings::Output::Mgf) {
            out.write(mgfEntry(s, result.precursor, settings.options.tolerance));
        } else if (settings.output == Settings::Output::MzML) {
            mzML.append(settings.precursor ? withChosenPrecursor(s, result.precursor)
                                           : deisotoped(s, result.clusters, settings.options.tolerance));
        }
        if (!settings.plotPath.isEmpty() && !plotted) {
            plotted = std::move(result);
        }
        if (showProgress && clock.elapsed() > 1000) {
            std::fprintf(stderr, "\rzeq: %lld spectra", static_cast<long long>(searched));
            progressShown = true;
        }
    });
    qsizetype skipped = 0;
    for (const QString &file : files) {
        JobMaker jobs(file, settings);
        const auto submit = [&](Spectrum &&s) {
            if (std::optional<Job> job = jobs.next(std::move(s))) {
                work.submit([job = std::move(*job), &settings] { return search(job, settings); });
            }
            return Error();
        };
        // A sum needs every spectrum of the file before it can be searched.
        Error err;
        if (settings.sumScans) {
            zeq::Result<QList<Spectrum>> read = readSpectra(file, selection, &skipped);
            err = read.hasError() ? read.error() : Error();
            for (Spectrum &s : read.hasError() ? QList<Spectrum>() : summed(read.value(), settings.sumTolerance)) {
                err = submit(std::move(s));
            }
        } else {
            err = readSpectra(file, selection, &skipped, submit);
        }
        // Running work is waited for and queued work dropped, results not taken: nothing is written.
        if (err.hasError()) {
            return fail(kExitBadInput, err.errorString());
        }
    }
    work.finish();
    if (progressShown) {
        std::fprintf(stderr, "\r\033[K");
    }
    if (!settings.plotPath.isEmpty()) {
        if (searched != 1) {
            return fail(kExitBadUsage,
                        QStringLiteral("--plot draws one spectrum, but --scan %1 selects %2")
                            .arg(selection.scans.constFirst())
                            .arg(searched));
        }
        const Error err = plotSpectrum(plotOf(plotted->job, *plotted, settings), settings.plotPath);
        if (err.hasError()) {
            return fail(kExitBadInput, err.errorString());
        }
    }

    if (settings.output == Settings::Output::MzML) {
        const zeq::Result<QByteArray> bytes = mzMLRun(mzML);
        if (bytes.hasError()) {
            return fail(kExitBadInput, bytes.error().errorString());
        }
        out.write(bytes.value());
    }
    table.finish();
    const int status = out.finish();
    if (status == kExitSuccess) {
        const QString precursors = !settings.precursor
            ? QString()
            : QStringLiteral("; instrument precursors: %1 agree, %2 differ, %3 without")
                  .arg(stated[int(Stated::Agree)])
                  .arg(stated[int(Stated::Differ)])
                  .arg(stated[int(Stated::Without)]);
        std::fprintf(stderr,
                     "zeq: %lld spectra, %d windows, %lld clusters in %.2f s%s%s\n",
                     static_cast<long long>(searched),
                     windows,
                     static_cast<long long>(table.rowCount()),
                     double(clock.elapsed()) / 1000.0,
                     precursors.toUtf8().constData(),
                     skippedNote(skipped).toUtf8().constData());
    }
    return status;
}
