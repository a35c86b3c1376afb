// Measures the reader library's peak detectors on generated profile runs: how many true apexes each
// finds, how far from the truth in ppm, and how many peaks it keeps where there is none. The table
// in docs/accuracy.md ("Centroiding profile spectra") comes from this program's output.
// Usage: zeq_centroid_accuracy [noise sigma, default 300]
// Prints one table row per detector setting: recall of the true apexes, their m/z error in ppm and
// the peaks kept where there is none (per spectrum), on the clean set and on the noise-floor set,
// with the milliseconds per noise-floor spectrum.
#include "ProfileCentroider.h"
#include "support/ProfileRun.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace zeq::cli;
using namespace zeq::test;

namespace
{

struct Figures {
    qsizetype truths = 0;
    qsizetype found = 0;
    std::vector<double> ppm;
    qsizetype noisePeaks = 0;
    qsizetype spectra = 0;
    double milliseconds = 0.0;
};

double quantile(std::vector<double> values, double q)
{
    if (values.empty()) {
        return NAN;
    }
    const auto at = values.begin() + std::ptrdiff_t(q * double(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

/// The apex nearest to `mz` within half a peak width, or nullptr.
const QPointF *nearest(const QList<QPointF> &peaks, double mz, double reach)
{
    const auto it = std::lower_bound(
        peaks.cbegin(), peaks.cend(), mz, [](const QPointF &p, double value) { return p.x() < value; });
    const QPointF *best = nullptr;
    for (auto c : { it - 1, it }) {
        if (c >= peaks.cbegin() && c < peaks.cend() && std::abs(c->x() - mz) <= reach
            && (!best || std::abs(c->x() - mz) < std::abs(best->x() - mz))) {
            best = &*c;
        }
    }
    return best;
}

/// True apexes count towards recall when no other lies within a peak width (merged peaks have no
/// apex of their own) and they stand `minHeight` high.
Figures measure(const ProfileRun &run, const CentroidSettings &settings, double minHeight, double resolution)
{
    Figures f;
    QElapsedTimer clock;
    for (qsizetype s = 0; s < run.profile.size(); ++s) {
        const QList<QPointF> &truth = run.centroids.at(s).points;
        clock.start();
        const QList<QPointF> peaks = centroidProfile(run.profile.at(s).points, settings);
        f.milliseconds += double(clock.nsecsElapsed()) / 1e6;
        ++f.spectra;
        for (qsizetype i = 0; i < truth.size(); ++i) {
            const double mz = truth.at(i).x();
            const double width = fwhmAt(mz, resolution);
            const bool alone = (i == 0 || mz - truth.at(i - 1).x() > width)
                && (i + 1 == truth.size() || truth.at(i + 1).x() - mz > width);
            if (!alone || truth.at(i).y() < minHeight) {
                continue;
            }
            ++f.truths;
            if (const QPointF *p = nearest(peaks, mz, width / 2.0)) {
                ++f.found;
                f.ppm.push_back(std::abs(p->x() - mz) / mz * 1e6);
            }
        }
        for (const QPointF &p : peaks) {
            f.noisePeaks += nearest(truth, p.x(), fwhmAt(p.x(), resolution) / 2.0) ? 0 : 1;
        }
    }
    return f;
}

QString describe(const CentroidSettings &s)
{
    QString text = s.detector == CentroidSettings::Wavelet ? QStringLiteral("wavelet snr %1").arg(s.waveletSnr)
                                                           : QStringLiteral("local maximum, window %1").arg(s.window);
    text += s.refineApex ? QStringLiteral(", log-parabola apex") : QStringLiteral(", sampled apex");
    if (s.snr > 0.0) {
        text += QStringLiteral(", floor %1 x median").arg(s.snr);
    }
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    const double sigma = argc > 1 ? std::atof(argv[1]) : 300.0;
    ProfileRunOptions options;
    options.ms1Count = 6;
    options.clustersPerMs1 = 25;
    const ProfileRun clean = makeProfileRun(options);
    options.sampling.noiseSigma = sigma;
    const ProfileRun noisy = makeProfileRun(options);

    QList<CentroidSettings> candidates;
    for (const int window : { 3, 5, 7, 9 }) {
        for (const bool refine : { false, true }) {
            candidates.append({ CentroidSettings::LocalMaximum, window, 0.0, refine, 0.0 });
        }
    }
    for (const double snr : { 0.5, 1.0, 2.0 }) {
        candidates.append({ CentroidSettings::Wavelet, 0, snr, true, 0.0 });
    }
    for (const int window : { 3, 5 }) {
        for (const double floor : { 3.0, 4.0, 5.0, 6.0 }) {
            candidates.append({ CentroidSettings::LocalMaximum, window, 0.0, true, floor });
        }
    }
    std::printf("| detector, parameters | clean: recall | ppm median / p95 | noise peaks | noise floor: recall "
                "| ppm median / p95 | noise peaks | ms |\n|---|---|---|---|---|---|---|---|\n");
    for (const CentroidSettings &settings : candidates) {
        std::printf("| %s", qPrintable(describe(settings)));
        for (const auto &[run, minHeight] : { std::pair{ &clean, 0.0 }, std::pair{ &noisy, 5.0 * sigma } }) {
            const Figures f = measure(*run, settings, minHeight, options.sampling.resolutionAt200);
            std::printf(" | %.1f %% | %.2f / %.2f | %.1f",
                        100.0 * double(f.found) / double(std::max<qsizetype>(f.truths, 1)),
                        quantile(f.ppm, 0.5),
                        quantile(f.ppm, 0.95),
                        double(f.noisePeaks) / double(f.spectra));
            if (run == &noisy) {
                std::printf(" | %.0f |\n", f.milliseconds / double(f.spectra));
            }
        }
        std::fflush(stdout);
    }
    return 0;
}
