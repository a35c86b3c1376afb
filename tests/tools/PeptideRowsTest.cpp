#include "PeptideRows.h"

#include "CommandLine.h"
#include "support/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zeq::cli;

TEST(PeptideRowsTest, StreamedLinesMatchTheWritersCellsForEveryResidue)
{
    // Streamed rows are written as lines, residues copied without a cell each only when the
    // formatter would leave them as they are, a table's columns measured beforehand; any residue on
    // which the two disagree shows here.
    QTemporaryDir dir;
    zeq::ProteomeDigestion digestion({ .minLength = 1 });
    for (const auto format : { TableWriter::Table, TableWriter::Csv, TableWriter::Tsv, TableWriter::Json }) {
        for (char16_t c = 0; c < 128; ++c) {
            SCOPED_TRACE(testing::Message() << "format " << format << ", residue " << int(c));
            ASSERT_FALSE(digestion.digest(u"PEP"_qs + QChar(c) + u"TIDE"_qs).hasError());
            TableWriter cells(format, peptideColumns());
            addPeptideRows(u"P1"_qs, digestion.residues(), digestion.peptides(), &cells);
            const QString path = dir.filePath(u"lines"_qs);
            ResultStream out(path);
            TableWriter lines(format, peptideColumns());
            lines.streamTo(&out);
            if (format == TableWriter::Table) {
                measurePeptideRows(u"P1"_qs, digestion.peptides(), &lines);
                lines.fixWidths();
            }
            addPeptideRows(u"P1"_qs, digestion.residues(), digestion.peptides(), &lines);
            ASSERT_TRUE(lines.finish());
            ASSERT_EQ(out.finish(), kExitSuccess);
            EXPECT_EQ(zeq::test::fileContents(path), cells.render());
        }
    }
}
