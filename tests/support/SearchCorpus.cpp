#include "support/SearchCorpus.h"

#include "support/ChainIsotopes.h"
#include "support/SeededRandom.h"

#include <algorithm>
#include <cmath>

namespace zeq::test
{

namespace
{

/// Centroids below this intensity are not recorded; cluster heights are drawn relative to it.
constexpr double kDetectionLimit = 1000.0;
/// m/z error of a centroid: a floor of an instrument's calibration, growing for weak peaks whose
/// centroid rests on fewer ions.
constexpr double kJitterPpm = 1.5;
constexpr double kWeakJitterPpm = 3.0;
/// Noise peaks per m/z of window.
constexpr double kNoisePerMz = 2.0;

struct Recorder {
    SeededRandom &random;
    QList<QPointF> points;

    // Relative noise plus counting noise that dominates near the detection limit.
    void record(double mz, double height)
    {
        const double weak = std::sqrt(kDetectionLimit / height);
        const double y =
            height * (1.0 + 0.04 * random.gaussian()) + 0.3 * std::sqrt(kDetectionLimit * height) * random.gaussian();
        if (y < kDetectionLimit) {
            return;
        }
        const double ppm = (kJitterPpm + kWeakJitterPpm * weak) * random.gaussian();
        points.append(QPointF(mz * (1.0 + ppm * 1e-6), y));
    }

    void addIsotopes(const QList<QPointF> &isotopes)
    {
        for (const QPointF &p : isotopes) {
            record(p.x(), p.y());
        }
    }

    // Mostly at the detection limit, one in ten up to 30 times it.
    void addNoise(double lo, double hi)
    {
        const auto count = static_cast<int>(std::lround((hi - lo) * kNoisePerMz));
        for (int i = 0; i < count; ++i) {
            const double top = random.uniform() < 0.1 ? 30.0 : 4.0;
            points.append(QPointF(lo + (hi - lo) * random.uniform(), logUniform(random, 1.0, top) * kDetectionLimit));
        }
    }
};

int peptideCharge(SeededRandom &random, int maxCharge)
{
    const double u = random.uniform();
    if (maxCharge <= 4) {
        return u < 0.1 ? 1 : u < 0.55 ? 2 : u < 0.85 ? 3 : 4;
    }
    return u < 0.1 ? 1 : u < 0.4 ? 2 : u < 0.65 ? 3 : u < 0.8 ? 4 : u < 0.9 ? 5 : 6;
}

/// A peptide at a charge drawn up to maxCharge whose mono m/z lies in [lo, hi].
QList<QPointF>
drawPeptide(SeededRandom &random, int maxCharge, double lo, double hi, double height, CorpusCluster *truth)
{
    for (;;) {
        const int charge = peptideCharge(random, maxCharge);
        // Higher charges carry longer peptides: a tryptic peptide of 10 residues seldom takes 5 protons.
        const int length = charge <= 3 ? random.between(6, 28) : random.between(14, 45);
        double monoMz = 0.0;
        const QList<QPointF> isotopes = isotopesOf(trypticPeptide(random, length), charge, height, &monoMz);
        if (monoMz >= lo && monoMz <= hi) {
            *truth = { charge, monoMz };
            return isotopes;
        }
    }
}

/// A protein of 5-60 kDa at charge 10-35 whose mono m/z lies in 600-2,000.
QList<QPointF> drawProtein(SeededRandom &random, double height, CorpusCluster *truth)
{
    constexpr double kResidueMass = 111.0;
    for (;;) {
        const int charge = random.between(10, 35);
        const double lo = std::max(5000.0, 600.0 * charge);
        const double hi = std::min(60000.0, 2000.0 * charge);
        if (lo >= hi) {
            continue;
        }
        const auto length = static_cast<int>(logUniform(random, lo, hi) / kResidueMass);
        double monoMz = 0.0;
        const QList<QPointF> isotopes = isotopesOf(smallProtein(random, length), charge, height, &monoMz);
        if (monoMz >= 600.0 && monoMz <= 2000.0) {
            *truth = { charge, monoMz };
            return isotopes;
        }
    }
}

CorpusWindow makeWindow(CorpusKind kind, SeededRandom &random)
{
    CorpusWindow window;
    Recorder recorder{ random, {} };
    double first = 0.0;
    double last = 0.0;
    const auto add = [&](const QList<QPointF> &isotopes, const CorpusCluster &truth) {
        recorder.addIsotopes(isotopes);
        window.truth.append(truth);
        first = window.truth.size() == 1 ? isotopes.constFirst().x() : std::min(first, isotopes.constFirst().x());
        last = std::max(last, isotopes.constLast().x());
    };
    CorpusCluster truth;
    switch (kind) {
    case CorpusKind::IsolatedPeptides: {
        const double height = logUniform(random, 30.0, 3000.0) * kDetectionLimit;
        add(drawPeptide(random, 4, 400.0, 1600.0, height, &truth), truth);
        break;
    }
    case CorpusKind::OverlappingPeptides: {
        const double anchor = 400.0 + 1200.0 * random.uniform();
        const int count = random.between(2, 4);
        const double tallest = logUniform(random, 300.0, 3000.0) * kDetectionLimit;
        for (int i = 0; i < count; ++i) {
            // Within a factor of 30 of each other: a far weaker cluster is the noise of a stronger.
            const double height = tallest * logUniform(random, 1.0 / 30.0, 1.0);
            add(drawPeptide(random, 6, anchor, anchor + 3.0, height, &truth), truth);
        }
        break;
    }
    case CorpusKind::Proteins: {
        add(drawProtein(random, logUniform(random, 30.0, 3000.0) * kDetectionLimit, &truth), truth);
        if (random.uniform() < 0.3) {
            const double mid = (first + last) / 2.0;
            const double height = logUniform(random, 30.0, 300.0) * kDetectionLimit;
            add(drawPeptide(random, 4, mid - 1.0, mid + 1.0, height, &truth), truth);
        }
        break;
    }
    }
    window.start = first - 1.5 - random.uniform();
    window.end = last + 1.5 + random.uniform();
    recorder.addNoise(window.start, window.end);
    window.points = std::move(recorder.points);
    std::stable_sort(
        window.points.begin(), window.points.end(), [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
    return window;
}

} // namespace

std::uint64_t corpusSeed(CorpusKind kind)
{
    switch (kind) {
    case CorpusKind::IsolatedPeptides:
        return 20261206;
    case CorpusKind::OverlappingPeptides:
        return 20261207;
    case CorpusKind::Proteins:
        return 20261208;
    }
    return 0;
}

SearchCorpus makeSearchCorpus(CorpusKind kind, int windowCount, std::uint64_t seed)
{
    static const char *const names[] = { "isolated peptides", "overlapping peptides", "proteins" };
    SearchCorpus corpus;
    corpus.kind = kind;
    corpus.name = QString::fromLatin1(names[static_cast<int>(kind)]);
    SeededRandom random(seed);
    for (int i = 0; i < windowCount; ++i) {
        corpus.windows.append(makeWindow(kind, random));
    }
    return corpus;
}

} // namespace zeq::test
