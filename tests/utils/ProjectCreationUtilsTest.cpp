#include "utils/ProjectCreationUtils.h"

#include "constants/StringConstants.h"
#include "support/MessageGuard.h"
#include "zeq_common_core_mini/AppSettings.h"
#include "zeq_common_core_mini/CommonKeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

using zeq::ProjectCreationUtils;

namespace
{

class ProjectCreationUtilsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        as::setValue(kAPPLICATION_NAME, kcorvin);
        QFile input(inputFile());
        ASSERT_TRUE(input.open(QIODevice::WriteOnly));
    }
    void TearDown() override { as::remove(kAPPLICATION_NAME); }
    QString inputFile() const { return m_dir.filePath(u"sample.run.raw"_qs); }
    QString tempFolder() const { return m_dir.filePath(u"corvin_tmp"_qs); }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ProjectCreationUtilsTest, CountersMakeEveryFolderNew)
{
    QList<QString> made;
    for (int i = 0; i < 3; ++i) {
        QString path;
        ASSERT_FALSE(
            ProjectCreationUtils::createAndMakeTempPath(inputFile(), path, ProjectCreationUtils::NoSuffix).hasError());
        made.append(path);
    }
    EXPECT_EQ(made,
              (QList<QString>{ tempFolder() + u"/sample.run"_qs,
                               tempFolder() + u"/sample.run(1)"_qs,
                               tempFolder() + u"/sample.run(2)"_qs }));

    // An existing folder given in `path` is the parent; the input's own folder is left alone.
    QString into = m_dir.filePath(u"chosen"_qs);
    ASSERT_TRUE(QDir().mkpath(into));
    ASSERT_FALSE(
        ProjectCreationUtils::createAndMakeTempPath(inputFile(), into, ProjectCreationUtils::NoSuffix).hasError());
    EXPECT_EQ(into, m_dir.filePath(u"chosen/sample.run"_qs));
}

// Creators racing for one name each get a folder of their own.
TEST_F(ProjectCreationUtilsTest, ConcurrentCreatorsNeverShareAFolder)
{
    const QString parent = m_dir.filePath(u"shared"_qs);
    ASSERT_TRUE(QDir().mkpath(parent));
    constexpr int kThreads = 8;
    constexpr int kEach = 25;
    QList<QList<QString>> made(kThreads);
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&, t] {
                for (int i = 0; i < kEach; ++i) {
                    QString path = parent;
                    if (!ProjectCreationUtils::createAndMakeTempPath(inputFile(), path, ProjectCreationUtils::NoSuffix)
                             .hasError()) {
                        made[t].append(path);
                    }
                }
            });
        }
    }
    QSet<QString> distinct;
    for (const QList<QString> &paths : made) {
        EXPECT_EQ(paths.size(), kEach);
        for (const QString &path : paths) {
            EXPECT_FALSE(distinct.contains(path)) << qPrintable(path);
            distinct.insert(path);
        }
    }
    EXPECT_EQ(QDir(parent).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), kThreads * kEach);
}

// "*", "?" and "[" in a name are plain characters: a newer folder they would match as wildcards
// is not the one asked for.
TEST_F(ProjectCreationUtilsTest, LastTempFolderTakesTheNameLiterally)
{
    const struct {
        const char *name, *lookalike;
    } rows[] = { { "a*b", "aXXb" }, { "a?b", "aXb" }, { "a[b]c", "abc" } };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString name = QString::fromLatin1(row.name);
        const QString wanted = tempFolder() + u'/' + name;
        const QString lookalike = tempFolder() + u'/' + QString::fromLatin1(row.lookalike);
        ASSERT_TRUE(QDir().mkpath(wanted));
        ASSERT_TRUE(QDir().mkpath(lookalike));
        const std::filesystem::path older = wanted.toStdString();
        std::filesystem::last_write_time(older, std::filesystem::last_write_time(older) - std::chrono::minutes(5));
        EXPECT_EQ(ProjectCreationUtils::lastTempFolder(m_dir.filePath(name + u".raw"_qs)), wanted);
    }
}

TEST_F(ProjectCreationUtilsTest, BadInputAndUnwritableFolders)
{
    QString path;
    // A file where the temporary folder should go blocks it, for root too.
    QFile blocker(tempFolder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const Error err = ProjectCreationUtils::createAndMakeTempPath(inputFile(), path, ProjectCreationUtils::NoSuffix);
    EXPECT_EQ(err.code(), kError);
    EXPECT_TRUE(err.errorString().contains(u"Unable to create the directory"_qs)) << qPrintable(err.errorString());

    zeq::test::MessageGuard guard;
    EXPECT_EQ(ProjectCreationUtils::lastTempFolder(m_dir.filePath(u"nothing-here/x.raw"_qs)), QString());
    EXPECT_TRUE(guard.contains(u"Can't find"_qs));
}

TEST_F(ProjectCreationUtilsTest, LastTempFolderIsTheNewest)
{
    QString older;
    QString newer;
    ASSERT_FALSE(
        ProjectCreationUtils::createAndMakeTempPath(inputFile(), older, ProjectCreationUtils::NoSuffix).hasError());
    ASSERT_FALSE(
        ProjectCreationUtils::createAndMakeTempPath(inputFile(), newer, ProjectCreationUtils::NoSuffix).hasError());
    // Set the times apart: two folders made in the same instant would tie.
    const std::filesystem::path olderPath = older.toStdString();
    std::filesystem::last_write_time(olderPath, std::filesystem::last_write_time(olderPath) - std::chrono::minutes(5));
    EXPECT_EQ(ProjectCreationUtils::lastTempFolder(inputFile()), newer);
}

TEST_F(ProjectCreationUtilsTest, RenameToFailedMovesAnOldTargetAside)
{
    const QString project = m_dir.filePath(u"project"_qs);
    const QString failed = project + u".FAILED"_qs;
    ASSERT_TRUE(QDir().mkpath(project + u"/inner"_qs));
    ASSERT_TRUE(QDir().mkpath(failed + u"/earlier"_qs));

    ASSERT_FALSE(ProjectCreationUtils::renameToFailed(project).hasError());
    EXPECT_FALSE(QFileInfo::exists(project));
    EXPECT_TRUE(QFileInfo::exists(failed + u"/inner"_qs));
    // The earlier failure is kept beside it, under a time-stamped name.
    const QList<QString> asides = QDir(m_dir.path()).entryList({ u"project.FAILED.*"_qs }, QDir::Dirs);
    ASSERT_EQ(asides.size(), 1);
    EXPECT_TRUE(QFileInfo::exists(m_dir.filePath(asides.first() + u"/earlier"_qs)));

    EXPECT_FALSE(ProjectCreationUtils::renameToFailed(m_dir.filePath(u"missing"_qs)).hasError());
}
