#include "utils/FastaUtils.h"

#include "ZeqLogging.h"
#include "constants/StringConstants.h"
#include "utils/FastaProteinReader.h"
#include "zeq_common_core_mini/AppSettings.h"
#include "zeq_common_core_mini/ProteinColumns.h"
#include "zeq_common_core_mini/RowNode.h"
#include "zeq_common_stable/AtomicFileWriter.h"
#include "zeq_qt_shared_libs_core/ReadFasta.h"

#include <QMap>
#include <QRegularExpression>

#include <array>

namespace zeq
{
namespace
{

const QString kReadLimitKey = QStringLiteral("protein_read_limit");
constexpr int kLoadLimit = 5'000'000;
constexpr int kCheckLimit = 1'000'000;

int readLimit(int defaultLimit)
{
    bool ok = false;
    const int limit = as::value(kReadLimitKey, defaultLimit).toInt(&ok);
    return ok ? limit : defaultLimit;
}

const QRegularExpression &illegalCharacter(FastaUtils::Rule rule)
{
    static const QRegularExpression letters(QStringLiteral("[^a-zA-Z]"));
    static const QRegularExpression extended(QStringLiteral(R"([^a-zA-Z0-9,|\*\~\.\-\+\(\)\[\]\{\}])"));
    static const QRegularExpression printable(
        QStringLiteral(R"([^a-zA-Z0-9,|\*\~\.\-\+\(\)\[\]\{\}\<\>=\?\:\;\!\#\$\%\&\'\@\\\"/^_`])"));
    switch (rule) {
    case FastaUtils::AminoAcidLetters:
        return letters;
    case FastaUtils::ExtendedSymbols:
        return extended;
    case FastaUtils::PrintableAscii:
    default:
        return printable;
    }
}

// Running the regular expression over every residue of a large database costs more than reading
// it. Every rule allows the ASCII letters and nearly every sequence holds nothing else: a plain loop
// (vectorised in optimised builds) clears those. The rest go through a table of the ASCII characters
// the rule allows, made by asking its pattern (every pattern matches all non-ASCII characters), and
// only sequences with an illegal character are searched.
bool onlyLetters(QStringView text)
{
    bool clean = true;
    for (const QChar c : text) {
        clean &= static_cast<char16_t>((c.unicode() | 0x20) - u'a') < 26;
    }
    return clean;
}

using AsciiTable = std::array<bool, 128>;

AsciiTable makeAllowedTable(const QRegularExpression &illegal)
{
    AsciiTable allowed{};
    for (char16_t c = 0; c < allowed.size(); ++c) {
        allowed[c] = !illegal.match(QStringView(&c, 1)).hasMatch();
    }
    return allowed;
}

const AsciiTable &allowedAscii(FastaUtils::Rule rule)
{
    static const std::array<AsciiTable, 3> tables = { makeAllowedTable(illegalCharacter(FastaUtils::AminoAcidLetters)),
                                                      makeAllowedTable(illegalCharacter(FastaUtils::ExtendedSymbols)),
                                                      makeAllowedTable(illegalCharacter(FastaUtils::PrintableAscii)) };
    return tables[rule == FastaUtils::AminoAcidLetters || rule == FastaUtils::ExtendedSymbols ? rule : 2];
}

bool onlyAllowed(QStringView text, const AsciiTable &allowed)
{
    bool clean = true;
    for (const QChar c : text) {
        clean &= c.unicode() < 128 && allowed[c.unicode()];
    }
    return clean;
}

QString withoutLeadingMarkers(const QString &name)
{
    qsizetype i = 0;
    while (i < name.size() && (name.at(i) == u'>' || name.at(i).isSpace())) {
        ++i;
    }
    // Most names have nothing to remove and keep sharing the text read.
    return i == 0 ? name : name.sliced(i);
}

} // namespace

Error FastaUtils::loadFromFastaCli(const QList<QString> &paths,
                                   RowNode &root,
                                   const std::function<bool(const QString &)> &progress,
                                   Rule rule)
{
    Error err;
    root.clear();
    root.addData(QList<QString>{ kProteinAccessionName, kProteinAliasName, kProteinSequence }, true);

    QList<QString> allNames;
    QList<QString> allSequences;
    for (const QString &path : paths) {
        FastaProteinReader reader;
        err = reader.open(path);
        if (err.hasError()) {
            Error failed(kError, tr("Could not load the FASTA file \"%1\" because of encoding errors.").arg(path));
            failed.addErrorMessage(err.errorString());
            return ZEQ_ECATCH(failed);
        }
        reader.setLimit(readLimit(kLoadLimit));
        QList<QString> names;
        QList<QString> sequences;
        FastaEntry entry;
        while (reader.next(&entry)) {
            // Moved out, so each sequence is allocated once at its own size.
            names.append(std::move(entry.name));
            sequences.append(std::move(entry.sequence));
            if (progress && names.size() % 1000 == 0
                && !progress(QStringLiteral("%1: %2 proteins read").arg(path).arg(names.size()))) {
                err.setError(kError).addErrorMessage(
                    QStringLiteral("%1 line %2: reading stopped by the caller").arg(path).arg(entry.headerLine));
                return ZEQ_ECATCH(err);
            }
        }
        if (reader.error().hasError()) {
            err = reader.error();
            return ZEQ_ECATCH(err);
        }
        QString message;
        if (!checkProteinNamesAndSequences(names, sequences, &message, rule)) {
            err.setError(kError)
                .addErrorMessage(tr("Illegal characters in FASTA file %1:").arg(path))
                .addErrorMessage(message);
            return ZEQ_ECATCH(err);
        }
        // Taking the first file's lists whole spares copying (and first touching) their arrays.
        if (allNames.isEmpty() && allSequences.isEmpty()) {
            allNames = std::move(names);
            allSequences = std::move(sequences);
        } else {
            allNames.append(std::move(names));
            allSequences.append(std::move(sequences));
        }
    }
    qCDebug(lcCore) << "combinedSequenceList.size() =" << allSequences.size();
    if (allNames.size() != allSequences.size()) {
        err.setError(kError).addErrorMessage(tr("Unable to get protein names for all sequences."));
        return ZEQ_ECATCH(err);
    }

    root.children().reserve(allNames.size());
    const QString noAlias = QStringLiteral("");
    for (qsizetype i = 0; i < allNames.size(); ++i) {
        root.addChild(
            new RowNode(VariantItems{ withoutLeadingMarkers(allNames.at(i)), noAlias, allSequences.at(i) }, &root));
    }
    return err;
}

Error FastaUtils::loadFromFastaCli(const QString &path,
                                   RowNode &root,
                                   const std::function<bool(const QString &)> &progress,
                                   Rule rule)
{
    Error err = loadFromFastaCli(QList<QString>{ path }, root, progress, rule);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

bool FastaUtils::checkFastaFile(const QString &path, QString *message, Rule rule)
{
    QString ignored;
    message = message ? message : &ignored;
    QList<QString> names;
    QList<QString> sequences;
    const Error err = readFasta(path.toStdWString(), readLimit(kCheckLimit), true, &names, &sequences, {});
    if (err.hasError()) {
        *message = tr("Can't read fasta file %1: %2").arg(path, err.errorString());
        return false;
    }
    return checkProteinNamesAndSequences(names, sequences, message, rule);
}

bool FastaUtils::checkProteinNamesAndSequences(const QList<QString> &names,
                                               const QList<QString> &sequences,
                                               QString *message,
                                               Rule rule)
{
    Q_UNUSED(names);
    QString ignored;
    message = message ? message : &ignored;
    // Ordered by the sequence text; identical sequences share an entry.
    QMap<QString, QList<QString>> found;
    for (const QString &sequence : sequences) {
        QList<QString> characters = illegalCharacters(sequence, rule);
        if (!characters.isEmpty() && !found.contains(sequence)) {
            found.insert(sequence, std::move(characters));
        }
    }
    message->clear();
    for (auto it = found.cbegin(); it != found.cend(); ++it) {
        message->append(tr("Protein sequence %1... contains illegal character(s): %2\n")
                            .arg(it.key().left(5), it.value().join(u' ')));
    }
    return found.isEmpty();
}

QList<QString> FastaUtils::illegalCharacters(const QString &sequence, Rule rule)
{
    QList<QString> characters;
    if (onlyLetters(sequence) || onlyAllowed(sequence, allowedAscii(rule))) {
        return characters;
    }
    for (QRegularExpressionMatchIterator it = illegalCharacter(rule).globalMatch(sequence); it.hasNext();) {
        characters.append(it.next().captured());
    }
    return characters;
}

bool FastaUtils::isOldFormat(const RowNode &root)
{
    for (const RowNode *row : root.children()) {
        const QString sequence = row->getDataAt(kProteinSequence, nullptr, false).toString();
        if (sequence.contains(u',') || sequence.contains(u'|')) {
            return true;
        }
    }
    return false;
}

Error writeFasta(const std::wstring &path,
                 const std::vector<std::string> &names,
                 const std::vector<std::string> &sequences)
{
    Error err;
    const QString fileName = QString::fromStdWString(path);
    if (sequences.size() < names.size()) {
        err.setError(kBadParameterError)
            .addErrorMessage(QStringLiteral("Can't write %1: %2 names but only %3 sequences")
                                 .arg(fileName)
                                 .arg(names.size())
                                 .arg(sequences.size()));
        return ZEQ_ECATCH(err);
    }
    AtomicFileWriter file(fileName);
    err = file.open();
    if (err.hasError()) {
        // An empty name too: to callers of this writer, a file that can't be opened.
        err.setError(kFileOpenError);
        return ZEQ_ECATCH(err);
    }
    // Records are gathered into large writes: the writer's device is unbuffered.
    constexpr size_t kFlushAt = size_t(1) << 20;
    std::string chunk;
    chunk.reserve(kFlushAt + 4096);
    const auto flush = [&]() {
        err = file.write(chunk.data(), qint64(chunk.size()));
        chunk.clear();
    };
    for (size_t i = 0; i < names.size() && !err.hasError(); ++i) {
        chunk.append("\n>").append(names[i]).append("\n").append(sequences[i]).append("\n");
        if (chunk.size() >= kFlushAt) {
            flush();
        }
    }
    if (!err.hasError()) {
        flush();
    }
    if (!err.hasError()) {
        err = file.commit();
    }
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

} // namespace zeq

int sizeToInt(unsigned long long value)
{
    return static_cast<int>(static_cast<quint32>(value));
}
