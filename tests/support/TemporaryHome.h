#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace zeq::test
{

/// Points HOME at a fresh temporary folder for a whole test program, so that QStandardPaths (in test
/// mode: ~/.qttest/...) finds only what the tests put there. Register it with
/// ::testing::AddGlobalTestEnvironment; process-wide state read from those folders is read once, so a
/// program that needs other files needs its own environment.
class TemporaryHome : public ::testing::Environment
{
public:
    void SetUp() override
    {
        m_home.emplace();
        ASSERT_TRUE(m_home->isValid());
        m_previous = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(m_home->path()));
    }
    void TearDown() override
    {
        qputenv("HOME", m_previous);
        m_home.reset();
    }

private:
    std::optional<QTemporaryDir> m_home;
    QByteArray m_previous;
};

} // namespace zeq::test
