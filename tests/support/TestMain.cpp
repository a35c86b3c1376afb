#include "support/ChildProcess.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Before the first look-up: settings and data folders must never be a developer's own.
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("zeq-tests"));
    QCoreApplication::setApplicationName(QStringLiteral("zeq_common_core_tests"));
    // A test may start a copy of its own program as a second process with a role to play.
    if (const std::optional<int> exitCode = zeq::test::runChildRoleIfAsked(QCoreApplication::arguments())) {
        return *exitCode;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
