#include "io/ProjectCreationStatusFile.h"

#include "support/FileSizeLimit.h"
#include "support/MessageGuard.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using zeq::ProjectCreationStatusFile;
using Job = ProjectCreationStatusFile::JobObject;

namespace
{

bool writeText(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

QByteArray readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const Job kDigest{ u"digest"_qs, { { ProjectCreationStatusFile::INPUT_HASH, u"a1"_qs } } };
const Job kSearch{ u"search"_qs,
                   { { ProjectCreationStatusFile::PARAMETER_FILE, u"p.xml"_qs },
                     { ProjectCreationStatusFile::OUTPUT_FILE, u"out.tsnres"_qs } } };

class ProjectCreationStatusFileTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString statusPath() const { return ProjectCreationStatusFile::statusFilePath(m_dir.path()); }
    QByteArray commitOneJob() const
    {
        ProjectCreationStatusFile status(statusPath());
        status.appendFinishedJob(kDigest);
        EXPECT_TRUE(status.commit());
        return readText(statusPath());
    }
    static void appendManyJobs(ProjectCreationStatusFile &status)
    {
        for (int i = 0; i < 50; ++i) {
            status.appendFinishedJob({ u"job%1"_qs.arg(i), { { ProjectCreationStatusFile::INPUT_HASH, u"h"_qs } } });
        }
    }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ProjectCreationStatusFileTest, RoundTrip)
{
    {
        ProjectCreationStatusFile status(statusPath());
        EXPECT_FALSE(QFile::exists(statusPath())) << "reading must not create the file";
        status.appendFinishedJob(kDigest);
        status.appendFinishedJob(kSearch);
        ASSERT_TRUE(status.commit());
    }
    const ProjectCreationStatusFile status(statusPath());
    EXPECT_EQ(status.jobsCount(), 2);
    EXPECT_TRUE(status.jobFinishedSuccessfully(kSearch));
    Job changed = kSearch;
    changed.parameters[ProjectCreationStatusFile::OUTPUT_FILE] = u"other.tsnres"_qs;
    EXPECT_FALSE(status.jobFinishedSuccessfully(changed));
}

TEST_F(ProjectCreationStatusFileTest, ParametersAsWritten)
{
    // Empty parameter objects are skipped, numbers read as text, and of extra keys the first counts.
    ASSERT_TRUE(writeText(statusPath(), R"({"finished_jobs": [{"job_name": "digest", "job_parameters":
        [{}, {"later": "x", "input_hash": "a1"}]}, {"job_name": "count", "job_parameters": [{"n": 3}]}]})"));
    const ProjectCreationStatusFile status(statusPath());
    EXPECT_EQ(status.jobsCount(), 2);
    EXPECT_TRUE(status.jobFinishedSuccessfully(kDigest));
    EXPECT_TRUE(status.jobFinishedSuccessfully({ u"count"_qs, { { u"n"_qs, u"3"_qs } } }));
}

TEST_F(ProjectCreationStatusFileTest, MalformedFilesGiveAnEmptyRecord)
{
    const struct {
        const char *name;
        const char *content;
        const char *warning;
    } rows[] = {
        { "not JSON", "{\"finished_jobs\": [", "does not contain correct json content." },
        { "a job without parameters",
          R"({"finished_jobs": [{"job_name": "a", "job_parameters": []}, {"job_name": "b"}]})",
          "ProjectCreationStatusFile::JobObject does not contain keys: job_parameters" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(writeText(statusPath(), row.content));
        zeq::test::MessageGuard guard;
        const ProjectCreationStatusFile status(statusPath());
        EXPECT_EQ(status.jobsCount(), 0);
        EXPECT_TRUE(guard.contains(QString::fromUtf8(row.warning)));
        EXPECT_EQ(readText(statusPath()), QByteArray(row.content)) << "loading never rewrites the file";
    }
}

// Tests run as root, whom a read-only folder does not stop: a file in the way of the folder, and
// /proc, where nobody creates files, stand in for it.
TEST_F(ProjectCreationStatusFileTest, FailedCommitsKeepTheOldFile)
{
    const QByteArray before = commitOneJob();
    const struct {
        const char *name;
        QString path;
        rlim_t sizeLimit;
    } rows[] = {
        { "full disk", statusPath(), 256 },
        { "a folder", m_dir.path(), RLIM_INFINITY },
        { "parent is a file", statusPath() + u"/wflw_status"_qs, RLIM_INFINITY },
        { "under /proc", u"/proc/wflw_status"_qs, RLIM_INFINITY },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        zeq::test::MessageGuard guard;
        ProjectCreationStatusFile status(row.path);
        appendManyJobs(status);
        bool committed = true;
        {
            const zeq::test::FileSizeLimit limit(row.sizeLimit);
            ASSERT_TRUE(limit.active());
            committed = status.commit();
        }
        EXPECT_FALSE(committed);
        EXPECT_TRUE(guard.contains(row.path)) << "the warning names the file";
        EXPECT_EQ(readText(statusPath()), before);
        EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QList<QString>{ u"wflw_status"_qs })
            << "no temporary left";
    }
}

// A record with one bad job loads as empty; committing must not erase the good jobs it held, nor an
// earlier copy.
TEST_F(ProjectCreationStatusFileTest, CommitKeepsAnUnreadableFileAsBackup)
{
    const QString backups[] = { statusPath() + u".bak"_qs, statusPath() + u".bak.1"_qs };
    for (const QString &backup : backups) {
        SCOPED_TRACE(backup.toStdString());
        const QByteArray damaged = R"({"finished_jobs": [{"job_name": "a", "job_parameters": []}, {"job_name": ")"
            + backup.toUtf8() + R"("}]})";
        ASSERT_TRUE(writeText(statusPath(), damaged));
        ProjectCreationStatusFile status(statusPath());
        status.appendFinishedJob(kDigest);
        zeq::test::MessageGuard guard;
        ASSERT_TRUE(status.commit());
        EXPECT_TRUE(guard.contains(u"kept it as"_qs));
        EXPECT_EQ(readText(backup), damaged);
        // Once the file is ours, later commits just replace it.
        ASSERT_TRUE(status.commit());
        EXPECT_EQ(ProjectCreationStatusFile(statusPath()).jobsCount(), 1);
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files).size(), 3);
}
