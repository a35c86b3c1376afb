#include "db/ModificationsManager.h"

#include "db/ModificationsDao.h"
#include "db/ScopedSQLite3Database.h"
#include "support/FileSizeLimit.h"
#include "zeq_common_core_mini/Sqlite3Functions.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

using zeq::ErrorWarningMessages;
using zeq::ModificationId;
using zeq::ModificationsManager;

namespace
{

const QString kSchema = u"CREATE TABLE Modifications(Id INTEGER PRIMARY KEY, TypeName TEXT, AllowedSites TEXT, "
                        u"ModName TEXT, MassShift REAL, ModCategory TEXT, Composition TEXT)"_qs;

/// A catalogue file in a temporary folder with identifiers 1 to 5.
class ModificationsManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_db.emplace(m_dir.filePath(u"catalogue.db"_qs), false);
        ASSERT_FALSE(m_db->init().hasError());
        ASSERT_FALSE(sql_exec(db(), kSchema).hasError());
        ASSERT_FALSE(sql_exec(db(),
                              u"INSERT INTO Modifications VALUES"
                              u"(1, 'Oxidation', 'M', ' Oxidation ', 15.9949005, '', ''),"
                              u"(2, 'Acetyl', 'Protein N-term', 'Acetyl', 42.010565, '', ''),"
                              u"(3, 'Amidated', 'Protein C-term', 'Amidated', -0.984016, '', ''),"
                              u"(4, 'Ala->Val', 'A', 'Ala->Val', 28.0313, 'subst', ''),"
                              u"(5, 'NGlycan', 'N', 'NGlycan', 203.079373, 'ngly', 'HexNAc(1)')"_qs)
                         .hasError());
    }
    sqlite3 *db() const { return m_db->db(); }
    ModificationId add(ModificationsManager &manager, const char *nameWithMass, const char *composition = "")
    {
        ModificationId id;
        EXPECT_FALSE(manager
                         .getOrInsertTessanModificationName(
                             QString::fromUtf8(nameWithMass), QString::fromUtf8(composition), &id, nullptr)
                         .hasError());
        return id;
    }

    QTemporaryDir m_dir;
    std::optional<zeq::ScopedSQLite3Database> m_db;
};

} // namespace

TEST_F(ModificationsManagerTest, LoadExtendSaveReloadKeepsEverything)
{
    ModificationsManager manager;
    ASSERT_FALSE(manager.loadFromDB(db()).hasError());
    ASSERT_EQ(manager.modList().size(), 5);

    EXPECT_EQ(add(manager, "oxidation/+15.9949").value(), 1) << "name ignoring case, mass within 1e-6";
    EXPECT_EQ(add(manager, "Oxidation/+15.99491").value(), 6) << "1e-5 away is another modification";
    EXPECT_EQ(add(manager, "NGlycan/+203.079373", "HexNAc(1)").value(), 5);
    EXPECT_EQ(add(manager, "NGlycan/+203.079373", "HexNAc(2)").value(), 7);
    EXPECT_EQ(add(manager, "Phospho/+79.966331", "HexNAc(2)").value(), 8);
    EXPECT_EQ(add(manager, "Phospho/+79.966331", "HexNAc(2)").value(), 9) << "plain names keep no composition";
    EXPECT_EQ(manager.newModificationsIdList().size(), 4);

    ASSERT_FALSE(manager.saveToDB(db()).hasError());
    ASSERT_FALSE(manager.saveToDB(db()).hasError()) << "a second save inserts nothing";

    ModificationsManager reloaded;
    ASSERT_FALSE(reloaded.loadFromDB(db()).hasError());
    ASSERT_EQ(reloaded.modList().size(), 9);
    for (auto it = manager.constBegin(); it != manager.constEnd(); ++it) {
        SCOPED_TRACE(it.key().value());
        const auto &loaded = reloaded.find(it.key()).value();
        EXPECT_EQ(loaded.modName(), it.value().modName());
        EXPECT_EQ(loaded.modComposition(), it.value().modComposition());
    }
    EXPECT_EQ(reloaded.find(add(reloaded, "NGlycan/+203.079373", "HexNAc(2)")).value().modCategory(),
              ModificationsManager::NGLY);
}

TEST_F(ModificationsManagerTest, MutationsAreSavedAsMutations)
{
    ModificationsManager manager;
    ASSERT_EQ(add(manager, "Gly->Asp/58.005479").value(), 0) << "a fresh catalogue starts at 0";
    ASSERT_FALSE(manager.saveToDB(db()).hasError());
    ModificationsManager reloaded;
    ASSERT_FALSE(reloaded.loadFromDB(db()).hasError());
    EXPECT_EQ(reloaded.modList().first().modCategory(), ModificationsManager::MUT);
    // Loaded with its stored category, a mutation is still recognised by its name.
    EXPECT_TRUE(reloaded.find(add(reloaded, "Ala->Val/28.0313")).value().isMutation());
}

TEST_F(ModificationsManagerTest, FailedSaveChangesNothing)
{
    ModificationsManager manager;
    ASSERT_FALSE(manager.loadFromDB(db()).hasError());
    add(manager, "First/1");
    add(manager, "Second/2");
    // Another writer took Id 7 meanwhile: the save must fail as a whole.
    ASSERT_FALSE(sql_exec(db(), u"INSERT INTO Modifications(Id, TypeName) VALUES(7, 'Other')"_qs).hasError());
    const Error err = manager.saveToDB(db());
    EXPECT_TRUE(err.errorString().contains(u"UNIQUE constraint failed")) << qPrintable(err.errorString());
    EXPECT_TRUE(err.errorString().contains(u"Can't save modification 7 (\"Second\", 2 Da)"));
    ModificationsManager check;
    ASSERT_FALSE(check.loadFromDB(db()).hasError());
    EXPECT_EQ(check.modList().size(), 6) << "the first row was rolled back";
}

// A full disk, and a catalogue opened read-only (root, who runs the tests, is not stopped by a
// read-only file): the save fails naming the file, and the catalogue keeps what it had.
TEST_F(ModificationsManagerTest, SaveThatCannotWriteChangesNothing)
{
    const QString path = m_dir.filePath(u"catalogue.db"_qs);
    for (const bool readOnly : { false, true }) {
        SCOPED_TRACE(readOnly ? "read-only" : "full disk");
        zeq::ScopedSQLite3Database database(path, readOnly);
        ASSERT_FALSE(database.init().hasError());
        ModificationsManager manager;
        ASSERT_FALSE(manager.loadFromDB(database.db()).hasError());
        for (int i = 0; i < 2000; ++i) {
            add(manager, QStringLiteral("Entry %1/%2").arg(i).arg(i + 1).toUtf8().constData());
        }
        Error err;
        {
            const zeq::test::FileSizeLimit limit(readOnly ? RLIM_INFINITY : QFileInfo(path).size());
            ASSERT_TRUE(limit.active());
            err = manager.saveToDB(database.db());
        }
        EXPECT_TRUE(err.errorString().contains(path)) << qPrintable(err.errorString());
        EXPECT_EQ(manager.newModificationsIdList().size(), 2000) << "kept for a retry";
    }
    ModificationsManager check;
    ASSERT_FALSE(check.loadFromDB(db()).hasError());
    EXPECT_EQ(check.modList().size(), 5);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QList<QString>{ u"catalogue.db"_qs });
}

TEST_F(ModificationsManagerTest, BadRowsAndTablesAreReported)
{
    ModificationsManager manager;
    add(manager, "Kept/1");
    ASSERT_FALSE(sql_exec(db(), u"INSERT INTO Modifications(Id, TypeName) VALUES(-4, 'Negative')"_qs).hasError());
    ErrorWarningMessages messages;
    const Error negative = manager.loadFromDB(db(), &messages);
    EXPECT_EQ(negative.code(), kBadParameterError);
    EXPECT_EQ(messages.errors, u"Value -4 is out of range for zeq::ModificationIdError parsing query column 0\n"_qs);
    EXPECT_TRUE(negative.errorString().contains(u"Row 1 of the Modifications table has the identifier -4"))
        << qPrintable(negative.errorString());

    ASSERT_FALSE(sql_exec(db(),
                          u"CREATE TABLE Other(x); DROP TABLE Modifications; "
                          u"CREATE TABLE Modifications(Id, TypeName, AllowedSites, ModName, MassShift, "
                          u"ModCategory, Composition); INSERT INTO Modifications VALUES(2, NULL, NULL, NULL, "
                          u"NULL, NULL, NULL), (NULL, 'x', '', '', 0, '', '')"_qs)
                     .hasError());
    messages = {};
    const Error null = manager.loadFromDB(db(), &messages);
    EXPECT_TRUE(null.errorString().contains(u"Row 2 of the Modifications table has the identifier NULL"))
        << qPrintable(null.errorString());
    EXPECT_EQ(messages.errors, u"Query column 0 invalid type 5 for SqlId\n"_qs);
    ASSERT_EQ(manager.modList().size(), 1) << "rows before the bad one stay";

    ASSERT_FALSE(sql_exec(db(), u"DROP TABLE Modifications"_qs).hasError());
    const Error missing = manager.loadFromDB(db());
    EXPECT_TRUE(missing.errorString().contains(u"no such table: Modifications"));
    EXPECT_EQ(manager.modList().size(), 1) << "unchanged when the table is missing";

    ModificationId id = manager.modList().firstKey();
    messages = {};
    EXPECT_EQ(manager.getOrInsertTessanModificationName(u"NoMass", {}, &id, &messages).code(), kBadParameterError);
    EXPECT_FALSE(id.isValid());
}

TEST_F(ModificationsManagerTest, IdentifiersAre64Bit)
{
    ASSERT_FALSE(sql_exec(db(), u"INSERT INTO Modifications(Id, TypeName) VALUES(2147483647, 'Top')"_qs).hasError());
    ModificationsManager manager;
    ASSERT_FALSE(manager.loadFromDB(db()).hasError());
    EXPECT_EQ(add(manager, "Next/1").value(), 2147483648);
    ASSERT_FALSE(manager.saveToDB(db()).hasError());
    ModificationsManager reloaded;
    ASSERT_FALSE(reloaded.loadFromDB(db()).hasError());
    EXPECT_EQ(reloaded.modList().lastKey().value(), 2147483648);

    ASSERT_FALSE(
        sql_exec(db(), u"INSERT INTO Modifications(Id, TypeName) VALUES(9223372036854775807, 'Last')"_qs).hasError());
    ASSERT_FALSE(reloaded.loadFromDB(db()).hasError());
    ModificationId id = reloaded.modList().firstKey();
    const Error full = reloaded.getOrInsertTessanModificationName(u"Beyond/2", {}, &id);
    EXPECT_EQ(full.code(), kOutOfRangeError);
    EXPECT_TRUE(full.errorString().contains(u"9223372036854775807")) << qPrintable(full.errorString());
    EXPECT_FALSE(id.isValid());
    EXPECT_TRUE(reloaded.newModificationsIdList().isEmpty());
}

TEST_F(ModificationsManagerTest, NonFiniteMassesAreRefused)
{
    ModificationsManager manager;
    for (const char *text : { "X/nan", "X/inf", "X/-inf" }) {
        SCOPED_TRACE(text);
        ModificationId id = add(manager, "Kept/1");
        ErrorWarningMessages messages;
        const Error err = manager.getOrInsertTessanModificationName(QString::fromUtf8(text), {}, &id, &messages);
        EXPECT_EQ(err.code(), kBadParameterError);
        EXPECT_EQ(err.errorString(), QStringLiteral("The mass of \"%1\" is not a finite number").arg(text));
        EXPECT_EQ(messages.errors, err.errorString() + u'\n');
        EXPECT_FALSE(id.isValid());
    }
    EXPECT_EQ(manager.modList().size(), 1);
}

TEST_F(ModificationsManagerTest, LoadStoppedBySqliteIsAnError)
{
    // A view whose third row fails while being stepped, after two rows were read.
    ASSERT_FALSE(sql_exec(db(),
                          u"ALTER TABLE Modifications RENAME TO Base; CREATE VIEW Modifications AS SELECT Id, "
                          u"TypeName, AllowedSites, ModName, MassShift, ModCategory, CASE WHEN Id = 3 THEN json('x') "
                          u"ELSE Composition END AS Composition FROM Base ORDER BY Id"_qs)
                     .hasError());
    ModificationsManager manager;
    const Error err = manager.loadFromDB(db());
    EXPECT_TRUE(err.errorString().contains(u"malformed JSON")) << qPrintable(err.errorString());
    EXPECT_EQ(manager.modList().size(), 2);
}

TEST_F(ModificationsManagerTest, SchemaAndSiteQueries)
{
    bool hasInfo = false;
    ASSERT_FALSE(sql_exec(db(), u"CREATE TABLE SearchResults(Id, FixedModificationsIdList)"_qs).hasError());
    ASSERT_FALSE(ModificationsManager::hasPTMInfo(db(), &hasInfo).hasError());
    EXPECT_TRUE(hasInfo);

    QString sites;
    ASSERT_FALSE(zeq::ModificationsDao::loadAllowedSiteByModIf(db(), u"2"_qs, &sites).hasError());
    EXPECT_EQ(sites, u"Protein N-term"_qs);
    ASSERT_FALSE(zeq::ModificationsDao::loadAllowedSiteByModIf(db(), u"42"_qs, &sites).hasError());
    EXPECT_EQ(sites, QString());
    sites = u"kept"_qs;
    EXPECT_EQ(zeq::ModificationsDao::loadAllowedSiteByModIf(db(), u"1 OR 1=1"_qs, &sites).code(), kBadParameterError);
    EXPECT_EQ(sites, u"kept"_qs);

    ModificationsManager manager;
    ASSERT_FALSE(manager.loadFromDB(db()).hasError());
    const auto terminal = manager.proteinTerminalMod(u"1,,3,2"_qs, true);
    ASSERT_TRUE(terminal.hasValue());
    EXPECT_EQ(terminal.value().toInt(), ModificationsManager::ProteinCTerminal) << "the first terminal site decides";
    const Error bad = manager.proteinTerminalMod(u"2,x7"_qs, true).error();
    EXPECT_EQ(bad.code(), kBadParameterError);
    EXPECT_TRUE(bad.errorString().contains(u"\"x7\"")) << qPrintable(bad.errorString());
}
