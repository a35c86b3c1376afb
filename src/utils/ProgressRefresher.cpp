#include "utils/ProgressRefresher.h"

#include <algorithm>

namespace zeq
{

ProgressBarInterface::~ProgressBarInterface() = default;

void ProgressRefresher::refreshIfNeeded(const QSharedPointer<ProgressBarInterface> &bar, int *counter, int every)
{
    if (!bar || !counter) {
        return;
    }
    if (*counter % std::max(every, 1) == 0) {
        bar->refresh();
    }
    ++*counter;
}

} // namespace zeq
