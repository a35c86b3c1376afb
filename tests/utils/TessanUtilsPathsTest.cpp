#include "utils/TessanUtilsPaths.h"

#include "utils/TessanUtilsParameters.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using Unknown = PathImpl<PathType::Unknown>;

TEST(TessanUtilsPathsTest, ParameterTextFormRoundTrips)
{
    const struct {
        const char *path, *escaped;
    } rows[] = {
        { R"(C:\data\run 1.raw)", R"(C\:\\data\\run 1.raw)" },
        { R"(\\server\share\a:b.raw)", R"(\\\\server\\share\\a\:b.raw)" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.path);
        const QString path = QString::fromUtf8(row.path);
        EXPECT_EQ(zeq::toTessanPathFormat(path), QString::fromUtf8(row.escaped));
        EXPECT_EQ(zeq::fromTessanPathFormat(QString::fromUtf8(row.escaped)), path);
    }
#ifndef Q_OS_WIN
    // Forward slashes only become backslashes where they are the native separator.
    EXPECT_EQ(zeq::toTessanPathFormat(u"C:/data/a.raw"_qs), uR"(C\:/data/a.raw)"_qs);
#endif
}

TEST(TessanUtilsPathsTest, OutputFolderOfFilesAndFolders)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString existing = dir.path();
    const struct {
        QString path;
        qint32 kind;
        QString folder;
    } rows[] = {
        { uR"(D:\out\result.tsnres)"_qs, Unknown::AskFileSystemKind, u"D:/out"_qs },
        { uR"(D:\out\run)"_qs, Unknown::DirKind, u"D:/out/run"_qs },
        { QString(existing).replace(u'/', u'\\'), Unknown::AskFileSystemKind, existing },
        { u"result.tsnres"_qs, Unknown::AskFileSystemKind, u"."_qs },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        EXPECT_EQ(zeq::tessanOutputFolderFromPath(Unknown(row.path, row.kind)).path(), row.folder);
    }
}

TEST(TessanUtilsPathsTest, OptionalNumbers)
{
    EXPECT_EQ(zeq::toDoubleOptional(u"1.5"_qs), 1.5);
    EXPECT_EQ(zeq::toDoubleOptional(u"abc"_qs), std::nullopt);
    EXPECT_EQ(zeq::toDoubleOptional(u"1,5"_qs), std::nullopt);
}
