#include "utils/ProgressRefresher.h"

#include "support/ChildProcess.h"
#include "utils/TextProgressBar.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

using zeq::ProgressBarInterface;
using zeq::ProgressRefresher;

namespace
{

class CountingBar : public ProgressBarInterface
{
public:
    void refresh() override { refreshedAt.append(*counter); }
    const int *counter = nullptr;
    QList<int> refreshedAt;
};

// Writes to its own standard output, which the test reads.
int textBarRole(const QList<QString> &)
{
    TextProgressBar bar;
    bar.setStatus(5, 10);
    bar.update();
    bar.update();
    bar.update();
    bar.clear();
    bar.refresh();
    return bar.total() == -1 && bar.done() == 0 && bar.updateCount() == 1 ? 0 : 1;
}
const bool registered = zeq::test::registerChildRole(u"text-bar"_qs, &textBarRole);

} // namespace

TEST(ProgressRefresherTest, RefreshesEveryNthCall)
{
    const struct {
        const char *name;
        int start;
        int every;
        int calls;
        QList<int> refreshedAt;
    } rows[] = {
        { "every tenth", 0, 10, 25, { 0, 10, 20 } },
        { "a zero period counts as one", 0, 0, 3, { 0, 1, 2 } },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        int counter = row.start;
        auto bar = QSharedPointer<CountingBar>::create();
        bar->counter = &counter;
        for (int i = 0; i < row.calls; ++i) {
            ProgressRefresher::refreshIfNeeded(bar, &counter, row.every);
        }
        EXPECT_EQ(bar->refreshedAt, row.refreshedAt);
    }
    int counter = 3;
    ProgressRefresher::refreshIfNeeded({}, &counter, 10);
    EXPECT_EQ(counter, 3) << "a null bar leaves the counter alone";
}

TEST(ProgressRefresherTest, TextBarOutput)
{
    ASSERT_TRUE(registered);
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), zeq::test::childRoleArguments(u"text-bar"_qs));
    ASSERT_TRUE(child.waitForFinished(10'000));
    EXPECT_EQ(child.exitCode(), 0);
    EXPECT_EQ(child.readAllStandardOutput(), QByteArray("Downloading..\nDownloading"));
}
