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
    settings.setValue(u"Count"_qs, 9, 3);
    settings.setValue(QString(), 9, CustomSettings::ApplicationScope);

    // Another object on the same file sees the values; keys are case-sensitive.
    const CustomSettings other(path);
    EXPECT_EQ(other.value(u"Count"_qs, 0, CustomSettings::FeatureScope).toInt(), 3);
    EXPECT_EQ(other.value(u"Count"_qs, 0, CustomSettings::ApplicationScope).toInt(), 5);
    EXPECT_EQ(other.value(u"count"_qs, 0, CustomSettings::ApplicationScope).toInt(), 0);
    EXPECT_EQ(other.value(u"Count"_qs, -1, 3).toInt(), -1);
    EXPECT_EQ(QSettings(path, QSettings::IniFormat).allKeys(), (QStringList{ u"Count"_qs, u"Features/Count"_qs }));

    // An empty key or an unknown scope removes nothing.
    settings.remove(QString(), CustomSettings::ApplicationScope);
    settings.remove(u"Count"_qs, 12);
    settings.remove(u"Count"_qs, CustomSettings::FeatureScope);
    EXPECT_EQ(other.value(u"Count"_qs, 0, CustomSettings::FeatureScope).toInt(), 0);
    EXPECT_EQ(other.value(u"Count"_qs, 0, CustomSettings::ApplicationScope).toInt(), 5);
}
