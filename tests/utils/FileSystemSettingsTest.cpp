#include "utils/FileSystemSettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace
{

using Fss = FileSystemSettings;

class FileSystemSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        fss().clearDialogLocations();
        fss().clearHistory();
    }
    static Fss &fss() { return Fss::Instance(); }
    QString iniPath() const { return m_dir.filePath(u"settings.ini"_qs); }
    QList<QString> paths(int n) const
    {
        QList<QString> list;
        for (int i = 0; i < n; ++i) {
            list.append(u"/data/run%1.raw"_qs.arg(i));
        }
        return list;
    }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(FileSystemSettingsTest, HistoryKeepsTenMostRecentOnce)
{
    for (const QString &p : paths(11)) {
        fss().addFileHistory(p);
    }
    QList<QString> expected = paths(11).mid(1);
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(fss().fileHistory(), expected);

    fss().addFileHistory(u"/data/run5.raw"_qs);
    fss().addFileHistory(u"/data/run5.raw"_qs);
    EXPECT_EQ(fss().fileHistory().first(), u"/data/run5.raw"_qs);
    EXPECT_EQ(fss().fileHistory().count(u"/data/run5.raw"_qs), 1);
}

TEST_F(FileSystemSettingsTest, RoundTripInBothHistoryLayouts)
{
    const QList<QString> history = { u"/b/newest.raw"_qs, u"/a/middle.raw"_qs, u"/c/oldest.raw"_qs };
    for (bool oldLayout : { false, true }) {
        SCOPED_TRACE(oldLayout ? "older numbered keys" : "array");
        QFile::remove(iniPath());
        {
            QSettings settings(iniPath(), QSettings::IniFormat);
            if (oldLayout) {
                // Most recent first, as older versions wrote it.
                settings.setValue(u"recent_file_history_size"_qs, history.size());
                for (int i = 0; i < history.size(); ++i) {
                    settings.setValue(u"recent_file_history_%1"_qs.arg(i), history.at(i));
                }
            } else {
                for (auto it = history.crbegin(); it != history.crend(); ++it) {
                    fss().addFileHistory(*it);
                }
                fss().setFileLocation(Fss::ImportFastaLocation, m_dir.path());
                fss().writeSettings(settings);
            }
        }
        fss().clearHistory();
        fss().clearDialogLocations();
        QSettings settings(iniPath(), QSettings::IniFormat);
        fss().readSettings(settings);
        EXPECT_EQ(fss().fileHistory(), history);
        if (!oldLayout) {
            EXPECT_EQ(fss().fileLocation(Fss::ImportFastaLocation), m_dir.path());
            continue;
        }
        // Writing moves the old layout to the new one and removes every old key.
        fss().writeSettings(settings);
        settings.sync();
        EXPECT_FALSE(settings.contains(u"recent_file_history_size"_qs));
        fss().clearHistory();
        fss().readSettings(settings);
        EXPECT_EQ(fss().fileHistory(), history);
    }
}

TEST_F(FileSystemSettingsTest, WrongTypesAndEmptyValuesAreSkipped)
{
    {
        QSettings settings(iniPath(), QSettings::IniFormat);
        settings.setValue(u"FileLocations/FSS_LayoutLocation"_qs, QList<QString>{ u"/a"_qs, u"/b"_qs });
        settings.setValue(u"FileLocations/FSS_OpenProjectLocation"_qs, QString());
        settings.setValue(u"FileLocations/FSS_ImportSampleLocation"_qs, u"/samples"_qs);
        settings.setValue(u"recent_file_history_size"_qs, u"many"_qs);
        settings.setValue(u"recent_file_history_0"_qs, u"/lost.raw"_qs);
    }
    QSettings settings(iniPath(), QSettings::IniFormat);
    fss().readSettings(settings);
    EXPECT_TRUE(fss().fileHistory().isEmpty());
    EXPECT_EQ(fss().fileLocation(Fss::LayoutLocation, u"fallback"_qs), u"/samples"_qs);

    // A huge count from a damaged file, in either layout, neither hangs nor invents entries.
    settings.setValue(u"recent_file_history_size"_qs, 2'000'000'000);
    fss().readSettings(settings);
    EXPECT_EQ(fss().fileHistory(), QList<QString>{ u"/lost.raw"_qs });

    fss().clearHistory();
    settings.remove(u"recent_file_history_size"_qs);
    settings.setValue(u"RecentFilesHistory/size"_qs, 2147483647);
    settings.setValue(u"RecentFilesHistory/1/recent_file"_qs, u"/kept.raw"_qs);
    fss().readSettings(settings);
    EXPECT_EQ(fss().fileHistory(), QList<QString>{ u"/kept.raw"_qs });
}

TEST_F(FileSystemSettingsTest, LocationFallbacks)
{
    EXPECT_EQ(fss().fileLocation(Fss::NewProjectLocation, u"/fallback"_qs), u"/fallback"_qs);

    // A file stands for its folder; a folder for itself; blanks change nothing.
    const QString file = m_dir.filePath(u"sample.raw"_qs);
    fss().setFileLocation(Fss::ImportSampleLocation, file);
    fss().setFileLocation(Fss::ImportSampleLocation, u"   "_qs);
    fss().setFileLocation(Fss::LayoutLocation, m_dir.path());
    EXPECT_EQ(fss().fileLocation(Fss::ImportSampleLocation), m_dir.path());
}
