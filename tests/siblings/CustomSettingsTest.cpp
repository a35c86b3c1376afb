#include "zeq_common_core_mini/CustomSettings.h"

#include "support/FileSizeLimit.h"
#include "support/MessageGuard.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(CustomSettingsTest, ScopesAreGroupsOfTheStore)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"settings.ini"_qs);
    CustomSettings settings(path);
    EXPECT_EQ(settings.value(u"Count"_qs, 7, CustomSettings::FeatureScope).toInt(), 7);
    EXPECT_FALSE(QFile::exists(path)) << "reading must not create the store";

    settings.setValue(u"Count"_qs, 3, CustomSettings::FeatureScope);
    settings.setValue(u"Count"_qs, 5, CustomSettings::ApplicationScope);

    // Another object on the same file sees the values.
    const CustomSettings other(path);
    EXPECT_EQ(other.value(u"Count"_qs, 0, CustomSettings::FeatureScope).toInt(), 3);
    EXPECT_EQ(other.value(u"Count"_qs, 0, CustomSettings::ApplicationScope).toInt(), 5);
    EXPECT_EQ(QSettings(path, QSettings::IniFormat).allKeys(), (QStringList{ u"Count"_qs, u"Features/Count"_qs }));

    settings.remove(u"Count"_qs, CustomSettings::FeatureScope);
    EXPECT_EQ(other.value(u"Count"_qs, 0, CustomSettings::FeatureScope).toInt(), 0);
    EXPECT_EQ(other.value(u"Count"_qs, 0, CustomSettings::ApplicationScope).toInt(), 5);
}

// Tests run as root, whom a read-only folder does not stop: a file in the way of the folder, and
// /proc, where nobody creates files, stand in for it.
TEST(CustomSettingsTest, FailedSavesKeepTheStoreAndSaySo)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"settings.ini"_qs);
    CustomSettings(path).setValue(u"Kept"_qs, u"earlier"_qs, CustomSettings::ApplicationScope);
    const QByteArray before = zeq::test::fileContents(path);
    const QList<QString> entries = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    const struct {
        const char *name;
        QString path;
        rlim_t sizeLimit;
    } rows[] = {
        { "full disk", path, 8 },
        { "a folder", dir.path(), RLIM_INFINITY },
        { "parent is a file", path + u"/nested.ini"_qs, RLIM_INFINITY },
        { "under /proc", u"/proc/zeq-settings.ini"_qs, RLIM_INFINITY },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        zeq::test::MessageGuard guard;
        {
            const zeq::test::FileSizeLimit limit(row.sizeLimit);
            ASSERT_TRUE(limit.active());
            CustomSettings(row.path).setValue(u"New"_qs, QString(200, u'x'), CustomSettings::FeatureScope);
        }
        EXPECT_TRUE(guard.contains(u"Can't save setting Features/New to %1: "_qs.arg(row.path)));
        EXPECT_EQ(zeq::test::fileContents(path), before);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), entries);
    }
}
