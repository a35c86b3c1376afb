#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace zeq::test
{

/// Points HOME at a fresh temporary folder for a whole test program (a global test environment), so
/// that QStandardPaths in test mode finds only what the tests put there.
class TemporaryHome : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.emplace().isValid());
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
