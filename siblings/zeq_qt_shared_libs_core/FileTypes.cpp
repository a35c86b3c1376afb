#include "zeq_qt_shared_libs_core/FileTypes.h"

#include <QHash>

namespace
{

struct TypeInfo {
    QList<QString> masks;
    QString description;
};

QHash<int, TypeInfo> &typeInfos()
{
    static QHash<int, TypeInfo> infos;
    return infos;
}

FileType add(const QString &name, const QList<QString> &masks, const QString &description)
{
    const FileType type = FileType::add(name);
    if (type.isValid() && !typeInfos().contains(type.value())) {
        typeInfos().insert(type.value(), { masks, description });
    }
    return type;
}

FileType common(const QString &name)
{
    FileTypes::registerCommonTypes();
    return FileType::fromName(name);
}

} // namespace

void FileTypes::registerCommonTypes()
{
    static const bool done = [] {
        // "*", not "*.*": on Linux many files have no extension.
        add(QStringLiteral("ALLFILES"), { QStringLiteral("*") }, QStringLiteral("All files"));
        add(QStringLiteral("CSV"), { QStringLiteral("*.csv") }, QStringLiteral("CSV files"));
        add(QStringLiteral("TEXT"), { QStringLiteral("*.txt") }, QStringLiteral("Text files"));
        add(QStringLiteral("TSV"), { QStringLiteral("*.tsv") }, QStringLiteral("Tab-separated files"));
        add(QStringLiteral("FASTA"),
            { QStringLiteral("*.fasta"), QStringLiteral("*.fa"), QStringLiteral("*.faa") },
            QStringLiteral("FASTA files"));
        add(QStringLiteral("JSON"), { QStringLiteral("*.json") }, QStringLiteral("JSON files"));
        add(QStringLiteral("XML"), { QStringLiteral("*.xml") }, QStringLiteral("XML files"));
        add(QStringLiteral("SQLITE"),
            { QStringLiteral("*.sqlite"), QStringLiteral("*.db"), QStringLiteral("*.sqlite3") },
            QStringLiteral("SQLite databases"));
        add(QStringLiteral("INI"), { QStringLiteral("*.ini") }, QStringLiteral("Settings files"));
        add(QStringLiteral("PDF"), { QStringLiteral("*.pdf") }, QStringLiteral("PDF documents"));
        add(QStringLiteral("PNG"), { QStringLiteral("*.png") }, QStringLiteral("PNG images"));
        add(QStringLiteral("MZML"), { QStringLiteral("*.mzML") }, QStringLiteral("mzML spectra"));
        add(QStringLiteral("MZXML"), { QStringLiteral("*.mzXML") }, QStringLiteral("mzXML spectra"));
        add(QStringLiteral("MGF"), { QStringLiteral("*.mgf") }, QStringLiteral("MGF spectra"));
        return true;
    }();
    Q_UNUSED(done);
}

const FileType FileTypes::ALLFILES = common(QStringLiteral("ALLFILES"));
const FileType FileTypes::CSV = common(QStringLiteral("CSV"));
const FileType FileTypes::TEXT = common(QStringLiteral("TEXT"));
const FileType FileTypes::TSV = common(QStringLiteral("TSV"));
const FileType FileTypes::FASTA = common(QStringLiteral("FASTA"));
const FileType FileTypes::JSON = common(QStringLiteral("JSON"));
const FileType FileTypes::XML = common(QStringLiteral("XML"));
const FileType FileTypes::SQLITE = common(QStringLiteral("SQLITE"));
const FileType FileTypes::INI = common(QStringLiteral("INI"));
const FileType FileTypes::PDF = common(QStringLiteral("PDF"));
const FileType FileTypes::PNG = common(QStringLiteral("PNG"));
const FileType FileTypes::MZML = common(QStringLiteral("MZML"));
const FileType FileTypes::MZXML = common(QStringLiteral("MZXML"));
const FileType FileTypes::MGF = common(QStringLiteral("MGF"));

FileType FileTypes::registerType(const QString &name, const QList<QString> &masks, const QString &description)
{
    registerCommonTypes();
    return add(name, masks, description);
}

QList<QString> FileTypes::fileMasksForExtensionType(FileType type)
{
    return typeInfos().value(type.value()).masks;
}

QString FileTypes::typeDescription(FileType type)
{
    return typeInfos().value(type.value()).description;
}

QString FileTypes::typeToString(FileType type)
{
    return type.name();
}

FileType FileTypes::stringToType(const QString &name)
{
    registerCommonTypes();
    for (const FileType type : FileType::values()) {
        if (type.name().compare(name, Qt::CaseInsensitive) == 0) {
            return type;
        }
    }
    return {};
}
