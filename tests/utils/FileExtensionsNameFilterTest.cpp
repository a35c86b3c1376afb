#include "FileExtensionsNameFilter.h"

#include "support/MessageGuard.h"
#include "zeq_qt_shared_libs_core/CorvinFileTypes.h"

#include <gtest/gtest.h>

namespace
{

QString filterOf(const QString &text)
{
    FileExtensionsNameFilter filter;
    filter.addExtension(text);
    return filter.toFilterString();
}

} // namespace

TEST(FileExtensionsNameFilterTest, FilterTexts)
{
    const struct {
        const char *name;
        const char *text;
        const char *expected;
    } rows[] = {
        { "a trailing ;; and empty parts", "Text (*.txt);;;;CSV (*.csv);;", "Text (*.txt);;CSV (*.csv)" },
        { "repeated description merges, masks kept once", "Text (*.txt);;Text (*.TXT *.txt)", "Text (*.txt *.TXT)" },
        { "only the first mask of a text is completed", "Tables (csv txt)", "Tables (*.csv txt)" },
        { "masks without parentheses", "CSV files *.csv *.tsv", "CSV files (*.csv *.tsv)" },
        { "a mask alone is no part", "*.csv", "" },
        { "two groups of parentheses", "Text (*.txt) (*.csv);;CSV (*.csv)", "CSV (*.csv)" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        zeq::test::MessageGuard quiet;
        EXPECT_EQ(filterOf(QString::fromUtf8(row.text)), QString::fromUtf8(row.expected));
    }
}

TEST(FileExtensionsNameFilterTest, InvalidMasksAreReported)
{
    zeq::test::MessageGuard guard;
    FileExtensionsNameFilter filter;
    filter.addExtension(u"Text"_qs, u"*.txt) (*.csv"_qs);
    EXPECT_TRUE(guard.contains(u"is invalid and cannot be corrected"_qs));
    EXPECT_TRUE(filter.toFilterStringList().isEmpty());
}

TEST(FileExtensionsNameFilterTest, WildcardMatchingIgnoresCase)
{
    FileExtensionsNameFilter filter;
    filter.addExtension(u"Data (*.csv *.mz?ML run_[0-9]*.raw)"_qs);
    const struct {
        const char *file;
        bool passes;
    } rows[] = {
        { "DATA.CSV", true },  { "sample.mzXML", true },  { "sample.MZML", false },
        { "run_7.raw", true }, { "data.csv.bak", false },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.file);
        EXPECT_EQ(filter.passesFilter(QString::fromUtf8(row.file)), row.passes);
    }
}

TEST(FileExtensionsNameFilterTest, FileTypes)
{
    const FileExtensionsNameFilter fasta(FileTypes::FASTA);
    EXPECT_EQ(fasta.toFilterString(), u"FASTA files (*.fasta *.fa *.faa)"_qs);

    const FileExtensionsNameFilter tables(QList<FileType>{ FileTypes::CSV, FileTypes::TSV }, u"Tables"_qs);
    EXPECT_EQ(tables.toFilterString(), u"Tables (*.csv *.tsv)"_qs);
    EXPECT_TRUE(tables.containsTypes({ FileTypes::CSV, FileTypes::TSV }));
    EXPECT_FALSE(tables.containsTypes({ FileTypes::CSV, FileTypes::TEXT }));

    zeq::test::MessageGuard quiet;
    EXPECT_EQ(FileExtensionsNameFilter::fromExtensionTypes({ u"csv"_qs, u"no such type"_qs, u"CORVIN_REPORT"_qs }),
              FileExtensionsNameFilter({ FileTypes::CSV, CorvinFileTypes::REPORT }));
    EXPECT_TRUE(quiet.contains(u"no such type"_qs));
}

TEST(FileExtensionsNameFilterTest, RegisteredTypesKeepTheirOrder)
{
    // The common types come first whichever library's initialisers ran first.
    const QList<FileType> values = FileType::values();
    ASSERT_GT(values.size(), CorvinFileTypes::all().size());
    EXPECT_EQ(values.first(), FileTypes::ALLFILES);
    EXPECT_LT(FileTypes::MGF, CorvinFileTypes::PROJECT);
    // Registering a known name again changes nothing.
    EXPECT_EQ(FileTypes::registerType(u"CSV"_qs, { u"*.other"_qs }, u"Other"_qs), FileTypes::CSV);
}
