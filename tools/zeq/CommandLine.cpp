#include "CommandLine.h"

#include "zeq_common_stable/AtomicFileWriter.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace zeq::cli
{

namespace
{

// Range bounds are the program's own round numbers: "1000000" reads better than "1e+06".
QString shortest(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString describe(const NumberRange &range)
{
    const bool hasLowest = std::isfinite(range.lowest);
    const bool hasHighest = std::isfinite(range.highest);
    if (hasLowest && hasHighest && !range.lowestOpen && !range.highestOpen) {
        return QStringLiteral("from %1 to %2").arg(shortest(range.lowest), shortest(range.highest));
    }
    QStringList parts;
    if (hasLowest) {
        parts.append((range.lowestOpen ? QStringLiteral("above %1") : QStringLiteral("at least %1"))
                         .arg(shortest(range.lowest)));
    }
    if (hasHighest) {
        parts.append((range.highestOpen ? QStringLiteral("below %1") : QStringLiteral("at most %1"))
                         .arg(shortest(range.highest)));
    }
    return parts.join(QStringLiteral(" and "));
}

bool contains(const NumberRange &range, double value)
{
    const bool aboveLowest = range.lowestOpen ? value > range.lowest : value >= range.lowest;
    const bool belowHighest = range.highestOpen ? value < range.highest : value <= range.highest;
    return aboveLowest && belowHighest;
}

Error usage(const QString &message)
{
    return Error(kBadParameterError, message);
}

} // namespace

int fail(ExitCode code, const QString &message)
{
    // One line, whatever the message holds: an Error joins its messages with line breaks.
    QString line = message;
    line.replace(u'\n', QStringLiteral("; "));
    std::fprintf(stderr, "zeq: %s\n", line.toUtf8().constData());
    return code;
}

int writeResult(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty()) {
        QFile out;
        const bool written = out.open(STDOUT_FILENO, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)
            && out.write(bytes) == bytes.size() && out.flush();
        return written ? kExitSuccess
                       : fail(kExitBadInput, QStringLiteral("Can't write standard output: %1").arg(out.errorString()));
    }
    // A file is replaced only once every byte is on disk: a full disk leaves the old one whole.
    // FIFOs, devices and links are handled by the writer.
    AtomicFileWriter out(path);
    Error err = out.open();
    if (!err.hasError()) {
        err = out.write(bytes);
    }
    if (!err.hasError()) {
        err = out.commit();
    }
    return err.hasError() ? fail(kExitBadInput, err.errorString()) : kExitSuccess;
}

QString elide(const QString &text, qsizetype width)
{
    QString shown = text.size() > width ? text.first(width) : text;
    // Binary junk must not move the terminal's cursor or change its colours.
    for (QChar &c : shown) {
        if (c.category() == QChar::Other_Control) {
            c = u'?';
        }
    }
    return text.size() > width ? shown + QStringLiteral("…") : shown;
}

Result<double> parseNumber(const QString &what, const QString &text, const NumberRange &range)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    const QString shown = elide(text.trimmed());
    Error err;
    if (!ok && !std::isinf(value)) {
        err = usage(QStringLiteral("%1 needs a number, got \"%2\"").arg(what, shown));
    } else if (!ok || !std::isfinite(value)) {
        err = usage(QStringLiteral("%1 must be a finite number, got \"%2\"").arg(what, shown));
    } else if (!contains(range, value)) {
        err = usage(QStringLiteral("%1 must be %2, got \"%3\"").arg(what, describe(range), shown));
    } else {
        return value;
    }
    return ZEQ_ECATCH(err);
}

Result<int> parseInteger(const QString &what, const QString &text, int lowest, int highest)
{
    const Result<double> number = parseNumber(what, text, { double(lowest), double(highest) });
    if (number.hasError()) {
        Error err = number.error();
        return ZEQ_ECATCH(err);
    }
    // The range check came first, so the conversion below cannot overflow.
    if (std::floor(number.value()) != number.value()) {
        Error err = usage(QStringLiteral("%1 needs a whole number, got \"%2\"").arg(what, elide(text.trimmed())));
        return ZEQ_ECATCH(err);
    }
    return static_cast<int>(number.value());
}

Result<MassTolerance> parseTolerance(const QString &text)
{
    static const QRegularExpression withUnit(QStringLiteral(R"(^\s*(.*?)\s*(ppm|dalton|da)\s*$)"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = withUnit.match(text);
    if (!match.hasMatch()) {
        bool isNumber = false;
        (void)text.toDouble(&isNumber);
        Error err = usage(
            isNumber
                ? QStringLiteral("tolerance \"%1\" has no unit: write %1ppm or %1Da").arg(elide(text.trimmed()))
                : QStringLiteral("not a tolerance: \"%1\" (expected e.g. 10ppm or 0.5Da)").arg(elide(text.trimmed())));
        return ZEQ_ECATCH(err);
    }
    const Result<double> value = parseNumber(
        QStringLiteral("tolerance"), match.captured(1), { 0.0, 1e6, /*lowestOpen*/ true, /*highestOpen*/ true });
    if (value.hasError()) {
        Error err = value.error();
        return ZEQ_ECATCH(err);
    }
    const bool isPpm = match.captured(2).compare(u"ppm", Qt::CaseInsensitive) == 0;
    return MassTolerance(isPpm ? MassTolerance::ppm : MassTolerance::Dalton, value.value());
}

Result<Range> parseRange(const QString &what, const QString &text)
{
    const QStringList parts = text.split(u':');
    if (parts.size() != 2) {
        Error err = usage(QStringLiteral("%1 needs START:END, got \"%2\"").arg(what, elide(text)));
        return ZEQ_ECATCH(err);
    }
    Range range;
    for (int i = 0; i < 2; ++i) {
        if (parts.at(i).trimmed().isEmpty()) {
            continue;
        }
        const Result<double> bound = parseNumber(what, parts.at(i).trimmed());
        if (bound.hasError()) {
            Error err = bound.error();
            return ZEQ_ECATCH(err);
        }
        (i == 0 ? range.start : range.end) = bound.value();
    }
    if (range.start > range.end) {
        Error err = usage(
            QStringLiteral("%1 starts at %2, after its end %3").arg(what, shortest(range.start), shortest(range.end)));
        return ZEQ_ECATCH(err);
    }
    return range;
}

Result<QList<int>> parseScanList(const QString &what, const QString &text)
{
    QList<int> scans;
    for (const QString &part : text.split(u',')) {
        const Result<int> scan = parseInteger(what, part.trimmed(), 1, std::numeric_limits<int>::max());
        if (scan.hasError()) {
            Error err = scan.error();
            return ZEQ_ECATCH(err);
        }
        scans.append(scan.value());
    }
    return scans;
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
    m_parser.addOption(QCommandLineOption(QStringList{ QStringLiteral("h"), QStringLiteral("help") },
                                          QStringLiteral("Show this help and exit.")));
}

void CommandParser::addOutputOptions()
{
    m_parser.addOptions({
        { QStringLiteral("format"),
          QStringLiteral("Output format: table (aligned columns), csv, tsv or json (an array of objects). "
                         "Default: table."),
          QStringLiteral("format") },
        { QStringList{ QStringLiteral("o"), QStringLiteral("output") },
          QStringLiteral("Write the result to FILE instead of standard output; FILE is replaced only once "
                         "everything is written."),
          QStringLiteral("FILE") },
    });
}

void CommandParser::addSelectionOptions()
{
    m_parser.addOptions({
        { QStringLiteral("ms-level"),
          QStringLiteral("Spectra of this level: 1, 2 or all. Default: 1."),
          QStringLiteral("level") },
        { QStringLiteral("scan"), QStringLiteral("Only these scan numbers, e.g. 12,15."), QStringLiteral("N[,N...]") },
        { QStringLiteral("rt"),
          QStringLiteral("Only spectra with a retention time in this range, minutes; either side may be empty."),
          QStringLiteral("START:END") },
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

void CommandParser::refuse(const QString &message)
{
    if (m_usageError.isEmpty()) {
        m_usageError = message;
    }
}

double CommandParser::number(const QString &name, const NumberRange &range, double fallback)
{
    return value(
        name, fallback, [&](const QString &what, const QString &text) { return parseNumber(what, text, range); });
}

int CommandParser::integer(const QString &name, int lowest, int highest, int fallback)
{
    return value(name, fallback, [&](const QString &what, const QString &text) {
        return parseInteger(what, text, lowest, highest);
    });
}

TableWriter::Format CommandParser::format()
{
    return value(QStringLiteral("format"), TableWriter::Table, [](const QString &, const QString &text) {
        return TableWriter::formatFromName(text);
    });
}

Range CommandParser::range(const QString &name)
{
    return value(name, Range(), parseRange);
}

QList<int> CommandParser::scanList(const QString &name)
{
    return value(name, QList<int>(), parseScanList);
}

MassTolerance CommandParser::tolerance(const QString &name, const MassTolerance &fallback)
{
    return value(name, fallback, [](const QString &, const QString &text) { return parseTolerance(text); });
}

SpectrumSelection CommandParser::selection()
{
    SpectrumSelection selection;
    selection.msLevel = value(QStringLiteral("ms-level"), 1, [](const QString &what, const QString &text) {
        const QString level = text.toLower();
        if (level == u"1" || level == u"2" || level == u"all") {
            return Result<int>(level == u"all" ? 0 : level.toInt());
        }
        Error err = usage(QStringLiteral("%1 must be 1, 2 or all, got \"%2\"").arg(what, elide(text)));
        return Result<int>(ZEQ_ECATCH(err));
    });
    selection.scans = scanList(QStringLiteral("scan"));
    const Range rt = range(QStringLiteral("rt"));
    selection.rtStart = rt.start;
    selection.rtEnd = rt.end;
    return selection;
}

QString CommandParser::outputPath() const
{
    return m_parser.value(QStringLiteral("output")).trimmed();
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
