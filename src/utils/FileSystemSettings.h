#pragma once

#include "zeq_common_core_export.h"
#include "zeq_qt_shared_libs_core/ExtendableEnum.h"

#include <QList>
#include <QMap>
#include <QString>

class QSettings;

/// Where file dialogs last were, per purpose, and the recently opened files (most recent first).
/// One object per process (Instance()), used from the user-interface thread; moved to and from
/// QSettings by the application.
class ZEQ_COMMON_CORE_EXPORT FileSystemSettings
{
public:
    struct DirLocationTag {
        static QString family() { return QStringLiteral("FileSystemSettings::DirLocation"); }
    };
    /// A purpose of file dialogs; its name is the settings key. Applications may register more.
    using DirLocationData = ExtendableEnum<DirLocationTag>;

    static const DirLocationData DefaultLocation;
    static const DirLocationData NewProjectLocation;
    static const DirLocationData OpenProjectLocation;
    static const DirLocationData LayoutLocation;
    static const DirLocationData SearchFilterLocation;
    static const DirLocationData ImportFastaLocation;
    static const DirLocationData ImportSampleLocation;

    static constexpr int recent_file_max_history = 10;

    [[nodiscard]] static FileSystemSettings &Instance();
    /// The settings key of `location` ("FSS_DefaultLocation").
    [[nodiscard]] static QString convertDirLocationToString(DirLocationData location);

    /// The folder of `location`; else the first folder stored for any location, in registration
    /// order; else the user's documents folder.
    [[nodiscard]] QString fileLocation(DirLocationData location) const;
    /// As above, with `fallback` in place of the documents folder.
    [[nodiscard]] QString fileLocation(DirLocationData location, const QString &fallback) const;
    /// Stores the folder of `path` (the path itself when it is a folder). A blank path is ignored.
    void setFileLocation(DirLocationData location, const QString &path);
    /// Stores `path` as given, unless it is empty.
    void setResourceReference(DirLocationData location, const QString &path);
    void clearDialogLocations();

    [[nodiscard]] QList<QString> fileHistory() const { return m_history; }
    /// Puts `path` at the front (once), keeping the most recent recent_file_max_history entries.
    void addFileHistory(const QString &path);
    void clearHistory();

    /// Reads the locations and the history, in the current layout or the older one.
    void readSettings(QSettings &settings);
    /// Writes the current layout and removes the keys of the older one.
    void writeSettings(QSettings &settings) const;

private:
    FileSystemSettings() = default;
    [[nodiscard]] QString fileLocationInternal(DirLocationData location) const;

    QMap<DirLocationData, QString> m_locations;
    QList<QString> m_history;
};
