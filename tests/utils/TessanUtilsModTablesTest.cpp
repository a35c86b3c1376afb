#include "utils/TessanUtilsModTables.h"

#include "db/ScopedSQLite3Database.h"
#include "support/ResultDatabase.h"
#include "utils/TessanUtilsInsilico.h"
#include "zeq_common_core_mini/TableExtract.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace
{

// Hand-computed: the name of each modification is its short name, else its glycan kind or
// classification, else its composition, then " / " and the mass shift to 4 decimals.
const QString kOxidation = u"1|Oxidation / 15.9949"_qs;
const QString kCarbamidomethyl = u"3|Carbamidomethyl / 57.0215"_qs;
const QString kNGlycan = u"1|NGlycan / 1216.4227"_qs;
const QList<QString> kStckVariable{ u"0|H(2) C(2) O / 42.0106"_qs,
                                    u"1|OGlycan / 365.1322"_qs,
                                    u"2|Wildcard / 0.984"_qs,
                                    u"4|Glycation / 162.0528"_qs };

// The items of a joined list in sorted order: SQLite does not fix the order in which group_concat
// meets its rows.
QString sortedItems(const QString &list, QChar separator)
{
    QList<QString> items = list.split(separator);
    std::sort(items.begin(), items.end());
    return items.join(separator);
}

QString sorted(QList<QString> items)
{
    std::sort(items.begin(), items.end());
    return items.join(u';');
}

class TessanUtilsModTablesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(u"search.tsnres"_qs);
        const Error err = zeq::test::writeResultDatabase(m_path);
        ASSERT_FALSE(err.hasError()) << qPrintable(err.errorString());
        m_db.emplace(QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"tmp2-test"_qs));
        m_db->setDatabaseName(m_path);
        ASSERT_TRUE(m_db->open());
    }
    void TearDown() override
    {
        m_db.reset();
        QSqlDatabase::removeDatabase(u"tmp2-test"_qs);
    }

    // PQMsId → `column` of `table` (items sorted), one line per peptide match: "1=...\n2=...".
    QString rows(const QString &table, const QString &column, QChar separator = u';')
    {
        QSqlQuery query(*m_db);
        EXPECT_TRUE(query.exec(QStringLiteral("SELECT PQMsId, %1 FROM %2 ORDER BY PQMsId").arg(column, table)))
            << qPrintable(table);
        QList<QString> lines;
        while (query.next()) {
            lines.append(QStringLiteral("%1=%2").arg(query.value(0).toString(),
                                                     sortedItems(query.value(1).toString(), separator)));
        }
        return lines.join(u'\n');
    }

    QTemporaryDir m_dir;
    QString m_path;
    std::optional<QSqlDatabase> m_db;
};

} // namespace

TEST_F(TessanUtilsModTablesTest, EveryPeptideGetsItsFinalModificationList)
{
    ASSERT_FALSE(zeq::makeTessanTmp2ModTables(*m_db, "main.", false).hasError());
    EXPECT_EQ(rows(u"tmp2_composition_variable"_qs, u"FinalModNameList"_qs),
              QStringLiteral("1=%1\n2=%2\n4=%3").arg(kOxidation, kNGlycan, sorted(kStckVariable)));
    EXPECT_EQ(rows(u"tmp2_composition_fixed"_qs, u"FinalModNameList"_qs),
              QStringLiteral("1=%1\n4=%1").arg(kCarbamidomethyl));
    EXPECT_EQ(rows(u"tmp2_composition_gly"_qs, u"ModificationsIdList"_qs), u"2=3\n4=4;5"_qs);
    EXPECT_EQ(rows(u"tmp2_composition_gly"_qs, u"CompositionList"_qs, u';'),
              u"2=HexNAc(2)Hex(5)\n4= Hex;HexNAc(1)Hex(1)"_qs);

    // The other connection kind runs the same statements, on a read-only open; the in-silico test
    // checks what the combined table holds.
    zeq::ScopedSQLite3Database sqlite(m_path, true);
    ASSERT_FALSE(sqlite.init().hasError());
    ASSERT_FALSE(zeq::makeTessanTmp2ModTables(sqlite.db(), "", true).hasError());
    TableExtract combined;
    ASSERT_FALSE(
        combined.extract(sqlite.db(), u"SELECT PQMsId FROM tmp2_composition_variable_and_fixed"_qs).hasError());
    EXPECT_EQ(combined.getSize(), 3);
}

TEST_F(TessanUtilsModTablesTest, SecondCallChangesNothingAndPrefixesAreNames)
{
    ASSERT_FALSE(zeq::makeTessanTmp2ModTables(*m_db, "", false).hasError());
    const auto snapshot = [this] {
        QSqlQuery query(*m_db);
        EXPECT_TRUE(query.exec(u"SELECT type, name FROM sqlite_temp_master ORDER BY name"_qs));
        QString text;
        while (query.next()) {
            text += query.value(0).toString() + u' ' + query.value(1).toString() + u'\n';
        }
        return text + rows(u"tmp2_composition_variable"_qs, u"FinalModNameList"_qs);
    };
    const QString before = snapshot();
    ASSERT_FALSE(zeq::makeTessanTmp2ModTables(*m_db, "", false).hasError());
    EXPECT_EQ(snapshot(), before);

    for (const char *prefix : { "x; DROP TABLE PQMs; --", "main.." }) {
        SCOPED_TRACE(prefix);
        const Error err = zeq::makeTessanTmp2ModTables(*m_db, prefix, true);
        EXPECT_EQ(err.code(), kBadParameterError);
        EXPECT_TRUE(err.errorString().contains(QString::fromUtf8(prefix)));
    }
    // A prefix naming no database fails at the first table; nothing of the combined set is made.
    const Error err = zeq::makeTessanTmp2ModTables(*m_db, "res.", true);
    EXPECT_TRUE(err.errorString().contains(u"no such table: res.Modifications"_qs)) << qPrintable(err.errorString());
    EXPECT_EQ(snapshot(), before);
}

TEST_F(TessanUtilsModTablesTest, InsilicoTableHoldsOneRowPerPeptideMatch)
{
    ASSERT_FALSE(zeq::makeInsilicoTableFromTsnressInsilicoRun(*m_db).hasError());
    QSqlQuery query(*m_db);
    ASSERT_TRUE(query.exec(u"SELECT * FROM InsilicoItems ORDER BY Id"_qs));
    const QString stckGlycans = u"HexNAc(1)Hex(1); Hex"_qs;
    const struct {
        const char *sequence;
        double calcMr;
        QString positions, ids, names, glycans;
    } expected[] = {
        { "MKCAAK", 738.32332353323, u"1,3"_qs, u"1,2"_qs, sorted({ kOxidation, kCarbamidomethyl }), QString() },
        { "NGTSK", 1723.69272353323, u"1"_qs, u"3"_qs, kNGlycan, u"HexNAc(2)Hex(5)"_qs },
        { "PEPTIDER", 955.45012353323, QString(), QString(), QString(), QString() },
        // The glycan compositions come once per modification of the peptide.
        { "STCK",
          1088.39272353323,
          u"0,1,2,3,4"_qs,
          u"2,4,5,6,7"_qs,
          sorted(kStckVariable + QList{ kCarbamidomethyl }),
          QList<QString>(5, stckGlycans).join(u',') },
    };
    for (const auto &row : expected) {
        SCOPED_TRACE(row.sequence);
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.value(u"Sequence"_qs).toString(), QString::fromLatin1(row.sequence));
        EXPECT_NEAR(query.value(u"CalcMr"_qs).toDouble(), row.calcMr, 1e-9);
        EXPECT_EQ(sortedItems(query.value(u"ModificationsPositionList"_qs).toString(), u','), row.positions);
        EXPECT_EQ(sortedItems(query.value(u"ModificationsIdList"_qs).toString(), u','), row.ids);
        EXPECT_EQ(sortedItems(query.value(u"ModificationsNameList"_qs).toString(), u';'), row.names);
        EXPECT_EQ(query.value(u"GlycanList"_qs).toString(), row.glycans);
    }
    EXPECT_FALSE(query.next());
    query.finish();

    // A second run on this connection fails (its temporary tables exist) and leaves the table whole.
    ASSERT_TRUE(query.exec(u"UPDATE InsilicoItems SET Comment = 'kept' WHERE Id = 1"_qs));
    const Error err = zeq::makeInsilicoTableFromTsnressInsilicoRun(*m_db);
    EXPECT_TRUE(err.errorString().contains(u"VarFixedModifications already exists"_qs))
        << qPrintable(err.errorString());
    ASSERT_TRUE(query.exec(u"SELECT COUNT(*), MAX(Comment) FROM InsilicoItems"_qs) && query.next());
    EXPECT_EQ(query.value(0).toInt(), 4);
    EXPECT_EQ(query.value(1).toString(), u"kept"_qs);
}
