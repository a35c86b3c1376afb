#pragma once

#include "zeq_common_core_export.h"
#include "zeq_qt_shared_libs_core/FileTypes.h"

#include <QList>
#include <QObject>
#include <QString>

#include <initializer_list>
#include <memory>

/// Name filters of file dialogs: an ordered list of entries, each a description and its file masks
/// ("CSV files (*.csv)"). Entries with equal descriptions merge; masks are kept once each.
/// Copyable despite being a QObject: a copy has no parent and no connections.
class ZEQ_COMMON_CORE_EXPORT FileExtensionsNameFilter : public QObject
{
    Q_OBJECT
public:
    FileExtensionsNameFilter();
    /// An empty description takes the type's own.
    FileExtensionsNameFilter(FileType type, const QString &description = {});
    /// All types under one description, or each under its own when `description` is empty.
    explicit FileExtensionsNameFilter(const QList<FileType> &types, const QString &description = {});
    /// Type i under description i; types without a description (or with an empty one) under their own.
    FileExtensionsNameFilter(const QList<FileType> &types, const QList<QString> &descriptions);
    FileExtensionsNameFilter(std::initializer_list<FileType> types);
    FileExtensionsNameFilter(const FileExtensionsNameFilter &other);
    FileExtensionsNameFilter &operator=(const FileExtensionsNameFilter &other);
    ~FileExtensionsNameFilter() override;

    /// Adds every part of a dialog filter text ("Text (*.txt);;CSV (*.csv)"). Parts that cannot be
    /// read are skipped with a warning.
    void addExtension(const QString &filterText);
    /// `maskText` is one text of masks: "*.csv *.txt", "(*.csv)"; "csv" and ".csv" become "*.csv".
    void addExtension(const QString &description, const QString &maskText);
    void addExtension(FileType type, const QString &description = {});
    void addExtensions(const QList<FileType> &types, const QString &description = {});
    void addExtensions(const QList<QString> &masks, const QString &description);
    void clearFilters();

    /// One "description (mask mask)" per entry.
    [[nodiscard]] QList<QString> toFilterStringList() const;
    /// The entries joined with ";;", as file dialogs take them.
    [[nodiscard]] QString toFilterString() const;
    /// The masks of all entries in entry order, each once.
    [[nodiscard]] QList<QString> fileMasks() const;
    /// True when the whole `fileName` matches a mask as a wildcard, ignoring case.
    [[nodiscard]] bool passesFilter(const QString &fileName) const;
    /// True when a mask is "*.<suffix>", ignoring case.
    [[nodiscard]] bool containsSuffix(const QString &suffix) const;
    /// True when every mask of `type` is among the masks, ignoring case (false for a type without masks).
    [[nodiscard]] bool containsType(FileType type) const;
    [[nodiscard]] bool containsTypes(const QList<FileType> &types) const;

    /// A filter of the types named in `typeNames` (FileTypes::stringToType); unknown names are
    /// skipped with a warning.
    [[nodiscard]] static FileExtensionsNameFilter fromExtensionTypes(const QList<QString> &typeNames);

    friend ZEQ_COMMON_CORE_EXPORT bool operator==(const FileExtensionsNameFilter &a, const FileExtensionsNameFilter &b);

private:
    void addExtensionInternal(const QString &description, const QList<QString> &masks);

    struct Private;
    std::unique_ptr<Private> d;
};
