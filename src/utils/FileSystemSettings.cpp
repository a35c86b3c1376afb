#include "utils/FileSystemSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

namespace
{

const QString kLocationsGroup = QStringLiteral("FileLocations");
const QString kHistoryArray = QStringLiteral("RecentFilesHistory");
const QString kHistoryEntry = QStringLiteral("recent_file");
// The older layout: a count and one numbered key per entry, most recent first.
const QString kOldHistorySize = QStringLiteral("recent_file_history_size");
const QString kOldHistoryKey = QStringLiteral("recent_file_history_%1");

// A count from a damaged or foreign file, in either layout, must not make us walk a billion keys.
constexpr int kMaxStoredHistory = 1000;

int oldHistoryCount(const QSettings &settings)
{
    return std::clamp(settings.value(kOldHistorySize).toInt(), 0, kMaxStoredHistory);
}

} // namespace

// Registered here, in this order, so that "the first stored location" is the same in every run.
const FileSystemSettings::DirLocationData FileSystemSettings::DefaultLocation =
    DirLocationData::add(QStringLiteral("FSS_DefaultLocation"));
const FileSystemSettings::DirLocationData FileSystemSettings::NewProjectLocation =
    DirLocationData::add(QStringLiteral("FSS_NewProjectLocation"));
const FileSystemSettings::DirLocationData FileSystemSettings::OpenProjectLocation =
    DirLocationData::add(QStringLiteral("FSS_OpenProjectLocation"));
const FileSystemSettings::DirLocationData FileSystemSettings::LayoutLocation =
    DirLocationData::add(QStringLiteral("FSS_LayoutLocation"));
const FileSystemSettings::DirLocationData FileSystemSettings::SearchFilterLocation =
    DirLocationData::add(QStringLiteral("FSS_SearchFilterLocation"));
const FileSystemSettings::DirLocationData FileSystemSettings::ImportFastaLocation =
    DirLocationData::add(QStringLiteral("FSS_ImportFastaLocation"));
const FileSystemSettings::DirLocationData FileSystemSettings::ImportSampleLocation =
    DirLocationData::add(QStringLiteral("FSS_ImportSampleLocation"));

FileSystemSettings &FileSystemSettings::Instance()
{
    static FileSystemSettings instance;
    return instance;
}

QString FileSystemSettings::convertDirLocationToString(DirLocationData location)
{
    return location.name();
}

QString FileSystemSettings::fileLocationInternal(DirLocationData location) const
{
    const QString own = m_locations.value(location);
    if (!own.isEmpty()) {
        return own;
    }
    for (const DirLocationData other : DirLocationData::values()) {
        const QString stored = m_locations.value(other);
        if (!stored.isEmpty()) {
            return stored;
        }
    }
    return {};
}

QString FileSystemSettings::fileLocation(DirLocationData location) const
{
    return fileLocation(location, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

QString FileSystemSettings::fileLocation(DirLocationData location, const QString &fallback) const
{
    const QString stored = fileLocationInternal(location);
    return stored.isEmpty() ? fallback : stored;
}

void FileSystemSettings::setFileLocation(DirLocationData location, const QString &path)
{
    if (path.trimmed().isEmpty()) {
        return;
    }
    // Paths typed on Windows arrive with backslashes, which QFileInfo reads as part of a name here.
    const QFileInfo info(QDir::fromNativeSeparators(path));
    const QString absolute = info.absoluteFilePath();
    m_locations.insert(location, info.isDir() || absolute.isEmpty() ? absolute : info.absolutePath());
}

void FileSystemSettings::setResourceReference(DirLocationData location, const QString &path)
{
    if (!path.isEmpty()) {
        m_locations.insert(location, path);
    }
}

void FileSystemSettings::clearDialogLocations()
{
    m_locations.clear();
}

void FileSystemSettings::addFileHistory(const QString &path)
{
    if (!m_history.isEmpty() && m_history.constFirst() == path) {
        return;
    }
    m_history.removeAll(path);
    m_history.prepend(path);
    if (m_history.size() > recent_file_max_history) {
        m_history.resize(recent_file_max_history);
    }
}

void FileSystemSettings::clearHistory()
{
    m_history.clear();
}

void FileSystemSettings::readSettings(QSettings &settings)
{
    settings.beginGroup(kLocationsGroup);
    for (const DirLocationData location : DirLocationData::values()) {
        // A list or a number under a location key was not written by us: leave the location alone.
        const QVariant value = settings.value(location.name());
        if (value.typeId() == QMetaType::QString && !value.toString().isEmpty()) {
            m_locations.insert(location, value.toString());
        }
    }
    settings.endGroup();

    // Entries are added oldest first so that the most recent ends at the front.
    if (!settings.contains(kOldHistorySize)) {
        const int n = std::clamp(settings.beginReadArray(kHistoryArray), 0, kMaxStoredHistory);
        for (int i = 0; i < n; ++i) {
            settings.setArrayIndex(i);
            const QString path = settings.value(kHistoryEntry).toString();
            if (!path.isEmpty()) {
                addFileHistory(path);
            }
        }
        settings.endArray();
        return;
    }
    const int n = oldHistoryCount(settings);
    for (int i = n - 1; i >= 0; --i) {
        const QString path = settings.value(kOldHistoryKey.arg(i)).toString();
        if (!path.isEmpty()) {
            addFileHistory(path);
        }
    }
}

void FileSystemSettings::writeSettings(QSettings &settings) const
{
    settings.beginGroup(kLocationsGroup);
    for (auto it = m_locations.cbegin(); it != m_locations.cend(); ++it) {
        settings.setValue(it.key().name(), it.value());
    }
    settings.endGroup();

    const int n = int(std::min<qsizetype>(m_history.size(), recent_file_max_history));
    if (settings.contains(kOldHistorySize)) {
        // The old count may exceed what is written now; every old key goes.
        const int oldCount = std::max(n, oldHistoryCount(settings));
        settings.remove(kOldHistorySize);
        for (int i = 0; i < oldCount; ++i) {
            settings.remove(kOldHistoryKey.arg(i));
        }
    }
    settings.remove(kHistoryArray);
    if (n == 0) {
        return;
    }
    settings.beginWriteArray(kHistoryArray, n);
    for (int i = 0; i < n; ++i) {
        settings.setArrayIndex(i);
        settings.setValue(kHistoryEntry, m_history.at(n - 1 - i));
    }
    settings.endArray();
}
