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
