#include "SpectrumWindows.h"

#include <algorithm>
#include <limits>

namespace zeq
{

namespace
{

constexpr double kInfinity = std::numeric_limits<double>::infinity();

/// Where to end a core that starts at `coreStart`: the midpoint of the gap, among those whose
/// midpoint lies in the core's second half, with the lowest taller neighbour (a valley between
/// clusters rather than a step inside one); the widest gap among equals. Points of a run are at most
/// GapWidth apart, far less than half a core, so the half always holds a gap.
double cutAfter(const QList<QPointF> &points, qsizetype from, qsizetype to, double coreStart)
{
    const double lowest = coreStart + SearchWindow::CoreWidth / 2;
    const double highest = coreStart + SearchWindow::CoreWidth;
    double cut = highest;
    double valley = kInfinity;
    double widest = 0.0;
    const auto begin = std::lower_bound(points.cbegin() + from,
                                        points.cbegin() + to,
                                        lowest - SearchWindow::GapWidth,
                                        [](const QPointF &p, double mz) { return p.x() < mz; });
    for (auto it = std::max(begin, points.cbegin() + from + 1); it != points.cbegin() + to; ++it) {
        const QPointF &left = *(it - 1);
        const double middle = (left.x() + it->x()) / 2;
        if (middle > highest) {
            break;
        }
        const double height = std::max(left.y(), it->y());
        const double gap = it->x() - left.x();
        if (middle >= lowest && (height < valley || (height == valley && gap > widest))) {
            cut = middle;
            valley = height;
            widest = gap;
        }
    }
    return cut;
}

/// The windows of points[from, to), a run with no gap wider than GapWidth.
void addRun(const QList<QPointF> &points, qsizetype from, qsizetype to, QList<SearchWindow> &windows)
{
    const double runStart = points.at(from).x();
    const double runEnd = points.at(to - 1).x();
    if (runEnd - runStart <= SearchWindow::MaxWidth) {
        windows.append({ runStart, runEnd, -kInfinity, kInfinity });
        return;
    }
    double coreStart = runStart;
    double reportStart = -kInfinity;
    for (;;) {
        const bool last = runEnd - coreStart <= SearchWindow::CoreWidth;
        const double coreEnd = last ? runEnd : cutAfter(points, from, to, coreStart);
        windows.append({ std::max(runStart, coreStart - SearchWindow::Margin),
                         std::min(runEnd, coreEnd + SearchWindow::Margin),
                         reportStart,
                         last ? kInfinity : coreEnd });
        if (last) {
            return;
        }
        coreStart = reportStart = coreEnd;
    }
}

} // namespace

QList<SearchWindow> searchWindows(const QList<QPointF> &points)
{
    QList<SearchWindow> windows;
    qsizetype first = 0;
    for (qsizetype i = 1; i <= points.size(); ++i) {
        if (i == points.size() || points.at(i).x() - points.at(i - 1).x() > SearchWindow::GapWidth) {
            if (i - first > 1) {
                addRun(points, first, i, windows);
            }
            first = i;
        }
    }
    return windows;
}

} // namespace zeq
