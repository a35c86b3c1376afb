#include "io/RowNodeCsvWriter.h"

#include "io/RowNodeCsvReader.h"
#include "support/CsvSamples.h"
#include "support/FileSizeLimit.h"
#include "support/MessageGuard.h"
#include "support/RowTreeBuilder.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using zeq::test::makeTable;
using zeq::test::readBytes;

TEST(RowNodeCsvWriterTest, LeafRowsReadBackAsTrimmedText)
{
    RowNode table = makeTable({ u"Name"_qs, u"Note, free"_qs },
                              { { u"group"_qs, u"not written"_qs }, { u" single "_qs, u"x \"y\"\r\nz"_qs } });
    RowNode *group = table.getChild(0);
    group->addChild(new RowNode({ u"m1"_qs, u"Ünits"_qs }, group));
    group->addChild(new RowNode({ u"m2"_qs, QString() }, group));
    QTemporaryDir dir;
    const QString path = dir.filePath(u"table.csv"_qs);
    ASSERT_TRUE(saveLeafsToCsvFile(table, path));
    RowNode back;
    ASSERT_FALSE(zeq::readCSVFile_HeaderRowExpected(path, back, {}, 0).hasError());
    EXPECT_EQ(createVectorFromRowNode_FlatRowNode(back),
              (QList<QList<QString>>{ { u"Name"_qs, u"Note, free"_qs },
                                      { u"m1"_qs, u"Ünits"_qs },
                                      { u"m2"_qs, QString() },
                                      { u"single"_qs, u"x \"y\"\r\nz"_qs } }));
}

TEST(RowNodeCsvWriterTest, WritesCellTextsUnderTheFirstRootsNames)
{
    RowNode table =
        makeTable({ u"N"_qs, u"X"_qs, u"Text"_qs }, { { 3, 0.1, u"a,b"_qs }, { QVariant(), true, QString() } });
    // A row of another table: "Text" is found by name, "X" is missing and written empty.
    RowNode other = makeTable({ u"Text"_qs, u"N"_qs }, { { u"other"_qs, -1 } });
    QTemporaryDir dir;
    const QString path = dir.filePath(u"out.csv"_qs);
    ASSERT_TRUE(saveListToCsvFile({ table.getChild(0), table.getChild(1), other.getChild(0) }, path));
    EXPECT_EQ(readBytes(path), "N,X,Text\r\n3,0.1,\"a,b\"\r\n,true,\r\n-1,,other\r\n");
}

TEST(RowNodeCsvWriterTest, TableWithoutRowsReplacesTheFileWithItsHeader)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"table.csv"_qs);
    ASSERT_TRUE(zeq::test::writeBytes(path, "Name,Note\r\nold,row\r\n"));
    EXPECT_TRUE(saveLeafsToCsvFile(makeTable({ u"Name"_qs, u"Mass, Da"_qs }, {}), path));
    EXPECT_EQ(readBytes(path), "Name,\"Mass, Da\"\r\n");
}

TEST(RowNodeCsvWriterTest, NothingToSaveOrAFailedSaveLeavesNoFile)
{
    QTemporaryDir dir;
    const QString earlier = dir.filePath(u"earlier.csv"_qs);
    ASSERT_TRUE(zeq::test::writeBytes(earlier, "old\r\n"));
    RowNode table = makeTable({ u"Text"_qs }, { { u"fine"_qs }, { u"nul \0 inside"_qs } });
    const QList<QString> before = zeq::test::entries(dir.path());

    EXPECT_TRUE(saveListToCsvFile({}, dir.filePath(u"empty.csv"_qs)));
    zeq::test::MessageGuard guard;
    EXPECT_FALSE(saveListToCsvFile({ table.getChild(0), nullptr }, earlier));
    EXPECT_FALSE(saveLeafsToCsvFile(table, earlier));
    EXPECT_TRUE(guard.contains(u"row 3, field 1 holds a NUL character"_qs));
    EXPECT_EQ(zeq::test::entries(dir.path()), before);
    EXPECT_EQ(readBytes(earlier), "old\r\n");

    // A full disk, a folder in the way, a file where the folder should be, and /proc (root, who
    // runs the tests, is not stopped by a read-only folder).
    const RowNode many = makeTable({ u"Text"_qs }, QList<VariantItems>(2000, { u"a value"_qs }));
    const struct {
        QString path;
        rlim_t sizeLimit;
    } rows[] = {
        { earlier, 64 },
        { dir.path(), RLIM_INFINITY },
        { earlier + u"/out.csv"_qs, RLIM_INFINITY },
        { u"/proc/out.csv"_qs, RLIM_INFINITY },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        zeq::test::MessageGuard failure;
        bool saved = true;
        {
            const zeq::test::FileSizeLimit limit(row.sizeLimit);
            ASSERT_TRUE(limit.active());
            saved = saveLeafsToCsvFile(many, row.path);
        }
        EXPECT_FALSE(saved);
        EXPECT_TRUE(failure.contains(u"Can't write "_qs + row.path));
        EXPECT_EQ(zeq::test::entries(dir.path()), before);
        EXPECT_EQ(readBytes(earlier), "old\r\n");
    }
}
