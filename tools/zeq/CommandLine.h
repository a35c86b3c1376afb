#pragma once

#include "SpectrumSource.h"
#include "TableWriter.h"
#include "ValueText.h"
#include "math/MassTolerance.h"
#include "utils/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCommandLineParser>
#include <QFile>
#include <QString>
#include <QStringList>

#include <limits>
#include <memory>
#include <optional>

class AtomicFileWriter;

namespace zeq::cli
{

/// Exit statuses of every subcommand.
enum ExitCode : int {
    kExitSuccess = 0,
    kExitBadInput = 1, ///< unreadable or malformed input, or output that could not be written
    kExitBadUsage = 2, ///< unknown option, missing argument, value out of range
};

/// Writes "zeq: <message>" as one line to standard error and returns `code`.
int fail(ExitCode code, const QString &message);

/// Output written in pieces as it is made: standard output (empty path), or a file through
/// AtomicFileWriter that is replaced only at finish() (a FIFO or device written directly). Opened at
/// the first write; destroyed without finish(), a file keeps its earlier content.
class ResultStream
{
public:
    explicit ResultStream(const QString &path);
    ~ResultStream();
    ResultStream(const ResultStream &) = delete;
    ResultStream &operator=(const ResultStream &) = delete;

    /// False once opening or a write failed; the first failure is kept for finish().
    bool write(QByteArrayView bytes);
    [[nodiscard]] bool ok() const noexcept { return m_failure.isEmpty(); }
    /// Records a failure of what feeds the stream, unless one came first; finish() reports it.
    void failWith(const QString &message);
    /// Commits a file. Returns kExitSuccess, or reports the first failure and returns kExitBadInput.
    int finish();

private:
    QString m_path;
    bool m_opened = false;
    QFile m_stdout;
    std::unique_ptr<AtomicFileWriter> m_file;
    QString m_failure;
};

/// Writes `bytes` to standard output (empty path) or to `path` through AtomicFileWriter: a file is
/// replaced once all of them are written, a FIFO or device written directly. Returns kExitSuccess, or reports the
/// failure and returns kExitBadInput.
int writeResult(const QString &path, const QByteArray &bytes);

/// One option of a command, declared once: its parsing, range check, default and --help line all
/// come from this declaration.
struct Option {
    enum Kind : qint32 {
        Flag = 0,
        Text = 1,
        Integer = 2,
        Number = 3,
        Tolerance = 4,
        PlainRange = 5, ///< START:END of plain numbers
        TimeRange = 6, ///< START:END in minutes, or with s or m units
        ScanList = 7,
        OneOf = 8,
    };
    struct Choice {
        QString name; ///< as typed, any case
        QString meaning; ///< shown in parentheses after the name in --help; may be empty
    };

    static Option flag(const QString &name, const QString &help);
    /// `shownDefault` is what --help says happens when the option is not given; empty says nothing.
    static Option text(const QString &name, const QString &valueName, const QString &help, const QString &shownDefault);
    /// A `highest` of INT_MAX is no bound of the user's: --help shows none.
    static Option
    integer(const QString &name, const QString &valueName, const QString &help, int lowest, int highest, int fallback);
    static Option number(const QString &name,
                         const QString &valueName,
                         const QString &help,
                         const NumberRange &range,
                         double fallback);
    static Option tolerance(const QString &name, const QString &help, const MassTolerance &fallback);
    /// START:END of numbers (PlainRange) or of times (TimeRange); open on both sides by default.
    static Option range(Kind kind, const QString &name, const QString &help, const QString &shownDefault);
    static Option scanList(const QString &name, const QString &help);
    /// `fallback` is one of the choices' names.
    static Option choice(const QString &name,
                         const QString &valueName,
                         const QString &help,
                         const QList<Choice> &choices,
                         const QString &fallback);

    /// Numbers and the default are shown with this unit in --help ("Da", "%").
    Option &withUnit(const QString &text);
    /// What --help says the default is, when the value alone would not say it ("every core (4)").
    Option &withShownDefault(const QString &text);
    Option &withShortName(const QString &letter);

    /// The description that --help shows: the help, then the range, the choices and the default.
    [[nodiscard]] QString description() const;

    QString name;
    QString shortName;
    Kind kind = Flag;
    QString valueName;
    QString help; ///< what the option means, in sentences
    QString unit;
    NumberRange bounds; ///< Integer and Number
    double fallback = 0.0; ///< Integer and Number
    MassTolerance fallbackTolerance;
    QList<Choice> choices;
    QString fallbackText; ///< Choice: the default's name
    QString shownDefault;
};

/// The parser of one subcommand: -h/--help, optionally --format and --output, and the options the
/// command declares, read as checked values. A refused value is remembered (usageError()) so that a
/// command can read all its options and report the first problem once.
class CommandParser
{
public:
    /// `command` is the subcommand's name, empty for the program itself; `arguments` completes the
    /// usage line; `details` (e.g. what the output columns mean) closes the help text.
    CommandParser(const QString &command, const QString &arguments, const QString &summary, const QString &details);

    [[nodiscard]] QCommandLineParser &parser() { return m_parser; }
    void addOptions(const QList<Option> &options);
    /// --format table|csv|tsv|json (and `extraFormats`) and -o/--output FILE.
    void addOutputOptions(const QList<Option::Choice> &extraFormats = {});
    /// --ms-level 1|2|all, --scan N,..., --rt START:END, --peak-picking auto|always|never and --profile.
    void addSelectionOptions();

    /// Parses `args` (without the program and command names). Returns the exit status when the
    /// command is done already: help printed, or bad usage reported.
    std::optional<int> parse(const QStringList &args, qsizetype minPositional, qsizetype maxPositional);
    [[nodiscard]] QStringList positionalArguments() const;
    [[nodiscard]] bool isSet(const QString &name) const { return m_parser.isSet(name); }

    /// The declared option's value, or its declared default when it is not given or refused.
    int integer(const QString &name);
    double number(const QString &name);
    MassTolerance tolerance(const QString &name);
    /// START:END, in minutes for a TimeRange.
    Range range(const QString &name);
    QList<qint64> scanList(const QString &name);
    /// The chosen name as the declaration spells it, whatever case the user typed.
    QString choice(const QString &name);
    [[nodiscard]] QString text(const QString &name) const;
    /// Every value of an option given more than once, trimmed.
    [[nodiscard]] QStringList texts(const QString &name) const;
    TableWriter::Format format();
    /// The spectra the selection options pick: MS1 unless --ms-level says otherwise.
    SpectrumSelection selection();
    [[nodiscard]] QString outputPath() const;

    /// Refuses any output (-o and each of `otherOutputs`, option name and path) that names one of
    /// the `inputs` ("-" is standard input) or another output: writing it would destroy what is read.
    void refuseOutputsOverInputs(const QStringList &inputs,
                                 const QList<std::pair<QString, QString>> &otherOutputs = {});

    /// Records a usage problem found by the command itself, unless an earlier one is recorded.
    void refuse(const QString &message);
    /// The first refused value's message, empty while every value was accepted.
    [[nodiscard]] const QString &usageError() const noexcept { return m_usageError; }
    [[nodiscard]] QString helpText() const;

private:
    /// The declaration of `name`, which must be of `kind` (PlainRange takes both ranges).
    [[nodiscard]] const Option &declared(const QString &name, Option::Kind kind) const;
    [[nodiscard]] bool isDeclared(const QString &name) const;
    /// The value that `parse(what, text)` makes of the option, or `fallback` when it is not given
    /// or refused; `what` is the option as typed ("--name").
    template <typename T, typename Parse> T value(const QString &name, T fallback, Parse parse)
    {
        if (!m_parser.isSet(name)) {
            return fallback;
        }
        const Result<T> parsed = parse(QStringLiteral("--") + name, m_parser.value(name).trimmed());
        if (parsed.hasError()) {
            refuse(parsed.error().errorString());
            return fallback;
        }
        return parsed.value();
    }

    QCommandLineParser m_parser;
    QList<Option> m_options;
    QString m_command;
    QString m_arguments;
    QString m_summary;
    QString m_details;
    QString m_usageError;
};

} // namespace zeq::cli
