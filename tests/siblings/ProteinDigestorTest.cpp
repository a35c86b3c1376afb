#include "zeq_common_core_mini/ProteinDigestor.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

namespace
{

using Table = std::array<char, 256>;

Table cleavageTable(std::initializer_list<std::pair<char, int8_t>> entries)
{
    Table table;
    table.fill(-1);
    for (const auto &[residue, entry] : entries) {
        table[static_cast<unsigned char>(residue)] = static_cast<char>(entry);
    }
    return table;
}

// Powers of ten make every listed mass show which residues it summed.
std::array<double, 256> powerMasses()
{
    std::array<double, 256> masses{};
    masses['A'] = 1;
    masses['K'] = 10;
    masses['P'] = 100;
    masses['E'] = 1000;
    masses['R'] = 10000;
    masses['G'] = 100000;
    return masses;
}

struct Digest {
    const char *sequence;
    Table table;
    DigestCutterType type;
    DigestionSearchOption option = DigestNumberingOnly;
    int maxMissed = 0;
    double minMass = 0.0;
    double maxMass = 1e9;
    long flags = 0;
};

ProteinDigestor digest(const Digest &d)
{
    static const std::array<double, 256> masses = powerMasses();
    ProteinDigestor digestor;
    const Error err = digestor.init(d.sequence,
                                    static_cast<int>(std::strlen(d.sequence)),
                                    masses.data(),
                                    0.5,
                                    0.25,
                                    d.minMass,
                                    d.maxMass,
                                    d.maxMissed,
                                    d.table.data(),
                                    d.type,
                                    d.option,
                                    d.flags);
    EXPECT_FALSE(err.hasError()) << qPrintable(err.errorString());
    return digestor;
}

const Table trypsin = cleavageTable({ { 'K', 0 }, { 'R', 0 } });
const Table aspN = cleavageTable({ { 'D', 1 } });

} // namespace

TEST(ProteinDigestorTest, NumbersRiseByOneAtEachCleavagePoint)
{
    struct Row {
        const char *name;
        Digest digest;
        QList<int> numbers;
    };
    const Row rows[] = {
        // No implicit proline rule: K before P cuts, whatever the flags.
        { "trypsin", { "AKPEKRG", trypsin, CutterCterm, DigestNumberingOnly, 0, 0, 0, 15 }, { 1, 1, 2, 2, 2, 3, 4 } },
        { "aspN", { "ADKDE", aspN, CutterNterm }, { 1, 2, 2, 3, 3 } },
        { "aspN at the start", { "DAD", aspN, CutterNterm }, { 1, 1, 2 } },
        // K cuts on both sides; the cut after K and before K/D at one boundary counts once.
        { "both sides", { "AKKDA", cleavageTable({ { 'K', 2 }, { 'D', 1 } }), CutterCtermNterm }, { 1, 2, 3, 4, 4 } },
        // The side picks which entries count: an N-term entry is ignored by a C-term digest.
        { "side filters entries",
          { "ADKDE", cleavageTable({ { 'D', 1 }, { 'K', 0 } }), CutterCterm },
          { 1, 1, 1, 2, 2 } },
        { "lower case does not cleave", { "akpekrg", trypsin, CutterCterm }, { 1, 1, 1, 1, 1, 1, 1 } },
        { "empty protein", { "", trypsin, CutterCterm }, {} },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const ProteinDigestor digestor = digest(row.digest);
        EXPECT_EQ(digestor.digestNumbers(), row.numbers);
        EXPECT_EQ(digestor.sequence(), row.digest.sequence);
        EXPECT_EQ(digestor.cleavageFlags(), row.digest.flags);
    }
}

TEST(ProteinDigestorTest, ListsPeptidesByMissedCleavagesAndMass)
{
    using P = ProteinDigestor::Peptide;
    // AK | PEK | R | G; terminal masses 0.5 + 0.25.
    const QList<P> specific = digest({ "AKPEKRG", trypsin, CutterCterm, DigestSpecific, 1, 0.0, 1e9 }).peptides();
    EXPECT_EQ(specific,
              (QList<P>{ { 0, 1, 0, 11.75 },
                         { 0, 4, 1, 1121.75 },
                         { 2, 4, 0, 1110.75 },
                         { 2, 5, 1, 11110.75 },
                         { 5, 5, 0, 10000.75 },
                         { 5, 6, 1, 110000.75 },
                         { 6, 6, 0, 100000.75 } }));

    const QList<P> inRange =
        digest({ "AKPEKRG", trypsin, CutterCterm, DigestSpecific, 1, 1110.75, 11110.75 }).peptides();
    EXPECT_EQ(inRange,
              (QList<P>{ { 0, 4, 1, 1121.75 }, { 2, 4, 0, 1110.75 }, { 2, 5, 1, 11110.75 }, { 5, 5, 0, 10000.75 } }));

    // Semi-specific adds peptides with one free end: here those inside AK | PEK with no missed cleavage.
    const QList<P> semi = digest({ "AKPEK", trypsin, CutterCterm, DigestSemiSpecific, 0, 0.0, 1e9 }).peptides();
    EXPECT_EQ(semi,
              (QList<P>{ { 0, 0, 0, 1.75 },
                         { 0, 1, 0, 11.75 },
                         { 1, 1, 0, 10.75 },
                         { 2, 2, 0, 100.75 },
                         { 2, 3, 0, 1100.75 },
                         { 2, 4, 0, 1110.75 },
                         { 3, 4, 0, 1010.75 },
                         { 4, 4, 0, 10.75 } }));

    EXPECT_TRUE(digest({ "AKPEKRG", trypsin, CutterCterm, DigestNumberingOnly, 3 }).peptides().isEmpty());
}

TEST(ProteinDigestorTest, RejectsBadArgumentsAndStaysEmpty)
{
    const std::array<double, 256> masses{};
    const std::string nonAscii = QStringLiteral("AKé").toStdString();
    struct Row {
        const char *name;
        const char *sequence;
        int length;
        const double *masses;
        const char *table;
        int type;
        int option;
        int maxMissed;
    };
    const Row rows[] = {
        { "null sequence", nullptr, 0, masses.data(), trypsin.data(), CutterCterm, DigestSpecific, 0 },
        { "negative length", "AK", -1, masses.data(), trypsin.data(), CutterCterm, DigestSpecific, 0 },
        { "null masses", "AK", 2, nullptr, trypsin.data(), CutterCterm, DigestSpecific, 0 },
        { "null table", "AK", 2, masses.data(), nullptr, CutterCterm, DigestSpecific, 0 },
        { "non-ASCII", nonAscii.c_str(), 3, masses.data(), trypsin.data(), CutterCterm, DigestSpecific, 0 },
        { "unknown side", "AK", 2, masses.data(), trypsin.data(), 3, DigestSpecific, 0 },
        { "unknown option", "AK", 2, masses.data(), trypsin.data(), CutterCterm, -1, 0 },
        { "negative missed", "AK", 2, masses.data(), trypsin.data(), CutterCterm, DigestSpecific, -1 },
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        ProteinDigestor digestor = digest({ "AKR", trypsin, CutterCterm, DigestSpecific });
        const Error err = digestor.init(row.sequence,
                                        row.length,
                                        row.masses,
                                        0.0,
                                        0.0,
                                        0.0,
                                        1e9,
                                        row.maxMissed,
                                        row.table,
                                        static_cast<DigestCutterType>(row.type),
                                        static_cast<DigestionSearchOption>(row.option),
                                        0);
        EXPECT_EQ(err.code(), kBadParameterError);
        EXPECT_FALSE(err.errorString().isEmpty());
        EXPECT_EQ(digestor, ProteinDigestor());
        EXPECT_TRUE(digestor.peptides().isEmpty());
    }
}
