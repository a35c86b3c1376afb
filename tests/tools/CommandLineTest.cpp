#include "CommandLine.h"

#include "TableWriter.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace zeq::cli;

namespace
{

// The parsed value as text, or the refusal's message.
template <typename T> QString outcome(const zeq::Result<T> &result)
{
    if (result.hasError()) {
        return result.error().errorString();
    }
    if constexpr (std::is_same_v<T, zeq::MassTolerance>) {
        return QStringLiteral("%1 %2").arg(result.value().tolerance()).arg(result.value().unitToString());
    } else {
        return QString::number(result.value());
    }
}

} // namespace

TEST(CommandLineTest, NumbersAreFiniteAndWithinRange)
{
    const NumberRange percent{ 0.0, 100.0 };
    const NumberRange positiveBelowMillion{ 0.0, 1e6, true, true };
    const struct {
        const char *text;
        NumberRange range;
        const char *expected;
    } rows[] = {
        { " -5.5 ", {}, "-5.5" },
        { "1e2", percent, "100" },
        { "-5", percent, "x must be from 0 to 100, got \"-5\"" },
        { "0", positiveBelowMillion, "x must be above 0 and below 1000000, got \"0\"" },
        { "nan", {}, "x must be a finite number, got \"nan\"" },
        { "1,5", {}, "x needs a number, got \"1,5\"" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(outcome(parseNumber(u"x"_qs, QString::fromUtf8(row.text), row.range)),
                  QString::fromUtf8(row.expected));
    }
}

TEST(CommandLineTest, IntegersAreWholeAndWithinRange)
{
    const struct {
        const char *text;
        const char *expected;
    } rows[] = {
        { "35", "35" },
        { "501", "z must be from 1 to 500, got \"501\"" },
        { "1e20", "z must be from 1 to 500, got \"1e20\"" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(outcome(parseInteger(u"z"_qs, QString::fromUtf8(row.text), 1, 500)), QString::fromUtf8(row.expected));
    }
}

TEST(CommandLineTest, TolerancesNeedAUnitAndASaneValue)
{
    const struct {
        const char *text;
        const char *expected;
    } rows[] = {
        { "10ppm", "10 ppm" },
        { "10", "tolerance \"10\" has no unit: write 10ppm or 10Da" },
        { "10 mmu", "not a tolerance: \"10 mmu\" (expected e.g. 10ppm or 0.5Da)" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(outcome(parseTolerance(QString::fromUtf8(row.text))), QString::fromUtf8(row.expected));
    }
}

TEST(CommandLineTest, TimeRangesTakeSecondsOrMinutes)
{
    const struct {
        const char *text;
        const char *expected;
    } rows[] = {
        { "10:12", "10 12" },
        { "10m:12 min", "10 12" },
        { "600s:720S", "10 12" },
        { "600s:12", "10 12" },
        { ":1e2s", "-inf 1.6666666666666667" },
        { "10h:12", "--rt: unknown time unit \"h\" in \"10h\"; use s or m (minutes)" },
        { "12m:600s", "--rt starts at 12, after its end 10" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        const zeq::Result<Range> range = parseTimeRange(u"--rt"_qs, QString::fromUtf8(row.text));
        EXPECT_EQ(range.hasError() ? range.error().errorString()
                                   : formatNumber(range.value().start) + u' ' + formatNumber(range.value().end),
                  QString::fromUtf8(row.expected));
    }
}

// Fault: scan numbers past 2^31 wrapped.
TEST(CommandLineTest, ScanListsTakeSixtyFourBitNumbers)
{
    const struct {
        const char *text;
        const char *expected;
    } rows[] = {
        { "1, 99999999999999", "1 99999999999999" },
        { "9223372036854775808",
          "--scan needs scan numbers from 1 to 9223372036854775807, got \"9223372036854775808\"" },
        { "2,0", "--scan needs scan numbers from 1 to 9223372036854775807, got \"0\"" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        const zeq::Result<QList<qint64>> scans = parseScanList(u"--scan"_qs, QString::fromUtf8(row.text));
        QStringList shown;
        for (const qint64 scan : scans.hasValue() ? scans.value() : QList<qint64>()) {
            shown.append(QString::number(scan));
        }
        EXPECT_EQ(scans.hasError() ? scans.error().errorString() : shown.join(u' '), QString::fromUtf8(row.expected));
    }
}

TEST(CommandLineTest, NumbersReadBackAndStayPlainWhereReadable)
{
    const struct {
        double value;
        const char *expected;
    } rows[] = {
        { 1e6, "1000000" },  { 0.1 + 0.2, "0.30000000000000004" },       { -1e-5, "-0.00001" }, { 1e-7, "1e-07" },
        { 1e300, "1e+300" }, { 123456789012345.6, "123456789012345.6" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.expected);
        EXPECT_EQ(formatNumber(row.value), QString::fromUtf8(row.expected));
        EXPECT_EQ(formatNumber(row.value).toDouble(), row.value);
    }
}

// The declaration alone gives the help line, the default and the range check, and they agree.
TEST(CommandLineTest, DeclaredOptionsGiveHelpDefaultsAndChecks)
{
    CommandParser cmd(u"test"_qs, u"A B"_qs, u"Tests."_qs, QString());
    cmd.addOptions(
        { Option::number(u"start"_qs, u"x"_qs, u"Start."_qs, {}, 0.0),
          Option::integer(u"count"_qs, u"n"_qs, u"How many."_qs, 1, 9, 7),
          Option::number(u"mass"_qs, u"Da"_qs, u"Mass."_qs, { 0.0 }, 5.0).withUnit(u"Da"_qs),
          Option::tolerance(u"tol"_qs, u"Tolerance."_qs, zeq::MassTolerance(zeq::MassTolerance::Dalton, 0.5)),
          Option::choice(u"kind"_qs, u"k"_qs, u"Kind."_qs, { { u"a"_qs, u"first"_qs }, { u"b"_qs, {} } }, u"a"_qs) });
    cmd.addOutputOptions({ { u"mzml"_qs, u"a spectrum"_qs } });
    const QString help = cmd.helpText().simplified();
    for (const char *line : { "How many. From 1 to 9. Default: 7.",
                              "Mass. At least 0 Da. Default: 5 Da.",
                              "Tolerance. A number with its unit, ppm or Da. Default: 0.5Da.",
                              "Kind. One of: a (first), b. Default: a.",
                              "json (an array of objects), mzml (a spectrum). Default: table." }) {
        EXPECT_TRUE(help.contains(QString::fromUtf8(line))) << line << "\n" << qPrintable(help);
    }

    ASSERT_EQ(cmd.parse({ u"-12"_qs, u"--start"_qs, u"-3.5"_qs, u"-.5"_qs, u"--kind"_qs, u"B"_qs }, 2, 2),
              std::nullopt);
    EXPECT_EQ(cmd.positionalArguments(), (QStringList{ u"-12"_qs, u"-.5"_qs }));
    EXPECT_EQ(cmd.number(u"start"_qs), -3.5);
    EXPECT_EQ(cmd.integer(u"count"_qs), 7);
    EXPECT_EQ(cmd.tolerance(u"tol"_qs).tolerance(), 0.5);
    EXPECT_EQ(cmd.choice(u"kind"_qs), u"b"_qs);
    EXPECT_TRUE(cmd.usageError().isEmpty());

    CommandParser refused(u"test"_qs, QString(), QString(), QString());
    refused.addOptions(
        { Option::integer(u"count"_qs, u"n"_qs, u"How many."_qs, 1, 9, 7),
          Option::tolerance(u"tol"_qs, u"Tolerance."_qs, zeq::MassTolerance(zeq::MassTolerance::ppm, 5.0)) });
    ASSERT_EQ(refused.parse({ u"--count"_qs, u"2.5"_qs, u"--tol"_qs, u"1"_qs }, 0, 0), std::nullopt);
    EXPECT_EQ(refused.integer(u"count"_qs), 7);
    EXPECT_EQ(refused.tolerance(u"tol"_qs).tolerance(), 5.0);
    EXPECT_EQ(refused.usageError(), u"--count needs a whole number, got \"2.5\""_qs);
}

TEST(CommandLineTest, OutputCutShortKeepsTheEarlierFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.csv"));
    ASSERT_EQ(writeResult(path, "earlier"), kExitSuccess);
    int status = kExitSuccess;
    {
        // Small enough to sit in a write buffer until the commit.
        const zeq::test::FileSizeLimit limit(4);
        ASSERT_TRUE(limit.active());
        status = writeResult(path, QByteArray(100, 'x'));
    }
    EXPECT_EQ(status, kExitBadInput);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "earlier");
}

TEST(CommandLineTest, TablesShowControlCharactersAndDataFormatsKeepThem)
{
    // An escape sequence from a FASTA header must not reach the terminal; a data format keeps it.
    const QStringList cells{ u"\x1b[31mred\x1b[0m, \"x\""_qs, u" lead"_qs };
    const struct {
        TableWriter::Format format;
        const char *expected;
    } rows[] = {
        { TableWriter::Table, "name               note\n?[31mred?[0m, \"x\"   lead\n" },
        { TableWriter::Csv, "name,note\n\"\x1b[31mred\x1b[0m, \"\"x\"\"\",\" lead\"\n" },
        { TableWriter::Tsv, "name\tnote\n\x1b[31mred\x1b[0m, \"x\"\t lead\n" },
        { TableWriter::Json, "[\n  {\"name\": \"\\u001b[31mred\\u001b[0m, \\\"x\\\"\", \"note\": \" lead\"}\n]\n" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.format);
        TableWriter table(row.format, { { u"name"_qs }, { u"note"_qs } });
        table.addRow(cells);
        EXPECT_EQ(table.render(), QByteArray(row.expected));
        // Streamed, the same bytes as kept (a table's rows wait in a temporary file for their widths).
        table.addRow({ u"x"_qs, u"a longer note"_qs });
        QTemporaryDir dir;
        const QString path = dir.filePath(u"out"_qs);
        TableWriter streamed(row.format, { { u"name"_qs }, { u"note"_qs } });
        ResultStream out(path);
        streamed.streamTo(&out);
        streamed.addRow(cells);
        streamed.addRow({ u"x"_qs, u"a longer note"_qs });
        ASSERT_TRUE(streamed.finish());
        ASSERT_EQ(out.finish(), kExitSuccess);
        EXPECT_EQ(zeq::test::fileContents(path), table.render());
    }
    EXPECT_EQ(TableWriter::formatCell(TableWriter::Table, cells.first()), u"?[31mred?[0m, \"x\""_qs);
}
