#include "FileExtensionsNameFilter.h"

#include "ZeqLogging.h"

#include <QRegExp>
#include <QRegularExpression>

#include <algorithm>

struct FileExtensionsNameFilter::Private {
    struct Entry {
        QString description;
        QList<QString> masks;
        friend bool operator==(const Entry &, const Entry &) = default;
    };
    QList<Entry> entries;
};

namespace
{

QString cleanDescription(const QString &description)
{
    return description.simplified();
}

// Completes the first mask of a text: "csv", ".csv" and "*csv" become "*.csv".
QString fixMaskName(const QString &text)
{
    if (text.isEmpty()) {
        qCWarning(lcCore) << "The input string is empty";
        return {};
    }
    if (text.size() < 2) {
        qCWarning(lcCore) << "Input string is to small" << text;
        return text;
    }
    QString fixed = text;
    if (fixed.indexOf(QLatin1Char('.')) <= 0) {
        if (!fixed.startsWith(QLatin1Char('*'))) {
            fixed.prepend(QLatin1Char('*'));
        }
        if (fixed.at(1) != QLatin1Char('.')) {
            fixed.insert(1, QLatin1Char('.'));
        }
    }
    return fixed;
}

QList<QString> repairMasks(const QString &maskText)
{
    QString text = maskText.simplified();
    if (text.isEmpty()) {
        return {};
    }
    const qsizetype open = text.lastIndexOf(QLatin1Char('('));
    const qsizetype close = text.indexOf(QLatin1Char(')'));
    if (open > 0 || (close >= 0 && close != text.size() - 1)) {
        qCWarning(lcCore) << "The filter" << maskText << "is invalid and cannot be corrected";
        return {};
    }
    if (text.startsWith(QLatin1Char('('))) {
        text.remove(0, 1);
    }
    if (text.endsWith(QLatin1Char(')'))) {
        text.chop(1);
    }
    return fixMaskName(text.trimmed()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// A part written without parentheses ("CSV files *.csv *.tsv") becomes "CSV files (*.csv *.tsv)":
// trailing words that start with "*" are its masks. Well-formed parts come back unchanged.
QString repairPart(const QString &part)
{
    if (part.contains(QLatin1Char('(')) || part.contains(QLatin1Char(')'))) {
        return part;
    }
    QList<QString> words = part.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    qsizetype firstMask = words.size();
    while (firstMask > 1 && words.at(firstMask - 1).startsWith(QLatin1Char('*'))) {
        --firstMask;
    }
    if (firstMask == words.size()) {
        return part;
    }
    const QString masks = words.mid(firstMask).join(QLatin1Char(' '));
    words.resize(firstMask);
    return QStringLiteral("%1 (%2)").arg(words.join(QLatin1Char(' ')), masks);
}

} // namespace

FileExtensionsNameFilter::FileExtensionsNameFilter()
    : d(std::make_unique<Private>())
{
}

FileExtensionsNameFilter::FileExtensionsNameFilter(FileType type, const QString &description)
    : FileExtensionsNameFilter()
{
    addExtension(type, description);
}

FileExtensionsNameFilter::FileExtensionsNameFilter(const QList<FileType> &types, const QString &description)
    : FileExtensionsNameFilter()
{
    addExtensions(types, description);
}

FileExtensionsNameFilter::FileExtensionsNameFilter(const QList<FileType> &types, const QList<QString> &descriptions)
    : FileExtensionsNameFilter()
{
    for (qsizetype i = 0; i < types.size(); ++i) {
        addExtension(types.at(i), descriptions.value(i));
    }
}

FileExtensionsNameFilter::FileExtensionsNameFilter(std::initializer_list<FileType> types)
    : FileExtensionsNameFilter(QList<FileType>(types))
{
}

FileExtensionsNameFilter::FileExtensionsNameFilter(const FileExtensionsNameFilter &other)
    : QObject()
    , d(std::make_unique<Private>(*other.d))
{
}

FileExtensionsNameFilter &FileExtensionsNameFilter::operator=(const FileExtensionsNameFilter &other)
{
    if (this != &other) {
        *d = *other.d;
    }
    return *this;
}

FileExtensionsNameFilter::~FileExtensionsNameFilter() = default;

void FileExtensionsNameFilter::addExtension(const QString &filterText)
{
    static const QRegularExpression partPattern(QStringLiteral("^(.+?)\\s+\\((.+?)\\)$"));
    QString text = filterText.simplified();
    if (text.endsWith(QStringLiteral(";;"))) {
        text.chop(2);
    }
    const QList<QString> parts = text.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QRegularExpressionMatch match = partPattern.match(repairPart(part.trimmed()));
        if (!match.hasMatch()) {
            qCWarning(lcCore) << "Skipping the filter" << part << ": no description with masks in parentheses";
            continue;
        }
        addExtensionInternal(match.captured(1), repairMasks(match.captured(2)));
    }
}

void FileExtensionsNameFilter::addExtension(const QString &description, const QString &maskText)
{
    addExtensionInternal(description, repairMasks(maskText));
}

void FileExtensionsNameFilter::addExtension(FileType type, const QString &description)
{
    addExtensionInternal(description.isEmpty() ? FileTypes::typeDescription(type) : description,
                         FileTypes::fileMasksForExtensionType(type));
}

void FileExtensionsNameFilter::addExtensions(const QList<FileType> &types, const QString &description)
{
    for (const FileType type : types) {
        addExtension(type, description);
    }
}

void FileExtensionsNameFilter::addExtensions(const QList<QString> &masks, const QString &description)
{
    addExtensionInternal(description, masks);
}

void FileExtensionsNameFilter::clearFilters()
{
    d->entries.clear();
}

void FileExtensionsNameFilter::addExtensionInternal(const QString &description, const QList<QString> &masks)
{
    const QString cleaned = cleanDescription(description);
    if (cleaned.isEmpty() || masks.isEmpty()) {
        qCWarning(lcCore) << "Cannot add an empty filter description or an empty file mask";
        return;
    }
    auto entry = std::find_if(
        d->entries.begin(), d->entries.end(), [&](const Private::Entry &e) { return e.description == cleaned; });
    if (entry == d->entries.end()) {
        entry = d->entries.insert(d->entries.end(), { cleaned, {} });
    }
    for (const QString &mask : masks) {
        if (!mask.isEmpty() && !entry->masks.contains(mask)) {
            entry->masks.append(mask);
        }
    }
}

QList<QString> FileExtensionsNameFilter::toFilterStringList() const
{
    QList<QString> list;
    for (const Private::Entry &entry : std::as_const(d->entries)) {
        list.append(QStringLiteral("%1 (%2)").arg(entry.description, entry.masks.join(QLatin1Char(' '))));
    }
    return list;
}

QString FileExtensionsNameFilter::toFilterString() const
{
    return toFilterStringList().join(QStringLiteral(";;"));
}

QList<QString> FileExtensionsNameFilter::fileMasks() const
{
    QList<QString> masks;
    for (const Private::Entry &entry : std::as_const(d->entries)) {
        for (const QString &mask : entry.masks) {
            if (!masks.contains(mask)) {
                masks.append(mask);
            }
        }
    }
    return masks;
}

bool FileExtensionsNameFilter::passesFilter(const QString &fileName) const
{
    // QRegExp's wildcards are the ones file dialogs use; QRegularExpression::fromWildcard treats
    // "/" and "[" differently.
    const QList<QString> masks = fileMasks();
    return std::any_of(masks.begin(), masks.end(), [&](const QString &mask) {
        return QRegExp(mask, Qt::CaseInsensitive, QRegExp::Wildcard).exactMatch(fileName);
    });
}

bool FileExtensionsNameFilter::containsSuffix(const QString &suffix) const
{
    return fileMasks().contains(QStringLiteral("*.%1").arg(suffix), Qt::CaseInsensitive);
}

bool FileExtensionsNameFilter::containsType(FileType type) const
{
    const QList<QString> typeMasks = FileTypes::fileMasksForExtensionType(type);
    const QList<QString> masks = fileMasks();
    return !typeMasks.isEmpty() && std::all_of(typeMasks.begin(), typeMasks.end(), [&](const QString &mask) {
        return masks.contains(mask, Qt::CaseInsensitive);
    });
}

bool FileExtensionsNameFilter::containsTypes(const QList<FileType> &types) const
{
    return std::all_of(types.begin(), types.end(), [this](FileType type) { return containsType(type); });
}

FileExtensionsNameFilter FileExtensionsNameFilter::fromExtensionTypes(const QList<QString> &typeNames)
{
    FileExtensionsNameFilter filter;
    for (const QString &name : typeNames) {
        const FileType type = FileTypes::stringToType(name);
        if (!type.isValid()) {
            qCWarning(lcCore) << "Unknown file type" << name;
            continue;
        }
        filter.addExtension(type);
    }
    return filter;
}

bool operator==(const FileExtensionsNameFilter &a, const FileExtensionsNameFilter &b)
{
    return a.d->entries == b.d->entries;
}
