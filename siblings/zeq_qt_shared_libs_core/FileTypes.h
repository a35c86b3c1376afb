#pragma once

#include "zeq_qt_shared_libs_core/ExtendableEnum.h"
#include "zeq_qt_shared_libs_core_export.h"

#include <QList>
#include <QString>

struct FileTypeTag {
    static QString family() { return QStringLiteral("FileType"); }
};
/// A kind of file the applications open or save; extendable (see CorvinFileTypes).
using FileType = ExtendableEnum<FileTypeTag>;

/// The common file types with their file masks ("*.csv") and descriptions for file dialogs. Other
/// libraries add their own through registerType.
class ZEQ_QT_SHARED_LIBS_CORE_EXPORT FileTypes
{
public:
    static const FileType ALLFILES;
    static const FileType CSV;
    static const FileType TEXT;
    static const FileType TSV;
    static const FileType FASTA;
    static const FileType JSON;
    static const FileType XML;
    static const FileType SQLITE;
    static const FileType INI;
    static const FileType PDF;
    static const FileType PNG;
    static const FileType MZML;
    static const FileType MZXML;
    static const FileType MGF;

    /// Registers (or finds) the type `name`; a new type gets `masks` and `description`, a known one
    /// keeps what it has. Invalid for an empty name.
    static FileType registerType(const QString &name, const QList<QString> &masks, const QString &description);

    /// The masks of `type` ("*.fasta", "*.fa", ...); empty for an invalid type.
    [[nodiscard]] static QList<QString> fileMasksForExtensionType(FileType type);
    /// What a file dialog shows for `type` ("CSV files"); "" for an invalid type.
    [[nodiscard]] static QString typeDescription(FileType type);
    /// The registered name ("CSV"); "" for an invalid type.
    [[nodiscard]] static QString typeToString(FileType type);
    /// The type registered as `name`, ignoring case; invalid when there is none.
    [[nodiscard]] static FileType stringToType(const QString &name);

    /// Makes sure the common types hold the first values, whichever library's initialiser runs
    /// first. Called by every registration; cheap after the first call.
    static void registerCommonTypes();
};
