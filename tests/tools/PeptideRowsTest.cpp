#include "ProteinDigester.h"

#include <gtest/gtest.h>

TEST(ProteinDigesterTest, ProteinsBeyondTheEngineRangeAreRefused)
{
    const QString residues = u"PEPTIDEKSAMPLER"_qs;
    zeq::cli::ProteinDigester digester(zeq::cli::DigestSettings{ .minLength = 1 });
    // 2^31 residues without 4 GiB of them: the length is checked before any residue is read.
    const Error err = digester.digest(QStringView(residues.constData(), qsizetype(1) << 31));
    EXPECT_EQ(err.code(), kBadParameterError);
    EXPECT_TRUE(err.errorString().contains(u"2147483648 residues")) << qPrintable(err.errorString());
    EXPECT_TRUE(digester.peptides().isEmpty());
    ASSERT_FALSE(digester.digest(residues).hasError());
    EXPECT_EQ(digester.peptides().size(), 3) << "PEPTIDEK, SAMPLER and the missed cleavage";
}

TEST(ProteinDigesterTest, LinesMatchTheTableWriterForEveryResidue)
{
    // The line writer copies residues without a cell each only when the formatter would leave them
    // as they are; any residue on which the two disagree shows here.
    zeq::cli::ProteinDigester digester(zeq::cli::DigestSettings{ .minLength = 1 });
    for (const auto format : { zeq::cli::TableWriter::Csv, zeq::cli::TableWriter::Tsv }) {
        for (char16_t c = 0; c < 128; ++c) {
            SCOPED_TRACE(testing::Message() << "format " << format << ", residue " << int(c));
            const QString protein = u"PEP"_qs + QChar(c) + u"TIDE"_qs;
            ASSERT_FALSE(digester.digest(protein).hasError());
            zeq::cli::TableWriter table(format, zeq::cli::ProteinDigester::columns());
            QByteArray lines = table.render();
            digester.appendLines(u"P1"_qs, format, &lines);
            digester.addRows(u"P1"_qs, &table);
            EXPECT_EQ(lines, table.render());
        }
    }
}
