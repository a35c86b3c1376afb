// The fasta subcommands: the proteins of a FASTA file whose sequences hold characters a rule does
// not allow, and counts of what a FASTA file holds.
#include "FastaCommand.h"

#include "CommandLine.h"
#include "FastaInput.h"
#include "TableWriter.h"
#include "utils/FastaProteinReader.h"
#include "utils/FastaUtils.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

using namespace zeq::cli;
using zeq::FastaProteinReader;
using zeq::FastaUtils;

namespace
{

const QStringList kDefaultDecoyPrefixes = { QStringLiteral("DECOY_"), QStringLiteral("REV_"), QStringLiteral("rev_") };

QString percent(qint64 part, qint64 whole)
{
    return whole > 0 ? formatFixed(100.0 * double(part) / double(whole), 2) : QString();
}

// A character as a person can read it in any output format: itself when printable and not blank,
// else its code point (a lone surrogate included).
QString visible(char32_t code)
{
    if (QChar::isPrint(code) && !QChar::isSpace(code)) {
        return QString::fromUcs4(&code, 1);
    }
    return QStringLiteral("U+") + QStringLiteral("%1").arg(quint32(code), 4, 16, QLatin1Char('0')).toUpper();
}

int runCheck(const QStringList &args)
{
    CommandParser cmd(QStringLiteral("fasta check"),
                      QStringLiteral("[options] FILE"),
                      QStringLiteral("Lists the proteins of a FASTA file whose sequences hold characters that RULE "
                                     "does not allow. Exit status 1 when there is one."),
                      QStringLiteral("\nOutput: one row per protein with illegal characters.\n"
                                     "  line     line of the protein's header in FILE\n"
                                     "  protein  the header text after '>'\n"
                                     "  illegal  the illegal characters in order, blank-separated; blanks and\n"
                                     "           other invisible characters as U+XXXX\n"
                                     "FILE may be UTF-8, UTF-16 with a byte-order mark, or Latin-1. Proteins are\n"
                                     "read one at a time: memory stays about the size of the largest protein plus\n"
                                     "the rows listed, whatever the file's size.\n"));
    cmd.parser().addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The FASTA file."));
    cmd.addOptions({ Option::choice(
        QStringLiteral("rule"),
        QStringLiteral("rule"),
        QStringLiteral("Characters a sequence may hold."),
        { { QStringLiteral("letters"), QStringLiteral("ASCII letters") },
          { QStringLiteral("extended"), QStringLiteral("also digits and , | * ~ . - + ( ) [ ] { }") },
          { QStringLiteral("printable"), QStringLiteral("every printable ASCII character but the blank") } },
        QStringLiteral("letters")) });
    cmd.addOutputOptions();
    if (const std::optional<int> status = cmd.parse(args, 1, 1)) {
        return *status;
    }
    const TableWriter::Format format = cmd.format();
    const QString ruleName = cmd.choice(QStringLiteral("rule"));
    const FastaUtils::Rule rule = ruleName == u"extended" ? FastaUtils::ExtendedSymbols
        : ruleName == u"printable"                        ? FastaUtils::PrintableAscii
                                                          : FastaUtils::AminoAcidLetters;
    const QString path = cmd.positionalArguments().constFirst();
    cmd.refuseOutputsOverInputs({ path });
    if (!cmd.usageError().isEmpty()) {
        return fail(kExitBadUsage, cmd.usageError());
    }
    FastaInput input;
    if (const std::optional<int> status = input.open(path)) {
        return *status;
    }
    FastaProteinReader reader;
    if (const Error err = reader.open(input.fileName()); err.hasError()) {
        return input.fail(err);
    }

    TableWriter table(format,
                      { { QStringLiteral("line"), true },
                        { QStringLiteral("protein"), false },
                        { QStringLiteral("illegal"), false } });
    qint64 proteins = 0;
    FastaEntry protein;
    while (reader.next(&protein)) {
        ++proteins;
        const QList<QString> characters = FastaUtils::illegalCharacters(protein.sequence, rule);
        if (characters.isEmpty()) {
            continue;
        }
        QStringList shown;
        for (const QString &character : characters) {
            shown.append(visible(character.toUcs4().value(0)));
        }
        table.addRow({ QString::number(protein.headerLine), protein.name, shown.join(u' ') });
    }
    if (reader.error().hasError()) {
        return input.fail(reader.error());
    }
    if (const int status = writeResult(cmd.outputPath(), table.render()); status != kExitSuccess) {
        return status;
    }
    if (table.rowCount() > 0) {
        return fail(kExitBadInput,
                    QStringLiteral("%1: %2 of %3 proteins hold characters the %4 rule does not allow")
                        .arg(path)
                        .arg(table.rowCount())
                        .arg(proteins)
                        .arg(ruleName));
    }
    return kExitSuccess;
}

// Quantile of sorted values by linear interpolation between the two nearest ranks.
double quantile(const std::vector<qint64> &sorted, double q)
{
    const double position = q * double(sorted.size() - 1);
    const auto below = size_t(position);
    const size_t above = std::min(below + 1, sorted.size() - 1);
    return double(sorted[below]) + (position - double(below)) * double(sorted[above] - sorted[below]);
}

int runStats(const QStringList &args)
{
    CommandParser cmd(
        QStringLiteral("fasta stats"),
        QStringLiteral("[options] FILE"),
        QStringLiteral("Counts the proteins and residues of a FASTA file."),
        QStringLiteral("\nOutput: one row per figure.\n"
                       "  group    proteins, length (residues per protein) or residue\n"
                       "  item     what is counted: all, decoy PREFIX, shortest, quartile 1, median,\n"
                       "           mean, quartile 3, longest, or a residue letter (U+XXXX when\n"
                       "           invisible)\n"
                       "  value    the count or length\n"
                       "  percent  share of all proteins (decoys) or of all residues (residues)\n"
                       "FILE may be UTF-8, UTF-16 with a byte-order mark, or Latin-1. Proteins are\n"
                       "read one at a time: memory stays about the size of the largest protein plus\n"
                       "8 bytes per protein (its length, for the quartiles), whatever the file's size.\n"));
    cmd.parser().addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The FASTA file."));
    cmd.addOptions({ Option::text(QStringLiteral("decoy-prefix"),
                                  QStringLiteral("PREFIX"),
                                  QStringLiteral("A name that starts with PREFIX is a decoy; repeat for several."),
                                  kDefaultDecoyPrefixes.join(QStringLiteral(", "))) });
    cmd.addOutputOptions();
    if (const std::optional<int> status = cmd.parse(args, 1, 1)) {
        return *status;
    }
    const TableWriter::Format format = cmd.format();
    QStringList prefixes = cmd.texts(QStringLiteral("decoy-prefix"));
    if (prefixes.isEmpty()) {
        prefixes = kDefaultDecoyPrefixes;
    }
    if (prefixes.contains(QString())) {
        return fail(kExitBadUsage, QStringLiteral("--decoy-prefix needs a non-empty prefix"));
    }
    cmd.refuseOutputsOverInputs(cmd.positionalArguments());
    if (!cmd.usageError().isEmpty()) {
        return fail(kExitBadUsage, cmd.usageError());
    }
    FastaInput input;
    if (const std::optional<int> status = input.open(cmd.positionalArguments().constFirst())) {
        return *status;
    }
    FastaProteinReader reader;
    if (const Error err = reader.open(input.fileName()); err.hasError()) {
        return input.fail(err);
    }

    // The quantiles need every length: 8 bytes a protein are all that grows with the file.
    std::vector<qint64> lengths;
    std::vector<qint64> decoys(size_t(prefixes.size()), 0);
    // One counter per UTF-16 code unit: a table is far faster than a hash over every residue.
    std::vector<qint64> counts(0x10000, 0);
    qint64 residues = 0;
    FastaEntry protein;
    while (reader.next(&protein)) {
        const QString &sequence = protein.sequence;
        lengths.push_back(sequence.size());
        residues += sequence.size();
        for (const QChar c : sequence) {
            ++counts[c.unicode()];
        }
        const QStringView name = QStringView(protein.name).trimmed();
        for (qsizetype i = 0; i < prefixes.size(); ++i) {
            decoys[size_t(i)] += name.startsWith(prefixes.at(i)) ? 1 : 0;
        }
    }
    if (reader.error().hasError()) {
        return input.fail(reader.error());
    }
    const auto proteinCount = qint64(lengths.size());
    std::sort(lengths.begin(), lengths.end());

    TableWriter table(format,
                      { { QStringLiteral("group"), false },
                        { QStringLiteral("item"), false },
                        { QStringLiteral("value"), true },
                        { QStringLiteral("percent"), true } });
    const QString proteinsGroup = QStringLiteral("proteins");
    table.addRow(
        { proteinsGroup, QStringLiteral("all"), QString::number(proteinCount), percent(proteinCount, proteinCount) });
    for (qsizetype i = 0; i < prefixes.size(); ++i) {
        table.addRow({ proteinsGroup,
                       QStringLiteral("decoy ") + prefixes.at(i),
                       QString::number(decoys[size_t(i)]),
                       percent(decoys[size_t(i)], proteinCount) });
    }
    if (!lengths.empty()) {
        const QString lengthGroup = QStringLiteral("length");
        const std::pair<const char *, double> figures[] = {
            { "shortest", double(lengths.front()) },   { "quartile 1", quantile(lengths, 0.25) },
            { "median", quantile(lengths, 0.5) },      { "mean", double(residues) / double(proteinCount) },
            { "quartile 3", quantile(lengths, 0.75) }, { "longest", double(lengths.back()) },
        };
        for (const auto &[item, value] : figures) {
            table.addRow({ lengthGroup, QString::fromLatin1(item), formatNumber(value), QString() });
        }
    }
    table.addRow({ QStringLiteral("residues"), QStringLiteral("all"), QString::number(residues), QString() });
    for (char32_t code = 0; code < counts.size(); ++code) {
        if (counts[code] > 0) {
            table.addRow({ QStringLiteral("residue"),
                           visible(code),
                           QString::number(counts[code]),
                           percent(counts[code], residues) });
        }
    }
    return writeResult(cmd.outputPath(), table.render());
}

} // namespace

int runFasta(const QStringList &args)
{
    CommandParser cmd(QStringLiteral("fasta"),
                      QStringLiteral("COMMAND [options] FILE"),
                      QStringLiteral("FASTA protein files."),
                      QStringLiteral("\nCommands:\n"
                                     "  check FILE  proteins whose sequences hold characters a rule does not allow\n"
                                     "  stats FILE  proteins, residues, lengths, residue composition and decoys\n"
                                     "Files are read one protein at a time, in bounded memory whatever their size.\n"
                                     "Run `zeq fasta COMMAND --help` for a command's options and output columns.\n"));
    QCommandLineParser &parser = cmd.parser();
    parser.addPositionalArgument(QStringLiteral("COMMAND"), QStringLiteral("check or stats."));
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (const std::optional<int> status = cmd.parse(args, 1, std::numeric_limits<qsizetype>::max())) {
        return *status;
    }
    const QStringList positional = cmd.positionalArguments();
    const QString command = positional.constFirst();
    if (command == u"check") {
        return runCheck(positional.mid(1));
    }
    if (command == u"stats") {
        return runStats(positional.mid(1));
    }
    return fail(kExitBadUsage,
                QStringLiteral("unknown fasta command \"%1\"; see zeq fasta --help").arg(elide(command)));
}
