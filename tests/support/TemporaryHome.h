#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace zeq::test
{

/// Points HOME at a fresh temporary folder for a whole test program (register it with
/// ::testing::AddGlobalTestEnvironment), so that QStandardPaths in test mode finds only what the tests
/// put there. State read once per process from those folders must be read after SetUp.
class TemporaryHome : public ::testing::Environment
{
public:
    void SetUp() override
    {
        m_home = std::make_unique<QTemporaryDir>();
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
    std::unique_ptr<QTemporaryDir> m_home;
    QByteArray m_previous;
};

} // namespace zeq::test
