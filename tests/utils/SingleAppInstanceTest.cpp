#include "utils/SingleAppInstance.h"

#include "support/ChildProcess.h"
#include "zeq_common_core_mini/TextUtils.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

using zeq::SingleAppInstance;

namespace
{

// The second process: takes the instance named by the first argument, reports what it saw, and
// with "hold" keeps it until its standard input closes (or it is killed).
int instanceRole(const QList<QString> &arguments)
{
    const SingleAppInstance instance(arguments.value(0));
    std::printf("another=%d\n", instance.isAnotherInstanceRunning() ? 1 : 0);
    std::fflush(stdout);
    if (arguments.value(1) == u"hold"_qs) {
        while (std::fgetc(stdin) != EOF) { }
    }
    return 0;
}
const bool registered = zeq::test::registerChildRole(u"instance"_qs, &instanceRole);

QString uniqueName()
{
    return u"zeq-test-%1-%2"_qs.arg(QCoreApplication::applicationPid()).arg(TextUtils::randomString(8));
}

std::unique_ptr<QProcess> startInstance(const QString &name, bool hold)
{
    auto process = std::make_unique<QProcess>();
    QList<QString> arguments{ name };
    if (hold) {
        arguments.append(u"hold"_qs);
    }
    process->start(QCoreApplication::applicationFilePath(), zeq::test::childRoleArguments(u"instance"_qs, arguments));
    return process;
}

// What the child reported: 1 when it saw another instance, 0 when not, -1 when it said nothing.
int reported(QProcess &process)
{
    if (!process.waitForReadyRead(10'000) && process.bytesAvailable() == 0) {
        return -1;
    }
    while (!process.canReadLine() && process.waitForReadyRead(10'000)) { }
    const QByteArray line = process.readLine().trimmed();
    return line == "another=1" ? 1 : (line == "another=0" ? 0 : -1);
}

} // namespace

TEST(SingleAppInstanceTest, WithinOneProcess)
{
    ASSERT_TRUE(registered);
    const QString name = uniqueName();
    auto first = std::make_unique<SingleAppInstance>(name);
    EXPECT_FALSE(first->isAnotherInstanceRunning());
    EXPECT_TRUE(SingleAppInstance(name).isAnotherInstanceRunning());
    // Odd characters and names too long for a file name each still name one lock of their own.
    const QList<QString> others{
        name + u"/../ü:*"_qs, name + u"a/b"_qs, name + u"a:b"_qs, name + QString(300, u'x'), name + QString(301, u'x')
    };
    std::vector<std::unique_ptr<SingleAppInstance>> held;
    for (const QString &other : others) {
        SCOPED_TRACE(other.left(80).toStdString());
        held.push_back(std::make_unique<SingleAppInstance>(other));
        EXPECT_FALSE(held.back()->isAnotherInstanceRunning());
        EXPECT_EQ(held.back()->lastError(), 0);
        EXPECT_TRUE(SingleAppInstance(other).isAnotherInstanceRunning());
    }
    first.reset();
    EXPECT_FALSE(SingleAppInstance(name).isAnotherInstanceRunning());
}

TEST(SingleAppInstanceTest, OtherProcessesSeeTheHolderUntilItIsKilled)
{
    const QString name = uniqueName();
    const auto first = startInstance(name, true);
    ASSERT_EQ(reported(*first), 0);

    // A killed holder runs no clean-up; the name must come free all the same.
    first->kill();
    ASSERT_TRUE(first->waitForFinished(10'000));

    const SingleAppInstance next(name);
    EXPECT_FALSE(next.isAnotherInstanceRunning());
    // And the new holder is seen by a process started after it.
    const auto probe = startInstance(name, false);
    EXPECT_EQ(reported(*probe), 1);
    EXPECT_TRUE(probe->waitForFinished(10'000));
}
