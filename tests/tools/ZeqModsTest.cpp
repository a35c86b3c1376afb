// Runs `zeq mods` on real catalogue files as a user would.
#include "db/ScopedSQLite3Database.h"
#include "support/ZeqRun.h"
#include "zeq_common_core_mini/Sqlite3Functions.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using zeq::test::Outcome;
using zeq::test::runZeq;

namespace
{

/// A home folder of its own, so the default catalogue lands in the test's folder.
class ZeqModsTest : public ::testing::Test
{
protected:
    Outcome run(const QStringList &args)
    {
        return runZeq(QStringList{ u"mods"_qs } + args, [this](QProcess &process) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(u"HOME"_qs, m_home.path());
            env.remove(u"XDG_DATA_HOME"_qs);
            process.setProcessEnvironment(env);
        });
    }
    QString file(const QString &name) const { return m_home.filePath(name); }

    QTemporaryDir m_home;
};

bool matches(const char *pattern, const QString &text)
{
    return QRegularExpression(QString::fromUtf8(pattern)).match(text).hasMatch();
}

} // namespace

TEST_F(ZeqModsTest, AddFindAndListTheDefaultCatalogue)
{
    const Outcome empty = run({ u"list"_qs });
    EXPECT_EQ(empty.exitCode, 0) << qPrintable(empty.err);
    EXPECT_EQ(empty.out, u"id  name  type  mass  category  composition  sites\n"_qs);

    const Outcome added = run({ u"add"_qs, u"Oxidation/+15.9949"_qs, u"--format"_qs, u"csv"_qs });
    EXPECT_EQ(added.out, u"id,name,type,mass,category,composition,sites\n0,Oxidation,Oxidation,15.9949,,,\n"_qs)
        << qPrintable(added.err);
    const Outcome again = run({ u"add"_qs, u" oxidation/15.9949"_qs, u"--format"_qs, u"tsv"_qs });
    EXPECT_TRUE(matches("\n0\tOxidation\t", again.out)) << "known: same identifier";
    const Outcome glycan = run({ u"add"_qs, u"NGlycan/203.079"_qs, u"--composition"_qs, u"HexNAc(1)"_qs });
    EXPECT_TRUE(matches("\n *1 +NGlycan +NGlycan +203\\.079 +ngly +HexNAc\\(1\\)", glycan.out))
        << qPrintable(glycan.out);

    struct Row {
        const char *name;
        QStringList args;
        const char *out;
    };
    const Row rows[] = {
        { "by name, any case",
          { u"find"_qs, u"GLYC"_qs, u"--format"_qs, u"csv"_qs },
          "^id[^\n]*\n1,NGlycan,[^\n]*\n$" },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome result = run(row.args);
        EXPECT_EQ(result.exitCode, 0) << qPrintable(result.err);
        EXPECT_TRUE(matches(row.out, result.out)) << qPrintable(result.out);
    }
}

TEST_F(ZeqModsTest, BadUsageAndBadFilesAreRefusedInOneLine)
{
    QFile text(file(u"notes.txt"_qs));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(300, 'x'));
    text.close();
    struct Row {
        const char *name;
        QStringList args;
        int exitCode;
        const char *err;
    };
    const Row rows[] = {
        { "no action", {}, 2, "wrong number of arguments" },
        { "no mass", { u"add"_qs, u"Oxidation"_qs }, 2, "Missing mass in modification namelist \"Oxidation\"" },
        { "tolerance without unit",
          { u"find"_qs, u"15.99"_qs, u"--tolerance"_qs, u"0.01"_qs },
          2,
          "--tolerance: tolerance \"0.01\" has no unit" },
        { "missing file", { u"list"_qs, u"--db"_qs, file(u"none.db"_qs) }, 1, "No catalogue file .*none\\.db" },
        { "not a database", { u"list"_qs, u"--db"_qs, text.fileName() }, 1, "file is not a database" },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome result = run(row.args);
        EXPECT_EQ(result.exitCode, row.exitCode);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(matches(row.err, result.err)) << qPrintable(result.err);
    }
    EXPECT_FALSE(QFileInfo::exists(file(u"none.db"_qs)));
}

TEST_F(ZeqModsTest, LockedCatalogueIsReported)
{
    const QString path = file(u"shared.db"_qs);
    ASSERT_EQ(run({ u"add"_qs, u"Oxidation/15.9949"_qs, u"--db"_qs, path }).exitCode, 0);
    {
        zeq::ScopedSQLite3Database other(path, false);
        ASSERT_FALSE(other.init().hasError());
        ASSERT_FALSE(sql_exec(other.db(), u"BEGIN EXCLUSIVE"_qs).hasError());
        const Outcome locked = run({ u"add"_qs, u"Phospho/79.9663"_qs, u"--db"_qs, path });
        EXPECT_EQ(locked.exitCode, 1);
        EXPECT_TRUE(locked.err.contains(u"database is locked")) << qPrintable(locked.err);
    }
    EXPECT_EQ(run({ u"list"_qs, u"--db"_qs, path, u"--format"_qs, u"tsv"_qs }).out.count(u'\n'), 2)
        << "the locked add left nothing behind";
}
