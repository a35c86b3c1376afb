#include "zeq_common_core_mini/ProteinDigestor.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

namespace
{

using Table = std::array<char, 256>;

// Residues cutting after (0), before (1) or on both sides (2).
Table cleavageTable(const char *after, const char *before = "", const char *both = "")
{
    Table table;
    table.fill(-1);
    for (const auto &[residues, entry] : { std::pair{ after, 0 }, { before, 1 }, { both, 2 } }) {
        for (const char *r = residues; *r; ++r) {
            table[static_cast<unsigned char>(*r)] = static_cast<char>(entry);
        }
    }
    return table;
}

// Powers of ten show which residues a listed mass summed; terminal masses add 0.75.
ProteinDigestor digest(const char *protein,
                       const Table &table,
                       DigestCutterType type,
                       DigestionSearchOption option = DigestNumberingOnly,
                       int maxMissed = 0)
{
    std::array<double, 256> masses{};
    for (const auto &[residue, mass] :
         { std::pair{ 'A', 1 }, { 'K', 10 }, { 'P', 100 }, { 'E', 1000 }, { 'R', 1e4 }, { 'G', 1e5 } }) {
        masses[residue] = mass;
    }
    ProteinDigestor digestor;
    const int length = static_cast<int>(std::strlen(protein));
    const Error err =
        digestor.init(protein, length, masses.data(), 0.5, 0.25, 0.0, 1e9, maxMissed, table.data(), type, option, 15);
    EXPECT_FALSE(err.hasError()) << qPrintable(err.errorString());
    return digestor;
}

QString listed(const ProteinDigestor &digestor)
{
    QString text;
    for (const ProteinDigestor::Peptide &p : digestor.peptides()) {
        text += QStringLiteral("%1-%2/%3/%4 ").arg(p.first).arg(p.last).arg(p.missedCleavages).arg(p.mass, 0, 'f', 2);
    }
    return text;
}

} // namespace

TEST(ProteinDigestorTest, NumbersRiseByOneAtEachCleavagePoint)
{
    const std::tuple<const char *, Table, DigestCutterType, QList<int>> rows[] = {
        // No implicit proline rule: K before P cuts although the flags are 15.
        { "AKPEKRG", cleavageTable("KR"), CutterCterm, { 1, 1, 2, 2, 2, 3, 4 } },
        { "ADKDE", cleavageTable("", "D"), CutterNterm, { 1, 2, 2, 3, 3 } },
        // A cut after K and one before the next K or D at the same boundary count once.
        { "AKKDA", cleavageTable("", "D", "K"), CutterCtermNterm, { 1, 2, 3, 4, 4 } },
        { "akpekrg", cleavageTable("KR"), CutterCterm, { 1, 1, 1, 1, 1, 1, 1 } },
    };
    for (const auto &[protein, table, type, numbers] : rows) {
        SCOPED_TRACE(protein);
        const ProteinDigestor digestor = digest(protein, table, type);
        EXPECT_EQ(digestor.digestNumbers(), numbers);
    }
}

TEST(ProteinDigestorTest, ListsPeptidesUpToTheMissedCleavageLimit)
{
    const Table trypsin = cleavageTable("KR");
    // AK | PEK | R | G
    EXPECT_EQ(listed(digest("AKPEKRG", trypsin, CutterCterm, DigestSpecific, 1)),
              u"0-1/0/11.75 0-4/1/1121.75 2-4/0/1110.75 2-5/1/11110.75 5-5/0/10000.75 5-6/1/110000.75 "
              u"6-6/0/100000.75 ");
    EXPECT_EQ(listed(digest("AKPEKRG", trypsin, CutterCterm, DigestNumberingOnly, 3)), QString());
}

TEST(ProteinDigestorTest, RejectsBadArgumentsAndStaysEmpty)
{
    const std::array<double, 256> m{};
    const Table t = cleavageTable("K");
    const std::string nonAscii = QStringLiteral("AKé").toStdString();
    const auto c = CutterCterm;
    const auto o = DigestNumberingOnly;
    const std::tuple<const char *, int, const double *, const char *, DigestCutterType, DigestionSearchOption, int>
        rows[] = {
            { nullptr, 0, m.data(), t.data(), c, o, 0 },
            { "AK", 2, nullptr, t.data(), c, o, 0 },
            { nonAscii.c_str(), 3, m.data(), t.data(), c, o, 0 },
            { "AK", 2, m.data(), t.data(), DigestCutterType(3), o, 0 },
            { "AK", 2, m.data(), t.data(), c, o, -1 },
        };
    for (const auto &[sequence, length, masses, table, type, option, maxMissed] : rows) {
        ProteinDigestor digestor = digest("AKR", t, CutterCterm, DigestSpecific);
        const Error err = digestor.init(sequence, length, masses, 0, 0, 0, 1e9, maxMissed, table, type, option, 0);
        EXPECT_EQ(err.code(), kBadParameterError);
        EXPECT_EQ(digestor, ProteinDigestor());
    }
}
