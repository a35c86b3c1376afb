#include "db/MassName.h"
#include "db/ModFinalList.h"
#include "db/ModificationsManager.h"

#include <gtest/gtest.h>

using zeq::ErrorWarningMessages;
using zeq::MassName;
using zeq::ModificationsManager;

TEST(ModificationNameParsingTest, MassNamesAreBareNames)
{
    for (const char *good : { "Carbamidomethyl (C)", "[13C6]-Lys", "X" }) {
        const auto name = MassName::fromString(QString::fromUtf8(good));
        ASSERT_TRUE(name.hasValue()) << good;
        EXPECT_EQ(name.value().name(), QString::fromUtf8(good));
    }
    for (const char *bad : { "", "Oxidation/+15.99" }) {
        const auto name = MassName::fromString(QString::fromUtf8(bad));
        ASSERT_TRUE(name.hasError()) << bad;
    }
}

TEST(ModificationNameParsingTest, NameWithMassSplitsAtTheLastSlash)
{
    struct Row {
        const char *text;
        const char *name;
        double mass;
        const char *line; // "" on success
    };
    const Row rows[] = {
        { "Oxidation/+15.994915", "Oxidation", 15.994915, "" },
        { "  Deamidation /0.984016", "Deamidation", 0.984016, "" },
        { "NGlycan/HexNAc/+203.079", "NGlycan/HexNAc", 203.079, "" },
        { "Oxidation/abc", "", 0, "Invalid mass \"abc\" in modification namelist \"Oxidation/abc\"\n" },
        { "Oxidation", "", 0, "Missing mass in modification namelist \"Oxidation\"\n" },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        QString name = u"kept"_qs;
        double mass = -1;
        ErrorWarningMessages messages;
        const Error err =
            ModificationsManager::parseModificationNameWithMass(QString::fromUtf8(row.text), &name, &mass, &messages);
        EXPECT_EQ(messages.errors, QString::fromUtf8(row.line));
        if (*row.line) {
            EXPECT_EQ(err.code(), kBadParameterError);
            EXPECT_EQ(name, u"kept"_qs);
            EXPECT_EQ(mass, -1);
        } else {
            EXPECT_FALSE(err.hasError());
            EXPECT_EQ(name, QString::fromUtf8(row.name));
            EXPECT_DOUBLE_EQ(mass, row.mass);
        }
    }
}

TEST(ModificationNameParsingTest, TessanStyleListsAppendCommaTerminatedLists)
{
    ModificationsManager manager;
    QString names = u"Acetyl,"_qs;
    QString positions = u"0,"_qs;
    QString mods = u"5|Oxidation;12|Deamidation"_qs;
    ASSERT_FALSE(manager.modNamesAndPositionsListFromTessanStyleMods(mods, &names, &positions).hasError());
    EXPECT_EQ(positions, u"0,5,12,"_qs);
    EXPECT_EQ(names, u"Acetyl,Oxidation,Deamidation,"_qs);

    for (const char *bad : { "5|Ox|idation", "5" }) {
        names.clear();
        positions.clear();
        QString text = QString::fromUtf8(bad);
        EXPECT_EQ(manager.modNamesAndPositionsListFromTessanStyleMods(text, &names, &positions).code(), kError) << bad;
    }
    mods = u"5|Oxidation;"_qs;
    EXPECT_TRUE(manager.modNamesAndPositionsListFromTessanStyleMods(mods, &names, &positions).hasError());
    EXPECT_EQ(positions, u"5,"_qs) << "pairs before the bad part stay";
    EXPECT_EQ(manager.modNamesAndPositionsListFromTessanStyleMods(mods, nullptr, &positions).code(),
              kBadParameterError);
}

TEST(ModificationNameParsingTest, FinalListLabelsFollowPositions)
{
    struct Row {
        const char *peptide;
        const char *mods;
        const char *labels;
        QList<QString> sites;
    };
    const Row rows[] = {
        { "MPNK", "3|Deamidation;1|Oxidation", "M1(Oxidation); N3(Deamidation)", { u"M"_qs, u"N"_qs } },
        { "K.MPNK.R", "0|Acetyl;5|Amidated", "NTerm(Acetyl); CTerm(Amidated)", { u"NTerm"_qs, u"CTerm"_qs } },
        { "MPNK", "2|B;2|A;bad", "_-1(bad); P2(B); P2(A)", { u"_"_qs, u"P"_qs, u"P"_qs } },
        { "", "1|Oxidation;2|Phospho", "Oxidation; Phospho", {} },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.mods);
        QList<QString> sites{ u"stale"_qs };
        EXPECT_EQ(zeq::makeModFinalListStr(QString::fromUtf8(row.peptide), QString::fromUtf8(row.mods), &sites),
                  QString::fromUtf8(row.labels));
        EXPECT_EQ(sites, row.sites);
    }
    EXPECT_TRUE(zeq::has_modFinalListSyntax(u"0|Acetyl;5|Amidated;"_qs));
    EXPECT_FALSE(zeq::has_modFinalListSyntax(u"3|Ox;Oxidation"_qs));
}

TEST(ModificationNameParsingTest, MutationNamesGiveOneLetterCodes)
{
    struct Row {
        const char *name;
        char before;
        char after;
    };
    for (const Row &row : { Row{ "Ala->Val", 'A', 'V' },
                            Row{ "Gly->Asp_x", 'G', 'D' },
                            Row{ "A->V", 0, 0 },
                            Row{ "Ala->Foo", 'A', 0 },
                            Row{ "Oxidation", 0, 0 } }) {
        SCOPED_TRACE(row.name);
        ModificationsManager::ModificationsEntry entry;
        entry.setModName(u"Gly->Ala"_qs);
        entry.setModName(QString::fromUtf8(row.name));
        EXPECT_EQ(entry.getBeforeMutationLetter(), row.before);
        EXPECT_EQ(entry.getAfterMutationLetter(), row.after);
        EXPECT_EQ(entry.isMutation(), row.before && row.after);
    }
}
