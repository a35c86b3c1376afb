#include "CommandLine.h"

#include "zeq_common_stable/AtomicFileWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace zeq::cli
{

namespace
{

/// Whether writing the regular file `output` would replace `input`: the same file by its canonical
/// path, or by device and inode (a hard link). A path that does not exist yet names no input.
bool isSameFile(const QString &output, const QString &input)
{
    const QFileInfo out(output);
    if (!out.exists() || !out.isFile()) {
        return false;
    }
    if (out.canonicalFilePath() == QFileInfo(input).canonicalFilePath()) {
        return true;
    }
    struct stat outStat = {};
    struct stat inStat = {};
    return ::stat(QFile::encodeName(output).constData(), &outStat) == 0
        && ::stat(QFile::encodeName(input).constData(), &inStat) == 0 && outStat.st_dev == inStat.st_dev
        && outStat.st_ino == inStat.st_ino;
}

} // namespace

int fail(ExitCode code, const QString &message)
{
    // One line, whatever the message holds: an Error joins its messages with line breaks.
    QString line = message;
    line.replace(u'\n', QStringLiteral("; "));
    // Texts quoted from files (a catalogue cell, a header) must not reach the terminal as escapes.
    line = visibleText(line);
    std::fprintf(stderr, "zeq: %s\n", line.toUtf8().constData());
    return code;
}

ResultStream::ResultStream(const QString &path)
    : m_path(path)
{
}

ResultStream::~ResultStream() = default;

bool ResultStream::write(QByteArrayView bytes)
{
    if (!m_failure.isEmpty()) {
        return false;
    }
    // Opened at the first bytes: an input that fails before any output leaves the file untouched.
    if (!m_opened) {
        m_opened = true;
        if (m_path.isEmpty()) {
            if (!m_stdout.open(
                    STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle)) {
                m_failure = QStringLiteral("Can't write standard output: %1").arg(m_stdout.errorString());
            }
        } else {
            m_file = std::make_unique<AtomicFileWriter>(m_path);
            if (const Error err = m_file->open(); err.hasError()) {
                m_failure = err.errorString();
            }
        }
        if (!m_failure.isEmpty()) {
            return false;
        }
    }
    if (m_file) {
        if (const Error err = m_file->write(bytes.data(), bytes.size()); err.hasError()) {
            m_failure = err.errorString();
        }
    } else if (m_stdout.write(bytes.data(), bytes.size()) != bytes.size()) {
        m_failure = QStringLiteral("Can't write standard output: %1").arg(m_stdout.errorString());
    }
    return m_failure.isEmpty();
}

void ResultStream::failWith(const QString &message)
{
    if (m_failure.isEmpty()) {
        m_failure = message;
    }
}

int ResultStream::finish()
{
    if (!m_opened) {
        write({});
    }
    if (m_failure.isEmpty() && m_file) {
        if (const Error err = m_file->commit(); err.hasError()) {
            m_failure = err.errorString();
        }
    }
    return m_failure.isEmpty() ? kExitSuccess : fail(kExitBadInput, m_failure);
}

int writeResult(const QString &path, const QByteArray &bytes)
{
    // A file is replaced only once every byte is on disk: a full disk leaves the old one whole.
    // FIFOs, devices and links are handled by the writer.
    ResultStream out(path);
    out.write(bytes);
    return out.finish();
}

Option Option::flag(const QString &name, const QString &help)
{
    Option option;
    option.name = name;
    option.help = help;
    return option;
}

Option Option::text(const QString &name, const QString &valueName, const QString &help, const QString &shownDefault)
{
    Option option = flag(name, help);
    option.kind = Text;
    option.valueName = valueName;
    option.shownDefault = shownDefault;
    return option;
}

Option Option::integer(const QString &name,
                       const QString &valueName,
                       const QString &help,
                       int lowest,
                       int highest,
                       int fallback)
{
    Option option = text(name, valueName, help, QString());
    option.kind = Integer;
    // No upper bound but the type's is shown as none.
    option.bounds = { double(lowest),
                      highest == std::numeric_limits<int>::max() ? std::numeric_limits<double>::infinity()
                                                                 : double(highest) };
    option.fallback = fallback;
    return option;
}

Option Option::number(const QString &name,
                      const QString &valueName,
                      const QString &help,
                      const NumberRange &range,
                      double fallback)
{
    Option option = text(name, valueName, help, QString());
    option.kind = Number;
    option.bounds = range;
    option.fallback = fallback;
    return option;
}

Option Option::tolerance(const QString &name, const QString &help, const MassTolerance &fallback)
{
    Option option = text(name, QStringLiteral("tolerance"), help, QString());
    option.kind = Tolerance;
    option.fallbackTolerance = fallback;
    return option;
}

Option Option::range(Kind kind, const QString &name, const QString &help, const QString &shownDefault)
{
    Q_ASSERT(kind == PlainRange || kind == TimeRange);
    Option option = text(name, QStringLiteral("START:END"), help, shownDefault);
    option.kind = kind;
    return option;
}

Option Option::scanList(const QString &name, const QString &help)
{
    Option option = text(name, QStringLiteral("N[,N...]"), help, QString());
    option.kind = ScanList;
    return option;
}

Option Option::choice(const QString &name,
                      const QString &valueName,
                      const QString &help,
                      const QList<Choice> &choices,
                      const QString &fallback)
{
    Option option = text(name, valueName, help, QString());
    option.kind = OneOf;
    option.choices = choices;
    option.fallbackText = fallback;
    return option;
}

Option &Option::withUnit(const QString &text)
{
    unit = text;
    return *this;
}

Option &Option::withShownDefault(const QString &text)
{
    shownDefault = text;
    return *this;
}

Option &Option::withShortName(const QString &letter)
{
    shortName = letter;
    return *this;
}

QString Option::description() const
{
    const QString unitSuffix = unit.isEmpty() ? QString() : u' ' + unit;
    QString text = help;
    QString defaultText = shownDefault;
    switch (kind) {
    case Integer:
    case Number: {
        QString allowed = describeRange(bounds);
        if (!allowed.isEmpty()) {
            allowed[0] = allowed[0].toUpper();
            text += QStringLiteral(" %1%2.").arg(allowed, unitSuffix);
        }
        if (defaultText.isEmpty()) {
            defaultText = std::isinf(fallback) ? QStringLiteral("no limit") : formatNumber(fallback) + unitSuffix;
        }
        break;
    }
    case Tolerance:
        text += QStringLiteral(" A number with its unit, ppm or Da.");
        if (defaultText.isEmpty()) {
            defaultText = toleranceText(fallbackTolerance);
        }
        break;
    case OneOf: {
        QStringList names;
        for (const Choice &choice : choices) {
            names.append(choice.meaning.isEmpty() ? choice.name
                                                  : QStringLiteral("%1 (%2)").arg(choice.name, choice.meaning));
        }
        text += QStringLiteral(" One of: %1.").arg(names.join(QStringLiteral(", ")));
        if (defaultText.isEmpty()) {
            defaultText = fallbackText;
        }
        break;
    }
    case Flag:
    case Text:
    case PlainRange:
    case TimeRange:
    case ScanList:
        break;
    }
    return defaultText.isEmpty() ? text : QStringLiteral("%1 Default: %2.").arg(text, defaultText);
}

CommandParser::CommandParser(const QString &command,
                             const QString &arguments,
                             const QString &summary,
                             const QString &details)
    : m_command(command.isEmpty() ? QStringLiteral("zeq") : QStringLiteral("zeq ") + command)
    , m_arguments(arguments)
    , m_summary(summary)
    , m_details(details)
{
    addOptions({ Option::flag(QStringLiteral("help"), QStringLiteral("Show this help and exit."))
                     .withShortName(QStringLiteral("h")) });
}

void CommandParser::addOptions(const QList<Option> &options)
{
    for (const Option &option : options) {
        Q_ASSERT(!option.name.isEmpty() && !isDeclared(option.name));
        QStringList names{ option.name };
        if (!option.shortName.isEmpty()) {
            names.prepend(option.shortName);
        }
        m_parser.addOption(QCommandLineOption(names, option.description(), option.valueName));
        m_options.append(option);
    }
}

void CommandParser::addOutputOptions(const QList<Option::Choice> &extraFormats)
{
    const QList<Option::Choice> formats =
        QList<Option::Choice>{ { QStringLiteral("table"), QStringLiteral("aligned columns") },
                               { QStringLiteral("csv"), QString() },
                               { QStringLiteral("tsv"), QString() },
                               { QStringLiteral("json"), QStringLiteral("an array of objects") } }
        + extraFormats;
    addOptions({
        Option::choice(QStringLiteral("format"),
                       QStringLiteral("format"),
                       QStringLiteral("Output format."),
                       formats,
                       QStringLiteral("table")),
        Option::text(QStringLiteral("output"),
                     QStringLiteral("FILE"),
                     QStringLiteral("Write the result to FILE instead of standard output; FILE is replaced only once "
                                    "everything is written, and may not be an input."),
                     QString())
            .withShortName(QStringLiteral("o")),
    });
}

void CommandParser::addSelectionOptions()
{
    addOptions({
        Option::choice(QStringLiteral("ms-level"),
                       QStringLiteral("level"),
                       QStringLiteral("Spectra of this level."),
                       { { QStringLiteral("1"), QString() },
                         { QStringLiteral("2"), QString() },
                         { QStringLiteral("all"), QString() } },
                       QStringLiteral("1")),
        Option::scanList(QStringLiteral("scan"), QStringLiteral("Only these scan numbers, e.g. 12,15.")),
        Option::range(Option::TimeRange,
                      QStringLiteral("rt"),
                      QStringLiteral("Only spectra with a retention time in this range, in minutes, or with a unit on "
                                     "either side: 10:12, 10m:12m, 600s:720s; either side may be empty."),
                      QStringLiteral("any time")),
        Option::choice(QStringLiteral("peak-picking"),
                       QStringLiteral("when"),
                       QStringLiteral("Centroid spectra as they are read: the reader library's local-maximum peak "
                                      "detector (a peak tops the two points either side of it), each apex refined "
                                      "by a parabola through the logarithms of its top three points, and, when the "
                                      "profile has a noise floor rather than a zero baseline, peaks below 4 times "
                                      "the median of its positive intensities dropped. Profile spectra are those "
                                      "their file marks so (mzML \"profile spectrum\", mzXML centroided=\"0\"), "
                                      "and MGF files and peak lists with --profile."),
                       { { QStringLiteral("auto"), QStringLiteral("profile spectra only") },
                         { QStringLiteral("always"), QStringLiteral("every spectrum") },
                         { QStringLiteral("never"), QStringLiteral("none: profile points are used as they are") } },
                       QStringLiteral("auto")),
        Option::flag(QStringLiteral("profile"),
                     QStringLiteral("The points of MGF files and two-column peak lists, which cannot say, sample "
                                    "profiles; without it they are taken as centroids.")),
    });
}

std::optional<int> CommandParser::parse(const QStringList &args, qsizetype minPositional, qsizetype maxPositional)
{
    // QCommandLineParser reads "-5" as the short options 5; a leading blank keeps a negative number
    // an argument, and every reader of values trims it.
    static const QRegularExpression negativeNumber(QStringLiteral(R"(^-[0-9.])"));
    QStringList protectedArgs{ QStringLiteral("zeq") };
    for (const QString &arg : args) {
        protectedArgs.append(negativeNumber.match(arg).hasMatch() ? u' ' + arg : arg);
    }
    if (!m_parser.parse(protectedArgs)) {
        QString reason = m_parser.errorText();
        if (reason.endsWith(u'.')) {
            reason.chop(1);
        }
        return fail(kExitBadUsage, QStringLiteral("%1; see %2 --help").arg(reason, m_command));
    }
    if (m_parser.isSet(QStringLiteral("help"))) {
        return writeResult(QString(), helpText().toUtf8());
    }
    const qsizetype count = m_parser.positionalArguments().size();
    if (count < minPositional || count > maxPositional) {
        return fail(
            kExitBadUsage,
            QStringLiteral("wrong number of arguments (%1); usage: %2 %3").arg(count).arg(m_command, m_arguments));
    }
    return std::nullopt;
}

QStringList CommandParser::positionalArguments() const
{
    QStringList args = m_parser.positionalArguments();
    for (QString &arg : args) {
        arg = arg.trimmed();
    }
    return args;
}

const Option &CommandParser::declared(const QString &name, Option::Kind kind) const
{
    for (const Option &option : m_options) {
        if (option.name == name) {
            // Both kinds of range read through range().
            Q_ASSERT(option.kind == kind || (kind == Option::PlainRange && option.kind == Option::TimeRange));
            return option;
        }
    }
    Q_ASSERT_X(false, "CommandParser::declared", "an option is read that was never declared");
    static const Option undeclared = Option();
    return undeclared;
}

bool CommandParser::isDeclared(const QString &name) const
{
    return std::any_of(
        m_options.cbegin(), m_options.cend(), [&name](const Option &option) { return option.name == name; });
}

void CommandParser::refuse(const QString &message)
{
    if (m_usageError.isEmpty()) {
        m_usageError = message;
    }
}

int CommandParser::integer(const QString &name)
{
    const Option &option = declared(name, Option::Integer);
    return value(name, static_cast<int>(option.fallback), [&option](const QString &what, const QString &text) {
        const int highest = std::isinf(option.bounds.highest) ? std::numeric_limits<int>::max()
                                                              : static_cast<int>(option.bounds.highest);
        return parseInteger(what, text, static_cast<int>(option.bounds.lowest), highest);
    });
}

double CommandParser::number(const QString &name)
{
    const Option &option = declared(name, Option::Number);
    return value(name, option.fallback, [&option](const QString &what, const QString &text) {
        return parseNumber(what, text, option.bounds);
    });
}

MassTolerance CommandParser::tolerance(const QString &name)
{
    return value(
        name, declared(name, Option::Tolerance).fallbackTolerance, [](const QString &what, const QString &text) {
            const Result<MassTolerance> tolerance = parseTolerance(text);
            if (tolerance.hasError()) {
                // The option's name tells which of a command's tolerances was refused.
                Error err(kBadParameterError, QStringLiteral("%1: %2").arg(what, tolerance.error().errorString()));
                return Result<MassTolerance>(ZEQ_ECATCH(err));
            }
            return tolerance;
        });
}

Range CommandParser::range(const QString &name)
{
    const bool times = declared(name, Option::PlainRange).kind == Option::TimeRange;
    return value(name, Range(), times ? parseTimeRange : parseRange);
}

QList<qint64> CommandParser::scanList(const QString &name)
{
    (void)declared(name, Option::ScanList);
    return value(name, QList<qint64>(), parseScanList);
}

QString CommandParser::choice(const QString &name)
{
    const Option &option = declared(name, Option::OneOf);
    return value(name, option.fallbackText, [&option](const QString &what, const QString &text) {
        QStringList names;
        for (const Option::Choice &choice : option.choices) {
            if (choice.name.compare(text, Qt::CaseInsensitive) == 0) {
                return Result<QString>(choice.name);
            }
            names.append(choice.name);
        }
        const QString last = names.takeLast();
        Error err(kBadParameterError,
                  QStringLiteral("%1 must be %2 or %3, got \"%4\"")
                      .arg(what, names.join(QStringLiteral(", ")), last, elide(text)));
        return Result<QString>(ZEQ_ECATCH(err));
    });
}

// Texts stay as typed: a path or a decoy prefix may begin or end with a blank.
QString CommandParser::text(const QString &name) const
{
    return m_parser.value(name);
}

QStringList CommandParser::texts(const QString &name) const
{
    return m_parser.values(name);
}

TableWriter::Format CommandParser::format()
{
    const QString name = choice(QStringLiteral("format"));
    const Result<TableWriter::Format> format = TableWriter::formatFromName(name);
    return format.hasValue() ? format.value() : TableWriter::Table;
}

SpectrumSelection CommandParser::selection()
{
    SpectrumSelection selection;
    const QString level = choice(QStringLiteral("ms-level"));
    selection.msLevel = level == u"all" ? 0 : level.toInt();
    selection.scans = scanList(QStringLiteral("scan"));
    const Range rt = range(QStringLiteral("rt"));
    selection.rtStart = rt.start;
    selection.rtEnd = rt.end;
    const QString picking = choice(QStringLiteral("peak-picking"));
    selection.peakPicking = picking == u"always" ? PeakPicking::Always
        : picking == u"never"                    ? PeakPicking::Never
                                                 : PeakPicking::Auto;
    selection.listsAreProfile = isSet(QStringLiteral("profile"));
    return selection;
}

QString CommandParser::outputPath() const
{
    return text(QStringLiteral("output"));
}

void CommandParser::refuseOutputsOverInputs(const QStringList &inputs,
                                            const QList<std::pair<QString, QString>> &otherOutputs)
{
    QList<std::pair<QString, QString>> outputs = otherOutputs;
    if (isDeclared(QStringLiteral("output")) && !outputPath().isEmpty()) {
        outputs.prepend({ QStringLiteral("-o"), outputPath() });
    }
    outputs.removeIf([](const std::pair<QString, QString> &output) { return output.second.isEmpty(); });
    for (qsizetype i = 0; i < outputs.size(); ++i) {
        const auto &[option, path] = outputs.at(i);
        for (const QString &input : inputs) {
            if (input != u"-" && isSameFile(path, input)) {
                refuse(QStringLiteral("%1 %2 would overwrite the input %3").arg(option, elide(path), elide(input)));
            }
        }
        for (qsizetype j = 0; j < i; ++j) {
            if (isSameFile(path, outputs.at(j).second)
                || QFileInfo(path).absoluteFilePath() == QFileInfo(outputs.at(j).second).absoluteFilePath()) {
                refuse(QStringLiteral("%1 and %2 name the same file %3").arg(outputs.at(j).first, option, elide(path)));
            }
        }
    }
}

QString CommandParser::helpText() const
{
    // Qt's own usage line names the program as it was started; ours names the command.
    const QString qtHelp = m_parser.helpText();
    const qsizetype options = qtHelp.indexOf(QStringLiteral("Options:"));
    return QStringLiteral("Usage: %1 %2\n%3\n\n%4%5")
        .arg(m_command, m_arguments, m_summary, options < 0 ? QString() : qtHelp.mid(options), m_details);
}

} // namespace zeq::cli
