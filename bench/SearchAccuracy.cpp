// Measures the isotope cluster search's modes on generated corpora of known content (isolated
// peptides, overlapping peptides, proteins): how many true clusters each finds with the right
// monoisotope and charge, and how many clusters it reports that are not there. The tables in
// docs/accuracy.md ("The improved search") come from this program's output.
// Usage: zeq_search_accuracy [windows per corpus, default 300] [only this mode]
// The improved modes read each corpus as the whole-spectrum search does, as spectra of 30 windows
// whose centroids' precision is estimated once.
// Prints one row per mode and corpus: mono recall (right charge, mono within 10 ppm), charge recall
// (right charge, mono on the cluster's isotope ladder), false clusters per window, ms per window.
// Then, for the design and improved modes, a table of their clusters' alternatives: of the true
// clusters found with a wrong mono or charge, how often the truth is among the wrong one's alternatives
// and how often it is the runner-up, and the median confidence of right and of wrong choices.
#include "algo/AveragineComparisonSearch.h"
#include "algo/ClusterAlternatives.h"
#include "algo/ImprovedClusterSearch.h"
#include "algo/SpectrumClusterSearch.h"
#include "support/SearchCorpus.h"
#include "zeq_common_stable/PlotBase.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

using namespace zeq;
using namespace zeq::test;

namespace
{

constexpr double kMonoPpm = 10.0;
/// The isotope spacing of real clusters, Da; the model's differs slightly, so an isotope n steps
/// off is allowed that much more.
constexpr double kSpacing = 1.00235;
constexpr int kLadder = 6;
/// A window's search stops as the programs' default does.
constexpr double kMinFraction = 0.01;

/// A window's search; the last argument is the centroids' precision (ppm) estimated over the
/// spectrum the window belongs to, 0 when the mode reads windows alone.
using Search = std::function<void(const PlotBase &, double, double, QList<ChargeScoreInfo> &, double)>;
/// The whole-spectrum modes read the corpus as spectra of this many consecutive windows.
constexpr qsizetype kWindowsPerSpectrum = 30;

struct Figures {
    qsizetype truths = 0;
    qsizetype monoHits = 0;
    qsizetype chargeHits = 0;
    qsizetype falseClusters = 0;
    double milliseconds = 0.0;
    // With alternatives: the true clusters found with a wrong mono or charge, how often the truth is
    // one of the wrong cluster's alternatives and how often its runner-up, and the confidences of
    // right and wrong choices.
    qsizetype wrong = 0;
    qsizetype truthAmongAlternatives = 0;
    qsizetype truthRunnerUp = 0;
    std::vector<double> rightConfidence;
    std::vector<double> wrongConfidence;
};

bool onMono(const ChargeScoreInfo &c, const CorpusCluster &t)
{
    return c.charge == t.charge && std::abs(c.mzOffset - t.monoMz) <= kMonoPpm * 1e-6 * t.monoMz;
}

bool onLadder(const ChargeScoreInfo &c, const CorpusCluster &t)
{
    if (c.charge != t.charge) {
        return false;
    }
    const double steps = (c.mzOffset - t.monoMz) * t.charge / kSpacing;
    const double n = std::round(steps);
    const double expected = t.monoMz + n * kSpacing / t.charge;
    return std::abs(n) <= kLadder
        && std::abs(c.mzOffset - expected) <= kMonoPpm * 1e-6 * t.monoMz + 0.001 * std::abs(n) / t.charge;
}

// With ZEQ_SEARCH_MISSES set, each true cluster missed is printed with what its window reported.
void printMiss(const CorpusCluster &t, const QList<const ChargeScoreInfo *> &reported)
{
    std::fprintf(stderr, "missed z %d mono %.4f; reported:", t.charge, t.monoMz);
    for (const ChargeScoreInfo *c : reported) {
        std::fprintf(stderr, " z %d %.4f (%.3f)", c->charge, c->mzOffset, c->percentIonCurrent);
    }
    std::fprintf(stderr, "\n");
}

bool readsAs(const ClusterReading &r, const CorpusCluster &t)
{
    ChargeScoreInfo c;
    c.charge = r.charge;
    c.mzOffset = r.monoMz;
    return r.isValid() && onMono(c, t);
}

// A cluster reported for true cluster t with a wrong reading: on its isotope ladder at the wrong
// mono, or at another charge with its mono among t's first isotopes.
bool wrongReadingOf(const ChargeScoreInfo &c, const CorpusCluster &t)
{
    return !onMono(c, t)
        && (onLadder(c, t)
            || (c.charge != t.charge && std::abs(c.mzOffset - t.monoMz) <= kLadder * kSpacing / t.charge));
}

void explain(const PlotBase &plot,
             const CorpusCluster &t,
             const ChargeScoreInfo &c,
             bool right,
             const ProcessorOptions &processor,
             Figures &f)
{
    const ClusterAlternatives a = findClusterAlternatives(plot, c, processor);
    const double confidence = a.confidence();
    if (!std::isnan(confidence)) {
        (right ? f.rightConfidence : f.wrongConfidence).push_back(confidence);
    }
    if (right) {
        return;
    }
    ++f.wrong;
    f.truthAmongAlternatives += readsAs(a.otherCharge, t) || readsAs(a.monoBelow, t) || readsAs(a.monoAbove, t);
    f.truthRunnerUp += readsAs(a.runnerUp(), t);
}

void score(const CorpusWindow &window,
           const PlotBase &plot,
           const QList<ChargeScoreInfo> &found,
           const ProcessorOptions *alternatives,
           Figures &f)
{
    static const bool printMisses = qEnvironmentVariableIsSet("ZEQ_SEARCH_MISSES");
    // Reported as the programs report: at least two isotopes matched within 10 ppm.
    QList<const ChargeScoreInfo *> reported;
    for (const ChargeScoreInfo &c : found) {
        if (c.charge >= 1 && matchedIsotopeCount(c, MassTolerance(MassTolerance::ppm, 10.0)) >= 2) {
            reported.append(&c);
        }
    }
    // Each true cluster accounts for one cluster reported: exact ones are claimed first, for every
    // true cluster, then ones on a ladder; any other (a second copy, a wrong charge, noise) is false.
    QList<bool> claimed(reported.size(), false);
    QList<bool> exact(window.truth.size(), false);
    const auto claim = [&](const CorpusCluster &t, bool (*matches)(const ChargeScoreInfo &, const CorpusCluster &)) {
        for (qsizetype i = 0; i < reported.size(); ++i) {
            if (!claimed[i] && matches(*reported[i], t)) {
                claimed[i] = true;
                return true;
            }
        }
        return false;
    };
    for (qsizetype k = 0; k < window.truth.size(); ++k) {
        exact[k] = claim(window.truth[k], onMono);
    }
    for (qsizetype k = 0; k < window.truth.size(); ++k) {
        ++f.truths;
        f.monoHits += exact[k] ? 1 : 0;
        f.chargeHits += exact[k] || claim(window.truth[k], onLadder) ? 1 : 0;
        if (!exact[k] && printMisses) {
            printMiss(window.truth[k], reported);
        }
    }
    for (qsizetype k = 0; k < window.truth.size() && alternatives; ++k) {
        const CorpusCluster &t = window.truth[k];
        for (const ChargeScoreInfo *c : reported) {
            if (onMono(*c, t) || (!exact[k] && wrongReadingOf(*c, t))) {
                explain(plot, t, *c, onMono(*c, t), *alternatives, f);
                break;
            }
        }
    }
    f.falseClusters += claimed.count(false);
    for (qsizetype i = 0; i < reported.size() && printMisses; ++i) {
        if (!claimed[i]) {
            std::fprintf(stderr,
                         "false z %d %.4f (%.4f) truth z %d %.4f\n",
                         reported[i]->charge,
                         reported[i]->mzOffset,
                         reported[i]->percentIonCurrent,
                         window.truth[0].charge,
                         window.truth[0].monoMz);
        }
    }
}

// The precision of each window's spectrum, as the whole-spectrum search estimates it.
QList<double> spectrumPrecisions(const SearchCorpus &corpus)
{
    QList<double> precisions;
    for (qsizetype first = 0; first < corpus.windows.size(); first += kWindowsPerSpectrum) {
        QList<QList<QPointF>> spectrum;
        for (qsizetype i = first; i < std::min(first + kWindowsPerSpectrum, corpus.windows.size()); ++i) {
            spectrum.append(corpus.windows[i].points);
        }
        const double precision = spectrumPrecisionPpm(spectrum).value_or(0.0);
        for (qsizetype i = 0; i < spectrum.size(); ++i) {
            precisions.append(precision);
        }
    }
    return precisions;
}

Figures
measure(const SearchCorpus &corpus, const Search &search, bool perSpectrum, const ProcessorOptions *alternatives)
{
    Figures f;
    QElapsedTimer clock;
    clock.start();
    const QList<double> precisions =
        perSpectrum ? spectrumPrecisions(corpus) : QList<double>(corpus.windows.size(), 0.0);
    f.milliseconds += double(clock.nsecsElapsed()) / 1e6;
    for (qsizetype i = 0; i < corpus.windows.size(); ++i) {
        const CorpusWindow &window = corpus.windows[i];
        const PlotBase plot(window.points);
        QList<ChargeScoreInfo> found;
        clock.start();
        search(plot, window.start, window.end, found, precisions[i]);
        f.milliseconds += double(clock.nsecsElapsed()) / 1e6;
        score(window, plot, found, alternatives, f);
    }
    return f;
}

struct Mode {
    const char *name;
    Search search;
    bool alternatives = false; ///< also judge the alternatives of its right and wrong clusters
    bool perSpectrum = true; ///< windows read with their spectrum's precision
};

double median(std::vector<double> v)
{
    if (v.empty()) {
        return std::nan("");
    }
    std::nth_element(v.begin(), v.begin() + qsizetype(v.size() / 2), v.end());
    return v[v.size() / 2];
}

Search improved(void (*change)(ImprovedSearchOptions &))
{
    ImprovedSearchOptions options;
    change(options);
    return [options](const PlotBase &plot, double start, double end, QList<ChargeScoreInfo> &out, double precision) {
        ImprovedSearchOptions o = options;
        if (o.wantsSpectrumPrecision()) {
            o.precisionPpm = precision;
        }
        findClustersImproved(o, plot, start, end, kMinFraction, out);
    };
}

} // namespace

int main(int argc, char **argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 300;
    QList<SearchCorpus> corpora;
    for (const CorpusKind kind :
         { CorpusKind::IsolatedPeptides, CorpusKind::OverlappingPeptides, CorpusKind::Proteins }) {
        corpora.append(makeSearchCorpus(kind, count, corpusSeed(kind)));
    }
    const ProcessorOptions design;
    const QList<Mode> modes = {
        { "design",
          [design](const PlotBase &plot, double start, double end, QList<ChargeScoreInfo> &out, double) {
              findChargesAndMonos(design, plot, start, end, QString(), kMinFraction, out);
          },
          true,
          false },
        { "improved", improved([](ImprovedSearchOptions &) {}), true },
        { "without searchPastSmallClusters",
          improved([](ImprovedSearchOptions &o) { o.searchPastSmallClusters = false; }) },
        { "without ownExplainedMarks", improved([](ImprovedSearchOptions &o) { o.ownExplainedMarks = false; }) },
        { "without widthFromData", improved([](ImprovedSearchOptions &o) { o.widthFromData = false; }) },
        { "without envelopePlacement", improved([](ImprovedSearchOptions &o) { o.envelopePlacement = false; }) },
        { "without clearOfNoise", improved([](ImprovedSearchOptions &o) { o.clearOfNoise = false; }) },
        { "without chargeFromSpacing", improved([](ImprovedSearchOptions &o) { o.chargeFromSpacing = false; }) },
        { "without precisionPerSpectrum", improved([](ImprovedSearchOptions &o) { o.precisionPerSpectrum = false; }) },
        { "without plausibleCharges", improved([](ImprovedSearchOptions &o) { o.plausibleCharges = false; }) },
        { "precision 2 ppm given", improved([](ImprovedSearchOptions &o) { o.precisionPpm = 2.0; }) },
    };
    std::printf(
        "| mode | corpus (true clusters) | mono recall | charge recall | false clusters / window | ms / window |\n"
        "|---|---|---|---|---|---|\n");
    QStringList explained;
    for (const Mode &mode : modes) {
        if (argc > 2 && std::strcmp(argv[2], mode.name) != 0) {
            continue;
        }
        for (const SearchCorpus &corpus : corpora) {
            const Figures f = measure(corpus, mode.search, mode.perSpectrum, mode.alternatives ? &design : nullptr);
            if (mode.alternatives) {
                explained.append(QString::asprintf(
                    "| %s | %s | %lld | %.1f %% | %.1f %% | %.2f | %.2f |\n",
                    mode.name,
                    qPrintable(corpus.name),
                    static_cast<long long>(f.wrong),
                    100.0 * double(f.truthAmongAlternatives) / double(std::max<qsizetype>(f.wrong, 1)),
                    100.0 * double(f.truthRunnerUp) / double(std::max<qsizetype>(f.wrong, 1)),
                    median(f.rightConfidence),
                    median(f.wrongConfidence)));
            }
            const double truths = double(std::max<qsizetype>(f.truths, 1));
            const double windows = double(corpus.windows.size());
            std::printf("| %s | %s (%lld) | %.1f %% | %.1f %% | %.2f | %.2f |\n",
                        mode.name,
                        qPrintable(corpus.name),
                        static_cast<long long>(f.truths),
                        100.0 * double(f.monoHits) / truths,
                        100.0 * double(f.chargeHits) / truths,
                        double(f.falseClusters) / windows,
                        f.milliseconds / windows);
            std::fflush(stdout);
        }
    }
    if (!explained.isEmpty()) {
        std::printf("\n| mode | corpus | wrong choices | truth among its alternatives | truth its runner-up "
                    "| median confidence, right | median confidence, wrong |\n|---|---|---|---|---|---|---|\n");
        for (const QString &row : explained) {
            std::fputs(qPrintable(row), stdout);
        }
    }
    return 0;
}
