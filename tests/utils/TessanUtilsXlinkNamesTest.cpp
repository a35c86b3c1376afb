#include "utils/TessanUtilsXlinkNames.h"

#include <QLocale>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using zeq::XlinkInfo;

namespace
{

XlinkInfo info(const char *sequence,
               QList<int> positions,
               int protein,
               int position,
               const char *suffix,
               double delta,
               const char *linker,
               std::optional<bool> expected = std::nullopt)
{
    return XlinkInfo{ QString::fromLatin1(sequence),
                      std::move(positions),
                      protein,
                      position,
                      QString::fromLatin1(suffix),
                      delta,
                      QString::fromLatin1(linker),
                      expected };
}

void expectSame(const XlinkInfo &actual, const XlinkInfo &expected)
{
    EXPECT_EQ(actual.partnerSequence, expected.partnerSequence);
    EXPECT_EQ(actual.linkPositions, expected.linkPositions);
    EXPECT_EQ(actual.partnerProtein, expected.partnerProtein);
    EXPECT_EQ(actual.partnerPosition, expected.partnerPosition);
    EXPECT_EQ(actual.nameSuffix, expected.nameSuffix);
    EXPECT_DOUBLE_EQ(actual.linkDeltaMass, expected.linkDeltaMass);
    EXPECT_EQ(actual.linkName, expected.linkName);
    EXPECT_EQ(actual.expected, expected.expected);
}

} // namespace

TEST(TessanUtilsXlinkNamesTest, RecognisersTellTagsApart)
{
    const struct {
        const char *name;
        bool inter, decoy, intra;
    } rows[] = {
        { "  {xlink-inter} Seq:K.A.R", true, false, false },
        { "{S-S-inter} Seq:K.A.R", true, false, false },
        { "{xlink-inter-decoy} Seq:K.A.R", false, true, false },
        { "{S-S-inter-decoy}", false, true, false },
        { "{xlink-intra} DSS / 1", false, false, true },
        { "\t{S-S-intra} / 1", false, false, true },
        { "{XLINK-INTER} Seq:K.A.R", false, false, false },
        { "Oxidation / 15.9949 {xlink-inter}", false, false, false },
        { "", false, false, false },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString name = QString::fromLatin1(row.name);
        EXPECT_EQ(zeq::isInterPeptideXlink(name), row.inter);
        EXPECT_EQ(zeq::isInterPeptideDecoyXlink(name), row.decoy);
        EXPECT_EQ(zeq::isIntraPeptideXlink(name), row.intra);
    }
}

TEST(TessanUtilsXlinkNamesTest, InterPeptideNamesAreRead)
{
    const double ss = -2.01565;
    const struct {
        const char *name;
        bool ok;
        XlinkInfo expected;
    } rows[] = {
        { "{xlink-inter} Seq:K.PEPTIDEK.R Protein:3 Position:45 LinkPosition:52 LinkDeltaMass:138.068 "
          "LinkName:{DSS} / +138.068",
          true,
          info("K.PEPTIDEK.R", { 7 }, 3, 45, "+138.068", 138.068, "DSS") },
        // A remark after the position; several link positions; text between further slashes ignored.
        { "{xlink-inter} Seq:K.AKCK.R Protein:1 Position:10(extra) LinkPosition:11,,13 LinkDeltaMass:96.02 "
          "LinkName:{BS3 short} / ignored / 96.02 ",
          true,
          info("K.AKCK.R", { 1, 3 }, 1, 10, "96.02", 96.02, "BS3 short") },
        // Without link positions: a disulfide at the first cysteine of the bare sequence.
        { "{S-S-inter} Seq:R.AACDCK.L Protein:2 Position:7",
          true,
          info("R.AACDCK.L", { 2 }, 2, 7, "", ss, "Disulfide") },
        { "{S-S-inter} Seq:-.AAK.- Protein:2 Position:1 / x",
          true,
          info("-.AAK.-", { -1 }, 2, 1, "x", ss, "Disulfide") },
        // The delta mass directly after the position, when no link positions are given.
        { "{xlink-inter} Seq:K.CAK.R Protein:2 Position:1 LinkDeltaMass:12.5",
          true,
          info("K.CAK.R", { 0 }, 2, 1, "", 12.5, "Disulfide") },
        // Expected: the last readable flag wins; numbers that do not convert read as 0.
        { "{xlink-inter-decoy} Seq:K.AK.R Protein:x Position:y Expected:0 Expected:z Expected:2 / s",
          true,
          info("K.AK.R", { -1 }, 0, 0, "s", ss, "Disulfide", true) },
        { "{xlink-inter} Seq:K.AK.R Protein:4 Position:5 LinkPosition:6 Expected:0",
          true,
          info("K.AK.R", { 1 }, 4, 5, "", ss, "Disulfide", false) },
        // A linker name opening at index 0 or never closing is not taken.
        { "LinkName:{DSS} Seq:K.CK.R Protein:4 Position:5", true, info("K.CK.R", { 0 }, 4, 5, "", ss, "Disulfide") },
        { "{xlink-inter} Seq:K.CK.R Protein:4 Position:5 LinkName:{DSS",
          true,
          info("K.CK.R", { 0 }, 4, 5, "", ss, "Disulfide") },
        // Failures keep what was filled before the missing word.
        { "{xlink-inter} Seq:K.PEPTIDEK.R Position:45 / +1", false, info("K.PEPTIDEK.R", {}, -1, -1, "+1", 0, "") },
        { "{xlink-inter} Seq:K.A.R Protein:3", false, info("K.A.R", {}, 3, -1, "", 0, "") },
        { "{xlink-inter} Protein:3 Seq:K.A.R Position:1", false, info("", {}, -1, -1, "", 0, "") },
        { "{xlink-inter}", false, info("", {}, -1, -1, "", 0, "") },
        { " / / ", false, info("", {}, -1, -1, "", 0, "") },
        { "", false, info("", {}, -1, -1, "", 0, "") },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        XlinkInfo actual;
        EXPECT_EQ(zeq::parseInterPeptideXlinkName(QString::fromLatin1(row.name), actual), row.ok);
        expectSame(actual, row.expected);
    }
}

// Generated names: parsing reads every field; toString writes the link positions relative to the
// partner peptide, so reading its text back moves them once more by the partner position.
TEST(TessanUtilsXlinkNamesTest, GeneratedNamesRoundTrip)
{
    QRandomGenerator random(13);
    const auto pick = [&random](const char *letters, int length) {
        QString text;
        const QString alphabet = QString::fromLatin1(letters);
        for (int i = 0; i < length; ++i) {
            text.append(alphabet[random.bounded(int(alphabet.size()))]);
        }
        return text;
    };
    for (int n = 0; n < 200; ++n) {
        XlinkInfo original;
        original.partnerSequence =
            pick("KR-", 1) + u'.' + pick("ACDEKLMNPQRSTY", random.bounded(1, 20)) + u'.' + pick("ACDEKLMNPQRSTY-", 1);
        original.partnerProtein = random.bounded(0, 5000);
        original.partnerPosition = random.bounded(1, 2000);
        for (int i = 0, count = random.bounded(1, 4); i < count; ++i) {
            original.linkPositions.append(random.bounded(0, 20));
        }
        original.linkDeltaMass = (random.generateDouble() - 0.3) * 1000.0;
        original.linkName = pick("ABCDSabc-+ 0123", random.bounded(1, 10)).trimmed();
        if (original.linkName.isEmpty()) {
            original.linkName = u"DSSO"_qs;
        }
        if (random.bounded(3) != 0) {
            original.expected = random.bounded(2) == 1;
        }
        if (random.bounded(2) == 1) {
            original.nameSuffix = QString::number(original.linkDeltaMass, 'f', 4);
        }
        SCOPED_TRACE(original.toString(u',').toStdString());

        // The name as a search writes it: link positions in the protein.
        XlinkInfo inProtein = original;
        for (int &position : inProtein.linkPositions) {
            position += original.partnerPosition;
        }
        XlinkInfo parsed;
        ASSERT_TRUE(zeq::parseInterPeptideXlinkName(inProtein.toString(u','), parsed));
        expectSame(parsed, original);
        EXPECT_EQ(parsed.toString(u','), original.toString(u','));

        XlinkInfo again;
        ASSERT_TRUE(zeq::parseInterPeptideXlinkName(parsed.toString(u','), again));
        for (int i = 0; i < original.linkPositions.size(); ++i) {
            EXPECT_EQ(again.linkPositions[i], original.linkPositions[i] - original.partnerPosition);
        }
        EXPECT_DOUBLE_EQ(again.linkDeltaMass, original.linkDeltaMass);
    }
}

TEST(TessanUtilsXlinkNamesTest, TextFormsOfTheRecord)
{
    XlinkInfo record = info("K.PEPTIDEK.R", { 7, 9 }, 3, 45, "", 1e-7, "DSS");
    EXPECT_EQ(record.toString(u';'),
              u"{xlink-inter} Seq:K.PEPTIDEK.R Protein:3 Position:45 LinkPosition:7;9 LinkDeltaMass:1e-07 "
              "LinkName:{DSS}"_qs);
    record = info("%1.A%2.%3", {}, 1, 2, "%4", 0.5, "%5", false);
    EXPECT_EQ(record.toString(u','),
              u"{xlink-inter} Seq:%1.A%2.%3 Protein:1 Position:2 LinkPosition: LinkDeltaMass:0.5 LinkName:{%5} "
              "Expected:0 / %4"_qs);
    EXPECT_EQ(record.getPositionOfFirstXlinkInPartnerSequence(), 0);

    const struct {
        const char *sequence, *unformatted;
    } rows[] = { { "K.PEPTIDEK.R", "PEPTIDEK" }, { "PEPTIDEK", "" }, { "", "" }, { ".AB", "AB" }, { "K..R", "" } };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.sequence);
        record.partnerSequence = QString::fromLatin1(row.sequence);
        EXPECT_EQ(record.partnerSequenceUnformatted(), QString::fromLatin1(row.unformatted));
    }
}

TEST(TessanUtilsXlinkNamesTest, IntraPeptideNamesAreRead)
{
    const struct {
        const char *name;
        bool ok;
        const char *suffix, *linker;
        bool disulfide;
    } rows[] = {
        { "{S-S-intra} / -2.0157", true, " -2.0157", "Disulfide", true },
        { " {xlink-intra} DSS / 138.068/ 139", true, " 139", "DSS", false },
        { "{xlink-intra}/12", true, "12", "", false },
        { "{xlink-inter} DSS / 138.068", false, " 138.068", "", false },
        // Without a "/" the outputs keep what they held.
        { "{S-S-intra}", false, "old", "old", true },
        { "", false, "old", "old", true },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QString suffix = u"old"_qs;
        QString linker = u"old"_qs;
        bool disulfide = true;
        EXPECT_EQ(zeq::parseIntraPeptideXlinkName(QString::fromLatin1(row.name), suffix, linker, &disulfide), row.ok);
        EXPECT_EQ(suffix, QString::fromLatin1(row.suffix));
        EXPECT_EQ(linker, QString::fromLatin1(row.linker));
        EXPECT_EQ(disulfide, row.disulfide);
    }
    QString suffix;
    QString linker;
    EXPECT_TRUE(zeq::parseIntraPeptideXlinkName(u"{S-S-intra} / 1"_qs, suffix, linker, nullptr));
}
