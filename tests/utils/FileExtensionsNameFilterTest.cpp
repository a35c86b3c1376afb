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
        { "several parts",
          "Text files (*.txt);;CSV files (*.csv *.tsv)",
          "Text files (*.txt);;CSV files (*.csv *.tsv)" },
        { "a trailing ;; and empty parts", "Text (*.txt);;;;CSV (*.csv);;", "Text (*.txt);;CSV (*.csv)" },
        { "repeated description merges, masks kept once", "Text (*.txt);;Text (*.TXT *.txt)", "Text (*.txt *.TXT)" },
        { "white space runs", "  Sample   files\t(*.raw    *.d) ", "Sample files (*.raw *.d)" },
        { "only the first mask of a text is completed", "Tables (csv txt)", "Tables (*.csv txt)" },
        { "a mask written as .ext", "Tables (.csv)", "Tables (*.csv)" },
        { "masks without parentheses", "CSV files *.csv *.tsv", "CSV files (*.csv *.tsv)" },
        { "a mask alone is no part", "*.csv", "" },
        { "a description alone is no part", "CSV files", "" },
        { "two groups of parentheses", "Text (*.txt) (*.csv);;CSV (*.csv)", "CSV (*.csv)" },
        { "nothing", "", "" },
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
    EXPECT_TRUE(guard.contains(u"Cannot add an empty filter description or an empty file mask"_qs));
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
        { "DATA.CSV", true },   { "sample.mzXML", true },  { "sample.MZML", false }, { "run_7.raw", true },
        { "run_x.raw", false }, { "data.csv.bak", false }, { "csv", false },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.file);
        EXPECT_EQ(filter.passesFilter(QString::fromUtf8(row.file)), row.passes);
    }
    EXPECT_TRUE(filter.containsSuffix(u"CSV"_qs));
    EXPECT_FALSE(filter.containsSuffix(u"txt"_qs));
}

TEST(FileExtensionsNameFilterTest, FileTypes)
{
    const FileExtensionsNameFilter fasta(FileTypes::FASTA);
    EXPECT_EQ(fasta.toFilterString(), u"FASTA files (*.fasta *.fa *.faa)"_qs);
    EXPECT_TRUE(fasta.containsType(FileTypes::FASTA));
    EXPECT_FALSE(fasta.containsType(FileTypes::CSV));
    EXPECT_FALSE(fasta.containsType(FileType()));

    const FileExtensionsNameFilter tables(QList<FileType>{ FileTypes::CSV, FileTypes::TSV }, u"Tables"_qs);
    EXPECT_EQ(tables.toFilterString(), u"Tables (*.csv *.tsv)"_qs);
    EXPECT_TRUE(tables.containsTypes({ FileTypes::CSV, FileTypes::TSV }));
    EXPECT_FALSE(tables.containsTypes({ FileTypes::CSV, FileTypes::TEXT }));

    const FileExtensionsNameFilter each{ FileTypes::CSV, CorvinFileTypes::PROJECT };
    EXPECT_EQ(each.toFilterStringList(), (QList<QString>{ u"CSV files (*.csv)"_qs, u"Corvin projects (*.cvproj)"_qs }));
    EXPECT_EQ(
        FileExtensionsNameFilter(QList<FileType>{ FileTypes::CSV, FileTypes::TEXT }, QList<QString>{ u"Tables"_qs })
            .toFilterString(),
        u"Tables (*.csv);;Text files (*.txt)"_qs);

    zeq::test::MessageGuard quiet;
    EXPECT_EQ(FileExtensionsNameFilter::fromExtensionTypes({ u"csv"_qs, u"no such type"_qs, u"CORVIN_REPORT"_qs }),
              FileExtensionsNameFilter({ FileTypes::CSV, CorvinFileTypes::REPORT }));
    EXPECT_TRUE(quiet.contains(u"no such type"_qs));
}

TEST(FileExtensionsNameFilterTest, CopiesStandAlone)
{
    FileExtensionsNameFilter original(FileTypes::CSV);
    FileExtensionsNameFilter copy(original);
    copy.addExtension(u"Text"_qs, u"*.txt"_qs);
    EXPECT_NE(copy, original);
    original = copy;
    EXPECT_EQ(original, copy);
    EXPECT_EQ(original.fileMasks(), (QList<QString>{ u"*.csv"_qs, u"*.txt"_qs }));
    original.clearFilters();
    EXPECT_TRUE(original.fileMasks().isEmpty());
}

TEST(FileExtensionsNameFilterTest, RegisteredTypesKeepTheirOrder)
{
    // The common types come first whichever library's initialisers ran first.
    const QList<FileType> values = FileType::values();
    ASSERT_GT(values.size(), CorvinFileTypes::all().size());
    EXPECT_EQ(values.first(), FileTypes::ALLFILES);
    EXPECT_LT(FileTypes::MGF, CorvinFileTypes::PROJECT);
    EXPECT_EQ(FileTypes::stringToType(u"Corvin_Workflow"_qs), CorvinFileTypes::WORKFLOW);
    EXPECT_FALSE(FileTypes::stringToType(QString()).isValid());
    // Registering a known name again changes nothing.
    EXPECT_EQ(FileTypes::registerType(u"CSV"_qs, { u"*.other"_qs }, u"Other"_qs), FileTypes::CSV);
    EXPECT_EQ(FileTypes::fileMasksForExtensionType(FileTypes::CSV), QList<QString>{ u"*.csv"_qs });
}
