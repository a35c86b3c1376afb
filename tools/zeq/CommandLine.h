#pragma once

#include "SpectrumSource.h"
#include "TableWriter.h"
#include "math/MassTolerance.h"
#include "utils/Result.h"

#include <QByteArray>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <limits>
#include <optional>

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

/// Writes `bytes` to standard output (empty path) or to `path` through AtomicFileWriter: a file is
/// replaced once all of them are written, a FIFO or device written directly. Returns kExitSuccess, or reports the
/// failure and returns kExitBadInput.
int writeResult(const QString &path, const QByteArray &bytes);

/// `text` fit for a one-line message: control characters shown as '?', and cut after `width`
/// characters with an ellipsis when longer.
QString elide(const QString &text, qsizetype width = 80);

/// Bounds of a number typed by a person; an open bound excludes its own value.
struct NumberRange {
    double lowest = -std::numeric_limits<double>::infinity();
    double highest = std::numeric_limits<double>::infinity();
    bool lowestOpen = false;
    bool highestOpen = false;
};

/// `text` as a finite number within `range`. The error names `what` and quotes the text.
Result<double> parseNumber(const QString &what, const QString &text, const NumberRange &range = {});
/// `text` as a whole number from `lowest` to `highest`; "1e2" and "3.0" are whole, "2.7" is not.
Result<int> parseInteger(const QString &what, const QString &text, int lowest, int highest);
/// A tolerance with its unit, any case: "10ppm", "0.5Da", "0.02 Dalton". Above 0 and below one
/// million in either unit: at 1e6 ppm a window has no upper bound, and 1e6 Da exceeds any molecule
/// the isotope model knows.
Result<MassTolerance> parseTolerance(const QString &text);

/// An interval of a number typed as "START:END"; either side may be left empty for an open bound.
struct Range {
    double start = -std::numeric_limits<double>::infinity();
    double end = std::numeric_limits<double>::infinity();
};

/// `text` as START:END with START not above END. The error names `what` and quotes the text.
Result<Range> parseRange(const QString &what, const QString &text);
/// `text` as a comma-separated list of scan numbers, each at least 1.
Result<QList<int>> parseScanList(const QString &what, const QString &text);

/// The parser of one subcommand: -h/--help, optionally --format and --output, and option values
/// read as checked numbers. A refused value is remembered (usageError()) so that a command can read
/// all its options and report the first problem once.
class CommandParser
{
public:
    /// `command` is the subcommand's name, empty for the program itself; `arguments` completes the
    /// usage line; `details` (e.g. what the output columns mean) closes the help text.
    CommandParser(const QString &command, const QString &arguments, const QString &summary, const QString &details);

    [[nodiscard]] QCommandLineParser &parser() { return m_parser; }
    /// --format table|csv|tsv|json and -o/--output FILE.
    void addOutputOptions();
    /// --ms-level 1|2|all, --scan N,... and --rt START:END.
    void addSelectionOptions();

    /// Parses `args` (without the program and command names). Returns the exit status when the
    /// command is done already: help printed, or bad usage reported.
    std::optional<int> parse(const QStringList &args, qsizetype minPositional, qsizetype maxPositional);
    [[nodiscard]] QStringList positionalArguments() const;
    [[nodiscard]] bool isSet(const QString &name) const { return m_parser.isSet(name); }

    /// The option's value, or `fallback` when it is not given or refused. `parse(what, text)`
    /// returns a Result<T>; `what` is the option as typed ("--name").
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
    double number(const QString &name, const NumberRange &range, double fallback);
    int integer(const QString &name, int lowest, int highest, int fallback);
    TableWriter::Format format();
    /// START:END, open on both sides when not given or refused.
    Range range(const QString &name);
    QList<int> scanList(const QString &name);
    MassTolerance tolerance(const QString &name, const MassTolerance &fallback);
    /// The spectra the selection options pick: MS1 unless --ms-level says otherwise.
    SpectrumSelection selection();
    [[nodiscard]] QString outputPath() const;

    /// Records a usage problem found by the command itself, unless an earlier one is recorded.
    void refuse(const QString &message);
    /// The first refused value's message, empty while every value was accepted.
    [[nodiscard]] const QString &usageError() const noexcept { return m_usageError; }
    [[nodiscard]] QString helpText() const;

private:
    QCommandLineParser m_parser;
    QString m_command;
    QString m_arguments;
    QString m_summary;
    QString m_details;
    QString m_usageError;
};

} // namespace zeq::cli
