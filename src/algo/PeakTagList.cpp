#include "algo/PeakTagList.h"

#include "ZeqLogging.h"
#include "algo/AveragineComparison_p.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace zeq
{

namespace
{

detail::WarningCounter s_sortedIndexWarnings;
detail::WarningCounter s_unsortedIndexWarnings;
detail::WarningCounter s_accessIndexWarnings;

bool inRange(qsizetype index, qsizetype size)
{
    return index >= 0 && index < size;
}

// Window positions passed to the accessors come from the caller's arithmetic on spectrum indices.
bool checkedAccess(qsizetype index, qsizetype size, const char *what)
{
    if (inRange(index, size)) {
        return true;
    }
    if (detail::countOccurrence(s_accessIndexWarnings) < detail::kLoggedOccurrences) {
        qCWarning(lcCore) << "PeakTagList:" << what << index << "outside a list of" << size << "points";
    }
    return false;
}

} // namespace

void PeakTagList::addPoints2dList(const QList<QPointF> &points)
{
    clear();
    const qsizetype size = points.size();
    m_sortedTags.reserve(size);
    m_windowToSorted.reserve(size);

    std::vector<int> order(static_cast<size_t>(size));
    std::iota(order.begin(), order.end(), 0);
    // Descending intensity, lower m/z first among equals. NaN sorts last, so that the order stays a
    // strict weak ordering whatever the data.
    std::stable_sort(order.begin(), order.end(), [&points](int a, int b) {
        const double ya = points.at(a).y();
        const double yb = points.at(b).y();
        if (std::isnan(ya)) {
            return false;
        }
        return std::isnan(yb) || ya > yb;
    });
    std::vector<int> rankOf(static_cast<size_t>(size));
    for (int k = 0; k < static_cast<int>(size); ++k) {
        const QPointF &p = points.at(order[static_cast<size_t>(k)]);
        m_sortedTags.append(PeakTag(p.x(), p.y(), false, k));
        rankOf[static_cast<size_t>(order[static_cast<size_t>(k)])] = k;
    }
    for (int rank : rankOf) {
        m_windowToSorted.append(rank);
    }
}

void PeakTagList::clear()
{
    m_sortedTags.clear();
    m_windowToSorted.clear();
    m_windowPeakOffset = 0;
}

QPointF PeakTagList::getWindowPoint(int i) const
{
    if (!checkedAccess(i, m_windowToSorted.size(), "window point")) {
        return {};
    }
    const PeakTag &tag = m_sortedTags.at(m_windowToSorted.at(i));
    return { tag.x, tag.y };
}

QPointF PeakTagList::getWindowPointSorted(int k) const
{
    if (!checkedAccess(k, m_sortedTags.size(), "intensity position")) {
        return {};
    }
    const PeakTag &tag = m_sortedTags.at(k);
    return { tag.x, tag.y };
}

void PeakTagList::excludePoint(int i)
{
    if (checkedAccess(i, m_windowToSorted.size(), "window point to exclude")) {
        m_sortedTags[m_windowToSorted.at(i)].excluded = true;
    }
}

bool PeakTagList::checkPointExcludedSorted(int k) const
{
    if (inRange(k, m_sortedTags.size())) {
        return m_sortedTags.at(k).excluded;
    }
    const quint64 seen = detail::countOccurrence(s_sortedIndexWarnings);
    if (seen == detail::kLoggedOccurrences - 1) {
        qCWarning(lcCore) << "last index out of bounds warning";
    }
    if (seen < detail::kLoggedOccurrences) {
        qCWarning(lcCore) << "index out of bounds with" << k;
    }
    return false;
}

bool PeakTagList::checkPointExcludedUnsorted(int i) const
{
    if (inRange(i, m_windowToSorted.size())) {
        return m_sortedTags.at(m_windowToSorted.at(i)).excluded;
    }
    const quint64 seen = detail::countOccurrence(s_unsortedIndexWarnings);
    if (seen == detail::kLoggedOccurrences - 1) {
        // printf form: a QDebug stream would drop the text's trailing blank.
        qCWarning(lcCore, "%s", "last index out of bounds warning ");
    }
    if (seen < detail::kLoggedOccurrences) {
        qCWarning(lcCore) << "index out of bounds with" << i;
    }
    return false;
}

bool PeakTagList::checkAllPointsExcluded() const
{
    return std::all_of(m_sortedTags.cbegin(), m_sortedTags.cend(), [](const PeakTag &tag) { return tag.excluded; });
}

} // namespace zeq
