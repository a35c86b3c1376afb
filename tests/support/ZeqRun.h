#pragma once

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>

#ifndef ZEQ_PROGRAM
#error "A program test defines ZEQ_PROGRAM, the path of the built zeq"
#endif

namespace zeq::test
{

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

/// Runs the built zeq as a user would and waits for it; `setup` may set the environment, the working
/// folder or where standard output goes. A crash fails the test whatever the exit code says.
inline Outcome runZeq(const QStringList &args, const std::function<void(QProcess &)> &setup = {})
{
    QProcess process;
    if (setup) {
        setup(process);
    }
    process.start(QStringLiteral(ZEQ_PROGRAM), args);
    EXPECT_TRUE(process.waitForFinished(120'000)) << qPrintable(args.join(u' '));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << qPrintable(args.join(u' '));
    return { process.exitCode(),
             QString::fromUtf8(process.readAllStandardOutput()),
             QString::fromUtf8(process.readAllStandardError()) };
}

} // namespace zeq::test
