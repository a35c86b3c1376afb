#include "zeq_common_stable/FileUtils.h"

#include "zeq_common_stable/PathImpl.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(FileUtilsTest, FilesInVendorFoldersGiveTheFolder)
{
    const struct {
        const char *path, *adjusted;
    } rows[] = {
        { R"(D:\tims\sample.d\analysis.tdf)", R"(D:\tims\sample.d)" },
        { "/data/sample.D/pdata/1/1r", "/data/sample.D" },
        // Not a file inside a vendor folder.
        { "/data/sample.d", "/data/sample.d" },
        { "/data/.d/x", "/data/.d/x" },
        { "/data/sampled/x", "/data/sampled/x" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.path);
        bool adjusted = true;
        const QString result = adjustBrukerFilenPathToFolderPath(QString::fromUtf8(row.path), &adjusted);
        EXPECT_EQ(result, QString::fromUtf8(row.adjusted));
        EXPECT_EQ(adjusted, qstrcmp(row.path, row.adjusted) != 0);
    }
}

TEST(FileUtilsTest, UnknownKindAsksTheFileSystem)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    using Unknown = PathImpl<PathType::Unknown>;
    EXPECT_TRUE(Unknown(dir.path()).isDir());
    EXPECT_TRUE(Unknown(QString(dir.path()).replace(u'/', u'\\')).isDir());
    EXPECT_FALSE(Unknown(dir.filePath(u"missing"_qs)).isDir());
    EXPECT_FALSE(Unknown(dir.path(), Unknown::NotDirKind).isDir());
}
