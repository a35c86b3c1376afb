#include "algo/ProteomeDigestion.h"

#include "support/TestFiles.h"
#include "zeq_qt_shared_libs_core/ReadFasta.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using zeq::DigestedPeptide;
using zeq::ProteomeDigestion;

TEST(ProteomeDigestionTest, KeepsWhatTheSettingsAsk)
{
    // PEPTIDEK|SAMPLER|XK: cleavage sites after K and R; X has no formula.
    const QString protein = u"pePTIDEKSAMPLERXK"_qs;
    const struct {
        const char *name;
        zeq::ProteomeDigestionSettings settings;
        QList<std::pair<int, int>> kept; // start, end
    } rows[] = {
        { "every length", { .minLength = 1 }, { { 1, 8 }, { 1, 15 }, { 1, 17 }, { 9, 15 }, { 9, 17 }, { 16, 17 } } },
        { "no missed cleavage", { .maxMissedCleavages = 0, .minLength = 1 }, { { 1, 8 }, { 9, 15 }, { 16, 17 } } },
        { "lengths 7 to 8", { .minLength = 7, .maxLength = 8 }, { { 1, 8 }, { 9, 15 } } },
        // A bound drops the peptides of unknown mass, which cannot be shown to lie inside it.
        { "mass bound", { .minLength = 1, .maxMass = 1000.0 }, { { 1, 8 }, { 9, 15 } } },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        ProteomeDigestion digestion(row.settings);
        ASSERT_FALSE(digestion.digest(protein).hasError());
        QList<std::pair<int, int>> kept;
        for (const DigestedPeptide &peptide : digestion.peptides()) {
            kept.append({ peptide.start, peptide.end });
        }
        EXPECT_EQ(kept, row.kept);
    }
    ProteomeDigestion digestion({ .minLength = 1 });
    ASSERT_FALSE(digestion.digest(protein).hasError());
    const DigestedPeptide &second = digestion.peptides().at(3);
    EXPECT_EQ(second.sequence, QLatin1StringView("SAMPLER"));
    EXPECT_EQ(second.before, 'K');
    EXPECT_EQ(second.after, 'X');
    EXPECT_NEAR(second.monoisotopicMass, 802.40071, 1e-3);
    EXPECT_EQ(digestion.peptides().at(0).before, '-');
    EXPECT_EQ(digestion.peptides().at(2).missedCleavages, 2);
    EXPECT_TRUE(std::isnan(digestion.peptides().at(5).monoisotopicMass));
}

TEST(ProteomeDigestionTest, RefusesWhatTheEngineCannotTake)
{
    const QString residues = u"PEPTIDEKSAMPLER"_qs;
    ProteomeDigestion digestion({ .minLength = 1 });
    // 2^31 residues without 4 GiB of them: the length is checked before any residue is read.
    Error err = digestion.digest(QStringView(residues.constData(), qsizetype(1) << 31));
    EXPECT_EQ(err.code(), kBadParameterError);
    EXPECT_TRUE(err.errorString().contains(u"2147483648 residues")) << qPrintable(err.errorString());
    EXPECT_TRUE(digestion.peptides().isEmpty());

    // In a file: the protein is named by its header line and accession.
    QTemporaryDir dir;
    const QString path = zeq::test::writeFile(dir.filePath(u"p.fasta"_qs), ">P1 x\nPEPTIDEK\n>P2 y\nPEP\xC3\xA9K\n");
    QStringList seen;
    err = digestion.digestFastaFile(path, [&](const FastaEntry &, const QString &accession, const auto &peptides) {
        seen.append(accession + u':' + QString::number(peptides.size()));
        return true;
    });
    EXPECT_EQ(seen, QStringList{ u"P1:1"_qs });
    EXPECT_EQ(err.code(), kBadParameterError);
    EXPECT_TRUE(err.errorString().startsWith(path + u" line 3: protein P2: residue 4"_qs))
        << qPrintable(err.errorString());
}
