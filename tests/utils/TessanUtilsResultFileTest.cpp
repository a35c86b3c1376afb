#include "db/ScopedSQLite3Database.h"
#include "support/DamagedDatabase.h"
#include "support/MessageGuard.h"
#include "support/ResultDatabase.h"
#include "support/TestFiles.h"
#include "utils/TessanUtilsParameters.h"
#include "utils/TessanUtilsProteins.h"
#include "utils/TessanUtilsResultFile_p.h"
#include "zeq_common_core_mini/Sqlite3Functions.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace
{

const QList<QString> kReaderConnections{ u"get_searchparameter_information_from_tsnres"_qs,
                                         u"check_tsnres"_qs,
                                         u"get_protein_information_from_tsnres"_qs };

bool readerConnectionsGone()
{
    const QStringList names = QSqlDatabase::connectionNames();
    return std::none_of(kReaderConnections.cbegin(), kReaderConnections.cend(), [&names](const QString &name) {
        return names.contains(name);
    });
}

class TessanUtilsResultFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(u"search.tsnres"_qs);
        const Error err = zeq::test::writeResultDatabase(m_path);
        ASSERT_FALSE(err.hasError()) << qPrintable(err.errorString());
    }

    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace

TEST_F(TessanUtilsResultFileTest, ProteinsInRankOrderUpToTheDecoyLimit)
{
    const struct {
        int decoyLimit;
        QList<QString> names;
    } rows[] = {
        { 0, { u"sp|P1|ALPHA"_qs } },
        // Skips two decoys, stops at the third; GAMMA repeats ALPHA's sequence.
        { 2, { u"sp|P1|ALPHA"_qs, u"sp|P2|BETA"_qs } },
    };
    const QByteArray before = zeq::test::fileContents(m_path);
    for (const auto &row : rows) {
        SCOPED_TRACE(row.decoyLimit);
        QList<QString> names;
        QList<QString> sequences;
        const Error err = zeq::getProteinSequencesFromTsnres(m_path, row.decoyLimit, &names, &sequences);
        ASSERT_FALSE(err.hasError()) << qPrintable(err.errorString());
        EXPECT_EQ(names, row.names);
        EXPECT_EQ(sequences.value(0), u"MKCAAK"_qs);
    }
    // Lists are appended to, and a sequence the caller already holds is not listed again.
    QList<QString> names{ u"mine"_qs };
    QList<QString> sequences{ u"MSTNGK"_qs };
    ASSERT_FALSE(zeq::getProteinSequencesFromTsnres(m_path, 3, &names, &sequences).hasError());
    EXPECT_EQ(names, (QList<QString>{ u"mine"_qs, u"sp|P1|ALPHA"_qs, u"sp|P4|DELTA"_qs }));
    EXPECT_EQ(sequences, (QList<QString>{ u"MSTNGK"_qs, u"MKCAAK"_qs, u"PEPTIDER"_qs }));

    EXPECT_EQ(zeq::test::fileContents(m_path), before) << "a reader changed the result file";
    EXPECT_TRUE(readerConnectionsGone());
}

TEST_F(TessanUtilsResultFileTest, SpectrumFilesAndParameters)
{
    QList<QString> files{ u"stale"_qs };
    ASSERT_FALSE(zeq::getMSFilesFromTsnres(m_path, files).hasError());
    EXPECT_EQ(files,
              (QList<QString>{
                  u"C:\\data\\run 1.raw"_qs, u"C:\\b\\c.raw"_qs, u"D:\\tims\\sample.d"_qs, u"/mnt/share/x.mzML"_qs }));

    QList<QString> values{ u"kept"_qs };
    ASSERT_FALSE(zeq::getLockmassFromTsnres(m_path, &values).hasError());
    ASSERT_FALSE(zeq::getPpmFromTsnres(m_path, &values).hasError());
    EXPECT_EQ(values, (QList<QString>{ u"kept"_qs, u"445.120025;391.284286"_qs, u"10 ppm"_qs }));
    // Keys are bound, not spliced into the statement.
    QList<QString> found;
    ASSERT_FALSE(zeq::appendSearchParameterFromTsnres(m_path, u"say \"hi\""_qs, &found).hasError());
    EXPECT_EQ(found, QList<QString>{ u"quoted"_qs });

    EXPECT_TRUE(readerConnectionsGone());
}

// Every reader on every kind of bad file: an error naming the trouble, no file made or changed, no
// connection left behind (a leftover would break the next open of the same name).
TEST_F(TessanUtilsResultFileTest, BadFilesGiveErrorsAndLeaveNothingBehind)
{
    const QString missing = m_dir.filePath(u"missing.tsnres"_qs);
    const QString text = zeq::test::writeFile(m_dir.filePath(u"notes.tsnres"_qs), "not a database\n");
    const QString empty = m_dir.filePath(u"empty.tsnres"_qs);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"make-empty"_qs);
        db.setDatabaseName(empty);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(u"CREATE TABLE Other (Id INT)"_qs));
    }
    QSqlDatabase::removeDatabase(u"make-empty"_qs);

    QList<QString> list;
    const std::pair<const char *, std::function<Error(const QString &)>> readers[] = {
        { "proteins", [&](const QString &p) { return zeq::getProteinSequencesFromTsnres(p, 1, &list, &list); } },
        { "files", [&](const QString &p) { return zeq::getMSFilesFromTsnres(p, list); } },
        { "lock mass", [&](const QString &p) { return zeq::getLockmassFromTsnres(p, &list); } },
        { "tolerance", [&](const QString &p) { return zeq::getPpmFromTsnres(p, &list); } },
    };
    const struct {
        QString path;
        ErrorCode code;
        const char *message;
    } files[] = {
        { missing, kBadParameterError, "missing.tsnres" },
        { text, kError, "not a database" },
        { empty, kError, "no such table" },
    };
    for (const auto &[reader, read] : readers) {
        for (const auto &file : files) {
            SCOPED_TRACE(std::string(reader) + " " + file.path.toStdString());
            const zeq::test::MessageGuard guard;
            const QByteArray before = zeq::test::fileContents(file.path);
            const Error err = read(file.path);
            EXPECT_EQ(err.code(), file.code);
            EXPECT_TRUE(err.errorString().contains(QString::fromUtf8(file.message))) << qPrintable(err.errorString());
            EXPECT_EQ(guard.contains(u"Could not open file:"_qs), file.code == kBadParameterError);
            EXPECT_EQ(zeq::test::fileContents(file.path), before);
            EXPECT_TRUE(readerConnectionsGone());
        }
    }
    EXPECT_FALSE(QFile::exists(missing));

    // A good file still opens under the same connection names.
    ASSERT_FALSE(zeq::getMSFilesFromTsnres(m_path, list).hasError());
    EXPECT_EQ(list.size(), 4);
}

// A damaged file gives an error naming it, or (when the damage misses what a reader reads) the
// whole file's answer; never a partial answer passed off as whole, never a write to the file.
TEST_F(TessanUtilsResultFileTest, DamagedFilesGiveErrorsNamingThem)
{
    using Read = std::function<Error(const QString &, QList<QString> *)>;
    const std::pair<const char *, Read> readers[] = {
        { "proteins",
          [](const QString &p, QList<QString> *out) { return zeq::getProteinSequencesFromTsnres(p, 9, out, out); } },
        { "files", [](const QString &p, QList<QString> *out) { return zeq::getMSFilesFromTsnres(p, *out); } },
        { "lock mass", [](const QString &p, QList<QString> *out) { return zeq::getLockmassFromTsnres(p, out); } },
    };
    {
        // Searches enough to span pages, so that a damaged page can come after rows read well.
        zeq::ScopedSQLite3Database db(m_path, false);
        ASSERT_FALSE(db.init().hasError());
        ASSERT_FALSE(sql_exec(db.db(),
                              u"INSERT INTO Search (TnParmsContent) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                              u"SELECT i + 1 FROM n WHERE i < 60) SELECT 'SpectraFiles=/runs/' || i || '.mzML' || "
                              u"char(10) || printf('%.500c', 'x') FROM n"_qs)
                         .hasError());
    }
    const QByteArray good = zeq::test::fileContents(m_path);
    const QString path = m_dir.filePath(u"damaged.tsnres"_qs);
    for (const auto &[reader, read] : readers) {
        QList<QString> whole;
        ASSERT_FALSE(read(m_path, &whole).hasError());
        for (const auto &damage : zeq::test::damagedCopies(good, 29)) {
            SCOPED_TRACE(std::string(reader) + ", " + damage.name);
            zeq::test::writeFile(path, damage.bytes);
            const zeq::test::MessageGuard quiet;
            QList<QString> got;
            const Error err = read(path, &got);
            if (damage.mustFail || err.hasError()) {
                ASSERT_TRUE(err.hasError());
                EXPECT_TRUE(err.errorString().contains(path)) << qPrintable(err.errorString());
            } else {
                EXPECT_TRUE(got == whole) << got.size() << " values, not " << whole.size();
            }
            EXPECT_EQ(zeq::test::fileContents(path), damage.bytes);
            EXPECT_TRUE(readerConnectionsGone());
        }
    }
}

// The readers share fixed connection names; from several threads at once each call must still get
// its own, whole answer (before, one thread removed another's connection while it was in use).
TEST_F(TessanUtilsResultFileTest, ReadersAreSafeFromSeveralThreads)
{
    constexpr int kThreads = 8;
    constexpr int kCallsEach = 8;
    std::atomic<int> good{ 0 };
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([this, t, &good] {
                for (int i = 0; i < kCallsEach; ++i) {
                    QList<QString> first;
                    QList<QString> second;
                    bool ok = false;
                    switch ((t + i) % 3) {
                    case 0:
                        ok = !zeq::getProteinSequencesFromTsnres(m_path, 2, &first, &second).hasError()
                            && first == QList<QString>{ u"sp|P1|ALPHA"_qs, u"sp|P2|BETA"_qs };
                        break;
                    case 1:
                        ok = !zeq::getMSFilesFromTsnres(m_path, first).hasError() && first.size() == 4;
                        break;
                    default:
                        ok = !zeq::getPpmFromTsnres(m_path, &first).hasError()
                            && first == QList<QString>{ u"10 ppm"_qs };
                        break;
                    }
                    good += ok ? 1 : 0;
                }
            });
        }
    }
    EXPECT_EQ(good.load(), kThreads * kCallsEach);
    EXPECT_TRUE(readerConnectionsGone());
}
