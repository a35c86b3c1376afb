#include "algo/SpectrumWindows.h"

#include "algo/AveragineComparisonSearch.h"
#include "support/SyntheticPeaks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

using zeq::SearchWindow;

namespace
{

// Whatever the spacing of the points: no window wider than the cap or across a gap, every point of a
// multi-point run inside some window, and each run's report ranges covering the whole axis once.
TEST(SpectrumWindowsTest, WindowsCoverEveryRunWithinTheCapAndReportRangesPartitionIt)
{
    struct Case {
        double maxStep;
        double span;
    };
    const Case cases[] = { { 0.02, 300.0 }, { 0.3, 400.0 }, { 1.0, 400.0 }, { 1.4, 400.0 }, { 0.01, 15.0 } };
    std::mt19937 rng(7);
    for (const Case &c : cases) {
        std::uniform_real_distribution<double> step(0.0, c.maxStep);
        std::uniform_real_distribution<double> height(0.0, 1.0e4);
        QList<QPointF> points;
        for (double mz = 400.0; mz < 400.0 + c.span; mz += step(rng)) {
            points.append({ mz, height(rng) });
        }
        const QList<SearchWindow> windows = zeq::searchWindows(points);
        SCOPED_TRACE(c.maxStep);
        ASSERT_FALSE(windows.isEmpty());
        double reportedUpTo = -std::numeric_limits<double>::infinity();
        for (qsizetype i = 0; i < windows.size(); ++i) {
            const SearchWindow &w = windows.at(i);
            EXPECT_LE(w.end - w.start, SearchWindow::MaxWidth);
            EXPECT_LE(w.start, w.reportEnd);
            EXPECT_GE(w.end, w.reportStart);
            const auto first = std::lower_bound(
                points.cbegin(), points.cend(), w.start, [](const QPointF &q, double x) { return q.x() < x; });
            for (auto it = first + 1; it != points.cend() && it->x() <= w.end; ++it) {
                EXPECT_LE(it->x() - (it - 1)->x(), SearchWindow::GapWidth);
            }
            // A run's ranges follow on without a hole; a new run starts from minus infinity.
            if (std::isinf(w.reportStart)) {
                EXPECT_TRUE(i == 0 || std::isinf(windows.at(i - 1).reportEnd));
            } else {
                EXPECT_EQ(w.reportStart, reportedUpTo);
            }
            reportedUpTo = w.reportEnd;
        }
        EXPECT_TRUE(std::isinf(reportedUpTo));
        for (qsizetype i = 0; i < points.size(); ++i) {
            const bool alone = (i == 0 || points[i].x() - points[i - 1].x() > SearchWindow::GapWidth)
                && (i + 1 == points.size() || points[i + 1].x() - points[i].x() > SearchWindow::GapWidth);
            const bool inside = std::any_of(windows.cbegin(), windows.cend(), [&](const SearchWindow &w) {
                return points[i].x() >= w.start && points[i].x() <= w.end;
            });
            EXPECT_EQ(inside, !alone) << points[i].x();
        }
    }
}

// Peptide clusters every 2–4 m/z with nothing between them but their own isotopes: one stretch of
// 200 m/z that the gap rule alone would search as one window, where the search stops early.
TEST(SpectrumWindowsTest, ClustersOfAStretchWithoutGapsAreEachFoundOnce)
{
    zeq::test::SyntheticPeaks peaks(11);
    peaks.setJitter(1.0, 0.03);
    struct Truth {
        int charge;
        double mono;
    };
    QList<Truth> truth;
    std::mt19937 rng(3);
    for (double at = 500.0; at < 700.0;) {
        const int charge = 1 + int(rng() % 3);
        const double mono = at;
        truth.append(
            { charge, peaks.addCluster((mono - 1.00727646688) * charge, charge, 1.0e4 + double(rng() % 90000)) });
        at += 2.0 + double(rng() % 2000) / 1000.0;
    }
    const PlotBase plot = peaks.plot();
    const QList<QPointF> points = peaks.points();
    const QList<SearchWindow> windows = zeq::searchWindows(points);
    ASSERT_GT(windows.size(), 10);

    QList<zeq::ChargeScoreInfo> reported;
    for (const SearchWindow &w : windows) {
        QList<zeq::ChargeScoreInfo> found;
        zeq::findChargesAndMonos(zeq::ProcessorOptions(), plot, w.start, w.end, QString(), 0.01, found);
        for (const zeq::ChargeScoreInfo &c : found) {
            if (w.reports(c.mzOffset)) {
                reported.append(c);
            }
        }
    }
    const auto matches = [](const zeq::ChargeScoreInfo &c, const Truth &t) {
        return c.charge == t.charge && std::abs(c.mzOffset - t.mono) <= 10e-6 * t.mono;
    };
    int once = 0;
    int twice = 0;
    for (const Truth &t : truth) {
        const auto n = std::count_if(
            reported.cbegin(), reported.cend(), [&](const zeq::ChargeScoreInfo &c) { return matches(c, t); });
        once += n == 1;
        twice += n > 1;
    }
    EXPECT_EQ(twice, 0);
    EXPECT_GE(double(once), 0.9 * double(truth.size())) << once << " of " << truth.size();
}

} // namespace
