#include "utils/AppUtils.h"

#include "constants/StringConstants.h"
#include "support/MessageGuard.h"
#include "utils/ApplicationInfo.h"
#include "utils/ApplicationPaths.h"
#include "utils/BuildInfo.h"
#include "zeq_common_core_mini/CommonKeys.h"
#include "zeq_common_core_mini/RowNode.h"
#include "zeq_common_core_mini/RowNodeOptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zeq;

namespace
{

Q_LOGGING_CATEGORY(lcTest, "zeq.tests.apputils")

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
}

} // namespace

TEST(AppUtilsTest, HDXExchangeTime)
{
    const struct {
        const char *text;
        double expected;
    } rows[] = {
        { "12.5", 12.5 },
        { "mapping run 12.5", 0.0 },
        { "1,5", 0.0 }, // the decimal point is always '.', whatever the locale
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_DOUBLE_EQ(AppUtils::getHDXExchangeTime(QString::fromUtf8(row.text)), row.expected);
    }
    EXPECT_DOUBLE_EQ(AppUtils::getHDXExchangeTime(static_cast<const RowNode *>(nullptr)), 0.0);
}

TEST(AppUtilsTest, HDXComment)
{
    const struct {
        const char *text;
        bool ok;
        double first, second, third;
    } rows[] = {
        { "1.5;2.5,30", true, 1.5, 2.5, 30.0 },
        { "1.5", true, 1.5, -1.0, -1.0 },
        { "1.5;x", false, 1.5, -1.0, -1.0 },
        { "1.5;2.5,x", false, 1.5, 2.5, -1.0 },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        double a = 0, b = 0, c = 0;
        EXPECT_EQ(AppUtils::parseHDXComment(QString::fromUtf8(row.text), &a, &b, &c), row.ok);
        EXPECT_DOUBLE_EQ(a, row.first);
        EXPECT_DOUBLE_EQ(b, row.second);
        EXPECT_DOUBLE_EQ(c, row.third);
    }
}

TEST(AppUtilsTest, MessageFilterDropsOnlyTheListedTypes)
{
    test::MessageGuard guard;
    AppUtils::setMessagesEnabled({ QtDebugMsg });
    qCDebug(lcTest) << "dropped debug";
    qCWarning(lcTest) << "passed warning";
    // A second call replaces the set and must not chain the filter to itself.
    AppUtils::setMessagesEnabled({ QtWarningMsg, QtInfoMsg });
    qCDebug(lcTest) << "passed debug";
    qCInfo(lcTest) << "dropped info";
    AppUtils::setMessagesEnabled({});
    qCInfo(lcTest) << "passed info";

    QList<QString> seen;
    for (const auto &m : guard.messages()) {
        seen.append(m.text);
    }
    EXPECT_EQ(seen, (QList<QString>{ u"passed warning"_qs, u"passed debug"_qs, u"passed info"_qs }));
}

TEST(AppUtilsTest, ExecutablesAndFoldersBesideTheProgram)
{
    // The test program's own folder is where the applications look; make a layout next to it.
    QTemporaryDir scratch(QCoreApplication::applicationDirPath() + u"/apputils-XXXXXX"_qs);
    ASSERT_TRUE(scratch.isValid());
    const QString relative = QDir(QCoreApplication::applicationDirPath()).relativeFilePath(scratch.path());
    touch(scratch.filePath(u"b/helper"_qs));
    touch(scratch.filePath(u"c/helper"_qs));
    touch(scratch.filePath(u"c/notes.txt"_qs));

    EXPECT_EQ(AppUtils::detectExePath(u"/elsewhere/helper"_qs, { relative + u"/a"_qs, relative + u"/b"_qs }),
              scratch.filePath(u"b/helper"_qs));
    // A folder entry naming a file stands for the folder containing it.
    EXPECT_EQ(AppUtils::detectExePath(u"helper"_qs, { relative + u"/c/notes.txt"_qs }),
              scratch.filePath(u"c/helper"_qs));
}

TEST(AppUtilsTest, FindPathSearchesFoldersBeforeCandidates)
{
    QTemporaryDir first;
    QTemporaryDir second;
    touch(second.filePath(u"tool"_qs));
    touch(first.filePath(u"bin/tool"_qs));
    ApplicationPaths::clearSearchPaths();
    ApplicationPaths::appendSearchPath(first.path());
    ApplicationPaths::appendSearchPath(second.path());
    // The first folder wins with its sub-folder candidate over the second folder's bare file.
    EXPECT_EQ(ApplicationPaths::findPath(u"tool"_qs, { u"bin"_qs }), first.filePath(u"bin/tool"_qs));
    EXPECT_EQ(ApplicationPaths::findPath(u"tool"_qs), second.filePath(u"tool"_qs));
    ApplicationPaths::clearSearchPaths();
}
