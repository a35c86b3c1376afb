#include "utils/TessanUtilsXlinkCells.h"

#include "constants/StringConstants.h"
#include "support/RowTreeBuilder.h"
#include "zeq_common_core_mini/CustomSettings.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

// The five cells that cross-links fill, in column order, as text ("-" for a null cell).
QString cellsOf(const RowNode &row)
{
    QList<QString> cells;
    for (const QString &column : { kXlinkBasePeptideXlinkPositionInProtein,
                                   kXlinkPartnerPeptideXlinkPositionInProtein,
                                   kXlinkPartnerPeptideSequence,
                                   kXlinkPartnerPeptideSequenceUnformatted,
                                   kXlinkPartnerPeptideProteinName }) {
        const QVariant &cell = row.getDataAt(column);
        cells.append(cell.isNull() ? u"-"_qs : cell.toString());
    }
    return cells.join(u" | ");
}

} // namespace

TEST(TessanUtilsXlinkCellsTest, DuplicateColumnsFollowTheFeatureSetting)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CustomSettings settings(dir.filePath(u"s.ini"_qs));
    RowNode root = zeq::test::makeTable({ u"Peptide"_qs }, { { u"AK"_qs }, { u"CR"_qs } });
    zeq::addXlinkColumns(&root, settings);
    EXPECT_EQ(root.getRootDataAsStringList().mid(1), zeq::getXlinkColumns(settings));

    settings.setValue(kEnableXlinkDuplicateColumns, u"1"_qs, CustomSettings::FeatureScope);
    EXPECT_EQ(zeq::getXlinkColumns(settings).mid(5), (QList<QString>{ kXlinkRowHash, kXlinkIsDuplicate }));
    // The switch lives in the feature scope only.
    settings.setValue(kEnableXlinkDuplicateColumns, 0, CustomSettings::FeatureScope);
    settings.setValue(kEnableXlinkDuplicateColumns, 1, CustomSettings::ApplicationScope);
    EXPECT_EQ(zeq::getXlinkColumns(settings).size(), 5);
}

TEST(TessanUtilsXlinkCellsTest, CrossLinkItemsFillCellsAndBecomePlainNames)
{
    QHash<int, QString> names{ { 4, u"sp|P4|ALB"_qs } };
    // Case matters: "Linker" is no link item.
    const char *const kMixed =
        " 1|Oxidation / 15.9949;2|{xlink-inter} Seq:K.CAKDK.R Protein:4 Position:20 "
        "LinkPosition:22,24 LinkDeltaMass:138.068 LinkName:{DSS} / 138.068;3|{S-S-intra} / "
        "-1.0078;;5|{xlink-inter-decoy} Seq:R.KKK.A Protein:7 Position:3 LinkPosition:4 "
        "LinkName:{BS3} / 138.1;6|{xlink-intra} DSSO / 158.004;9|link site;10|2nd link x;11|Linker ";
    const std::string mixedWithPair = "12|{S-S-intra}/-1.0078;" + std::string(kMixed);
    const char *const kMixedWithPair = mixedWithPair.c_str();
    const struct {
        const char *name;
        const char *mods;
        QHash<int, QString> *names;
        const char *result; // null: the list comes back unchanged
        const char *cells;
        int firstLink;
    } rows[] = {
        { "inter, decoy, intra, one disulfide half and plain items",
          kMixed,
          &names,
          "1|Oxidation / 15.9949;2|DSS / 138.068;3|Disulfide half /  -1.0078;5|BS3 / 138.1;6|DSSO /  158.004;"
          "9|link site;10|2nd link x;11|Linker",
          "101, 104, 105, 108, 109 | 22, 24, 4 | K.CAKDK.R, (decoy) R.KKK.A | - | sp|P4|ALB, Protein #7 in FASTA "
          "[Unable to retrieve protein name]",
          1 },
        { "the same with a second disulfide half",
          kMixedWithPair,
          &names,
          "12|Disulfide half / -1.0078; 1|Oxidation / 15.9949;2|DSS / 138.068;3|Disulfide half /  -1.0078;"
          "5|BS3 / 138.1;6|DSSO /  158.004;9|link site;10|2nd link x;11|Linker",
          // The pair, first half first in list order, replaces what the other links appended.
          "111 | 102 | (self) | - | (self)",
          1 },
        { "partner in this protein, then one whose name is unknown, without a name table",
          "4|{S-S-inter} Seq:K.ACK.R Protein:9 Position:50 / x;7|{xlink-inter} Seq:K.AK.R Protein:5 Position:1 "
          "LinkPosition:2 / y",
          nullptr,
          "4|Disulfide / x;7|Disulfide / y",
          "103, 106 | 51, 2 | K.ACK.R, K.AK.R | - | (self), Protein #5 in FASTA [Unable to retrieve protein name]",
          1 },
        { "malformed cross-link names stay as they were",
          " 2|{xlink-inter} Seq:K.AK.R Position:3 / 1;x|{xlink-intra} DSS;noPipe ",
          &names,
          nullptr,
          "- | - | - | - | -",
          -1 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        RowNode root = zeq::test::makeTable({ u"Peptide"_qs }, { { u"PEPTIDE"_qs } });
        zeq::addXlinkColumns(&root, CustomSettings(u"/nonexistent/s.ini"_qs));
        const QString mods = QString::fromLatin1(row.mods);
        int firstLink = 99;
        const QString result =
            zeq::populateXlinkCellsAndComputeUpdatedMods(root.getChild(0), mods, 9, 100, row.names, firstLink);
        EXPECT_EQ(result.toStdString(), row.result ? row.result : row.mods);
        EXPECT_EQ(cellsOf(*root.getChild(0)).toStdString(), row.cells);
        EXPECT_EQ(firstLink, row.firstLink);
    }
}
