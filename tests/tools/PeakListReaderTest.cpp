#include "PeakListReader.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using zeq::cli::readPeakList;

namespace
{

struct Row {
    const char *name;
    QByteArray text;
    QList<QPointF> points; ///< empty: the file is refused
    const char *message; ///< part of the refusal
};

void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.name;
}

class PeakListReaderTest : public ::testing::TestWithParam<Row>
{
};

} // namespace

TEST_P(PeakListReaderTest, ReadsOrRefusesWithLineNumber)
{
    const Row &row = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(u"peaks.txt"_qs);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(row.text);
    file.close();

    const zeq::Result<QList<QPointF>> points = readPeakList(path);
    if (row.points.isEmpty()) {
        ASSERT_TRUE(points.hasError());
        const QString message = points.error().errorString();
        EXPECT_TRUE(message.startsWith(path)) << qPrintable(message);
        EXPECT_TRUE(message.contains(QString::fromUtf8(row.message))) << qPrintable(message);
        EXPECT_LT(message.size(), path.size() + 150) << "the echoed line must be cut";
    } else {
        ASSERT_TRUE(points.hasValue()) << qPrintable(points.error().errorString());
        EXPECT_EQ(points.value(), row.points);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts,
    PeakListReaderTest,
    ::testing::Values(
        Row{ "Separators",
             "700.1, 10\n700.6\t9\n# comment\n\n701 8 # trailing\r\n",
             { { 700.1, 10 }, { 700.6, 9 }, { 701, 8 } },
             "" },
        Row{ "HeaderSkipped", "# exported\nmz,intensity\n700.1,10\n", { { 700.1, 10 } }, "" },
        Row{ "SecondHeaderRefused", "mz,intensity\nmass,height\n700.1,10\n", {}, "line 2: expected two numbers" },
        Row{ "NotFinite", "700.1 10\n701 inf\n", {}, "line 2:" },
        Row{ "LongLineCut", "700.1 10\n" + QByteArray(10'000, 'x') + "\n", {}, "xxx…\"" },
        Row{ "Empty", "", {}, "holds no points" }),
    [](const ::testing::TestParamInfo<Row> &info) { return std::string(info.param.name); });

TEST(PeakListReaderMissingTest, NamesTheFile)
{
    const zeq::Result<QList<QPointF>> points = readPeakList(u"/nonexistent/peaks.txt"_qs);
    ASSERT_TRUE(points.hasError());
    EXPECT_TRUE(points.error().errorString().startsWith(u"Can't read /nonexistent/peaks.txt"));
}
