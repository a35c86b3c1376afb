#include "zeq_common_core_mini/CustomSettings.h"

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
