// Runs `zeq mods` on real catalogue files as a user would.
#include "db/ScopedSQLite3Database.h"
#include "support/DamagedDatabase.h"
#include "support/TestFiles.h"
#include "support/ZeqRun.h"
#include "zeq_common_core_mini/Sqlite3Functions.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <array>

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
        // SQLite would store NaN as NULL, read back as 0: every run would add a row.
        { "NaN mass",
          { u"add"_qs, u"X/nan"_qs, u"--db"_qs, file(u"none.db"_qs) },
          2,
          "^zeq: the mass of \"X/nan\" is not a finite number\n$" },
        { "infinite mass", { u"add"_qs, u"X/-inf"_qs, u"--db"_qs, file(u"none.db"_qs) }, 2, "not a finite number" },
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

// Listing or adding to a damaged catalogue: one line naming the file, and the file as it was (an add
// must not build on a catalogue it could not read).
TEST_F(ZeqModsTest, DamagedCatalogueIsRefusedAndLeftAsItWas)
{
    const QString good = file(u"good.db"_qs);
    ASSERT_EQ(run({ u"add"_qs, u"Oxidation/15.9949"_qs, u"--db"_qs, good }).exitCode, 0);
    {
        zeq::ScopedSQLite3Database db(good, false);
        ASSERT_FALSE(db.init().hasError());
        ASSERT_FALSE(sql_exec(db.db(),
                              u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
                              u"INSERT INTO Modifications (Id, TypeName, ModName, MassShift) "
                              u"SELECT i, 'Mod' || i, 'Mod' || i, i FROM n"_qs)
                         .hasError());
    }
    const QString path = file(u"damaged.db"_qs);
    for (const auto &damage : zeq::test::damagedCopies(zeq::test::fileContents(good), 41)) {
        for (const QStringList &args : { QStringList{ u"list"_qs }, QStringList{ u"add"_qs, u"Phospho/79.9663"_qs } }) {
            SCOPED_TRACE(std::string(damage.name) + ", " + args.constFirst().toStdString());
            zeq::test::writeFile(path, damage.bytes);
            const Outcome result = run(args + QStringList{ u"--db"_qs, path });
            if (!damage.mustFail && result.exitCode == 0) {
                continue;
            }
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_TRUE(result.out.isEmpty());
            EXPECT_TRUE(matches("^zeq: [^\n]*damaged\\.db[^\n]*\n$", result.err)) << qPrintable(result.err);
            EXPECT_EQ(zeq::test::fileContents(path), damage.bytes);
            EXPECT_FALSE(QFileInfo::exists(path + u"-journal"_qs));
        }
    }
}

TEST_F(ZeqModsTest, AddWaitsForABriefLock)
{
    const QString path = file(u"shared.db"_qs);
    ASSERT_EQ(run({ u"add"_qs, u"Oxidation/15.9949"_qs, u"--db"_qs, path }).exitCode, 0);
    zeq::ScopedSQLite3Database other(path, false);
    ASSERT_FALSE(other.init().hasError());
    ASSERT_FALSE(sql_exec(other.db(), u"BEGIN EXCLUSIVE"_qs).hasError());
    QProcess add;
    add.start(QStringLiteral(ZEQ_PROGRAM), { u"mods"_qs, u"add"_qs, u"Phospho/79.9663"_qs, u"--db"_qs, path });
    QThread::msleep(1000);
    ASSERT_FALSE(sql_exec(other.db(), u"COMMIT"_qs).hasError());
    ASSERT_TRUE(add.waitForFinished(60'000));
    EXPECT_EQ(add.exitCode(), 0) << add.readAllStandardError().constData();
    EXPECT_EQ(run({ u"list"_qs, u"--db"_qs, path, u"--format"_qs, u"tsv"_qs }).out.count(u'\n'), 3);
}

// Adds at once, round after round on one file (created by the first round): two names, each asked
// for by two adds. Every name lands once, under the identifier all its adds reported, and no
// identifier serves two names.
TEST_F(ZeqModsTest, ConcurrentAddsLoseNothing)
{
    constexpr int kRounds = 6;
    const QString path = file(u"shared.db"_qs);
    QMap<QString, QString> reported;
    for (int round = 0; round < kRounds; ++round) {
        std::array<QProcess, 4> adds;
        for (int k = 0; k < 4; ++k) {
            const QString name = QStringLiteral("Round%1Mod%2/%3").arg(round).arg(k % 2).arg(100 + 2 * round + k % 2);
            adds[k].start(QStringLiteral(ZEQ_PROGRAM),
                          { u"mods"_qs, u"add"_qs, name, u"--db"_qs, path, u"--format"_qs, u"csv"_qs });
        }
        for (QProcess &add : adds) {
            ASSERT_TRUE(add.waitForFinished(60'000));
            EXPECT_EQ(add.exitCode(), 0) << add.readAllStandardError().constData();
            const QString row = QString::fromUtf8(add.readAllStandardOutput()).section(u'\n', 1, 1);
            const QString name = row.section(u',', 1, 1);
            EXPECT_EQ(reported.value(name, row.section(u',', 0, 0)), row.section(u',', 0, 0)) << qPrintable(name);
            reported.insert(name, row.section(u',', 0, 0));
        }
    }
    const Outcome list = run({ u"list"_qs, u"--db"_qs, path, u"--format"_qs, u"csv"_qs });
    QMap<QString, QString> listed;
    QSet<QString> ids;
    for (const QString &row : list.out.split(u'\n', Qt::SkipEmptyParts).mid(1)) {
        listed.insert(row.section(u',', 1, 1), row.section(u',', 0, 0));
        ids.insert(row.section(u',', 0, 0));
    }
    EXPECT_EQ(reported.size(), 2 * kRounds);
    EXPECT_TRUE(listed == reported);
    EXPECT_EQ(ids.size(), 2 * kRounds);
}

TEST_F(ZeqModsTest, IdentifiersPassTwoToThe31)
{
    const QString path = file(u"big.db"_qs);
    ASSERT_EQ(run({ u"add"_qs, u"Top/1"_qs, u"--db"_qs, path }).exitCode, 0);
    {
        zeq::ScopedSQLite3Database db(path, false);
        ASSERT_FALSE(db.init().hasError());
        ASSERT_FALSE(sql_exec(db.db(), u"UPDATE Modifications SET Id = 2147483647"_qs).hasError());
    }
    const QStringList csv{ u"--db"_qs, path, u"--format"_qs, u"csv"_qs };
    EXPECT_TRUE(run(QStringList{ u"add"_qs, u"Next/2"_qs } + csv).out.contains(u"\n2147483648,Next,"));
    EXPECT_TRUE(run(QStringList{ u"add"_qs, u"Again/3"_qs } + csv).out.contains(u"\n2147483649,Again,"));
    const Outcome list = run(QStringList{ u"list"_qs } + csv);
    EXPECT_EQ(list.exitCode, 0) << qPrintable(list.err);
    EXPECT_EQ(list.out.count(u'\n'), 4);
}
