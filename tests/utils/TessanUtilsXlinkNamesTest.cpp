#include "utils/TessanUtilsXlinkNames.h"

#include <QLocale>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using zeq::XlinkInfo;

namespace
{

// Every field: "sequence [positions] protein position delta {linker} expected / suffix".
std::string describe(const XlinkInfo &info)
{
    QList<QString> positions;
    for (const int position : info.linkPositions) {
        positions.append(QString::number(position));
    }
    return QStringLiteral("%1 [%2] %3 %4 %5 {%6} %7 / %8")
        .arg(info.partnerSequence,
             positions.join(u','),
             QString::number(info.partnerProtein),
             QString::number(info.partnerPosition),
             QString::number(info.linkDeltaMass, 'g', QLocale::FloatingPointShortest),
             info.linkName,
             info.expected ? QString::number(int(*info.expected)) : u"-"_qs,
             info.nameSuffix)
        .toStdString();
}

} // namespace

TEST(TessanUtilsXlinkNamesTest, RecognisersTellTagsApart)
{
    const struct {
        const char *name;
        bool inter, decoy, intra;
    } rows[] = {
        { "  {xlink-inter} Seq:K.A.R", true, false, false },
        { "\t{S-S-intra} / 1", false, false, true },
        { "Oxidation / 15.9949 {xlink-inter}", false, false, false },
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
    const struct {
        const char *name;
        bool ok;
        const char *info;
    } rows[] = {
        { "{xlink-inter} Seq:K.PEPTIDEK.R Protein:3 Position:45 LinkPosition:52 LinkDeltaMass:138.068 "
          "LinkName:{DSS} / +138.068",
          true,
          "K.PEPTIDEK.R [7] 3 45 138.068 {DSS} - / +138.068" },
        // A remark after the position; several link positions; text between further slashes ignored.
        { "{xlink-inter} Seq:K.AKCK.R Protein:1 Position:10(extra) LinkPosition:11,,13 LinkDeltaMass:96.02 "
          "LinkName:{BS3 short} / ignored / 96.02 ",
          true,
          "K.AKCK.R [1,3] 1 10 96.02 {BS3 short} - / 96.02" },
        // Without link positions: a disulfide at the first cysteine of the bare sequence, if any.
        { "{S-S-inter} Seq:-.AAK.- Protein:2 Position:1 / x", true, "-.AAK.- [-1] 2 1 -2.01565 {Disulfide} - / x" },
        // Expected: the last readable flag wins; numbers that do not convert read as 0.
        { "{xlink-inter-decoy} Seq:K.AK.R Protein:x Position:y Expected:0 Expected:z Expected:2 / s",
          true,
          "K.AK.R [-1] 0 0 -2.01565 {Disulfide} 1 / s" },
        // The delta mass counts only in the sixth word.
        { "{xlink-inter} Seq:PEPTIDE Protein:1 Position:5 LinkDeltaMass:100",
          true,
          "PEPTIDE [-1] 1 5 -2.01565 {Disulfide} - / " },
        { "{xlink-inter} Seq:K.CK.R Protein:4 Position:5 LinkName:{DSS",
          true,
          "K.CK.R [0] 4 5 -2.01565 {Disulfide} - / " },
        // Failures keep what was filled before the missing word.
        { "{xlink-inter} Seq:K.PEPTIDEK.R Position:45 / +1", false, "K.PEPTIDEK.R [] -1 -1 0 {} - / +1" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        XlinkInfo actual;
        EXPECT_EQ(zeq::parseInterPeptideXlinkName(QString::fromLatin1(row.name), actual), row.ok);
        EXPECT_EQ(describe(actual), row.info);
    }
}

// Generated names: parsing reads every field; toString writes the link positions relative to the
// partner peptide, so reading its text back moves them once more by the partner position.
TEST(TessanUtilsXlinkNamesTest, GeneratedNamesRoundTrip)
{
    QRandomGenerator random(13);
    const auto pick = [&random](const char *letters, int length) {
        const QString alphabet = QString::fromLatin1(letters);
        QString text;
        for (int i = 0; i < length; ++i) {
            text.append(alphabet[random.bounded(int(alphabet.size()))]);
        }
        return text;
    };
    for (int n = 0; n < 100; ++n) {
        XlinkInfo original;
        original.partnerSequence =
            pick("KR-", 1) + u'.' + pick("ACDEKLMNPQRSTY", random.bounded(1, 20)) + u'.' + pick("ACDEKLMNPQRSTY-", 1);
        original.partnerProtein = random.bounded(0, 5000);
        original.partnerPosition = random.bounded(1, 2000);
        for (int i = 0, count = random.bounded(1, 4); i < count; ++i) {
            original.linkPositions.append(random.bounded(0, 20));
        }
        original.linkDeltaMass = (random.generateDouble() - 0.3) * 1000.0;
        original.linkName = u"L"_qs + pick("ABCDSabc-+ 0123", random.bounded(0, 10)).trimmed();
        if (random.bounded(3) != 0) {
            original.expected = random.bounded(2) == 1;
        }
        if (random.bounded(2) == 1) {
            original.nameSuffix = QString::number(original.linkDeltaMass, 'f', 4);
        }
        SCOPED_TRACE(describe(original));

        // The name as a search writes it: link positions in the protein.
        XlinkInfo inProtein = original;
        for (int &position : inProtein.linkPositions) {
            position += original.partnerPosition;
        }
        XlinkInfo parsed;
        ASSERT_TRUE(zeq::parseInterPeptideXlinkName(inProtein.toString(u','), parsed));
        EXPECT_TRUE(parsed == original) << describe(parsed);

        XlinkInfo again;
        ASSERT_TRUE(zeq::parseInterPeptideXlinkName(parsed.toString(u','), again));
        for (int &position : original.linkPositions) {
            position -= original.partnerPosition;
        }
        EXPECT_TRUE(again == original) << describe(again);
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
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QString suffix = u"old"_qs;
        QString linker = u"old"_qs;
        bool disulfide = true;
        EXPECT_EQ(zeq::parseIntraPeptideXlinkName(QString::fromLatin1(row.name), suffix, linker, &disulfide), row.ok);
        EXPECT_EQ(suffix.toStdString(), row.suffix);
        EXPECT_EQ(linker.toStdString(), row.linker);
        EXPECT_EQ(disulfide, row.disulfide);
    }
}
