// Runs `zeq deisotope --plot` as a user would: PNG as well as SVG, spectra of extreme values, and
// spectra of more points than the picture has pixels.
#include "support/SpectrumFileWriter.h"
#include "support/TestFiles.h"
#include "support/ZeqRun.h"

#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zeq::test;

namespace
{

Outcome plot(const QString &file, const QString &picture, const QString &scan = u"1"_qs)
{
    return runZeq({ u"deisotope"_qs, file, u"--scan"_qs, scan, u"--plot"_qs, picture });
}

} // namespace

TEST(SpectrumPlotTest, PngShowsTheSticksAndTheClusters)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(u"scan3.png"_qs);
    const Outcome result = plot(QStringLiteral(ZEQ_SAMPLES_DIR "/sample.mzML"), png, u"3"_qs);
    ASSERT_EQ(result.exitCode, 0) << qPrintable(result.err);
    const QImage image(png);
    ASSERT_EQ(image.size(), QSize(1200, 650));
    int sticks = 0;
    int firstCluster = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y) & 0xffffff;
            sticks += pixel == 0x505050 ? 1 : 0;
            firstCluster += pixel == 0x0072b2 ? 1 : 0;
        }
    }
    EXPECT_GT(sticks, 200);
    EXPECT_GT(firstCluster, 20);
}

TEST(SpectrumPlotTest, ExtremeValuesGiveAPlotWithTicks)
{
    QTemporaryDir dir;
    const struct {
        const char *name;
        QByteArray peaks;
    } rows[] = {
        { "up to the largest doubles", "100 5\n100.5 3\n1.7e308 1.7e308\n" },
        { "one point too large to pad", "1e20 5\n" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString svg = dir.filePath(u"p.svg"_qs);
        const Outcome result = plot(writeFile(dir.filePath(u"peaks.txt"_qs), row.peaks), svg);
        ASSERT_EQ(result.exitCode, 0) << qPrintable(result.err);
        // Both axes carry ticks: at least three labels each besides the titles.
        const QString drawn = QString::fromUtf8(fileContents(svg));
        EXPECT_GE(drawn.count(QRegularExpression(u">[-0-9.e+]+</text>"_qs)), 6) << qPrintable(drawn.left(2000));
    }
}

TEST(SpectrumPlotTest, ManyPointsAreDrawnFromEachPixelColumnsExtremes)
{
    QTemporaryDir dir;
    // Points further apart than a cluster spans, so that the search has nothing to do.
    SpectrumToWrite spectrum;
    QByteArray peaks;
    for (int i = 0; i < 200'000; ++i) {
        const QPointF point(100.0 + 1.25 * i, 10.0 + (i * 7919) % 1000);
        spectrum.points.append(point);
        peaks += QByteArray::number(point.x(), 'g', 10) + ' ' + QByteArray::number(point.y()) + '\n';
    }
    const QString mzML = dir.filePath(u"profile.mzML"_qs);
    ASSERT_EQ(writeSpectrumFile(mzML, SpectrumFileKind::MzMLUnindexed, { spectrum }), QString());
    writeFile(mzML,
              fileContents(mzML).replace(R"(accession="MS:1000127" name="centroid spectrum")",
                                         R"(accession="MS:1000128" name="profile spectrum")"));
    for (const QString &file : { writeFile(dir.filePath(u"sticks.txt"_qs), peaks), mzML }) {
        const QString svg = dir.filePath(u"p.svg"_qs);
        const Outcome result = plot(file, svg);
        ASSERT_EQ(result.exitCode, 0) << qPrintable(result.err);
        // Every point would take 8 MB and more.
        EXPECT_LT(QFileInfo(svg).size(), 400'000) << qPrintable(file);
    }
}
