// Draws a spectrum with the fitted isotope envelopes of its clusters, for a person to check what
// the search found.
#include "SpectrumPlot.h"

#include "ValueText.h"
#include "algo/AveragineComparisonPlots.h"
#include "zeq_common_stable/AtomicFileWriter.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <utility>

namespace zeq::cli
{

namespace
{

constexpr QSize kCanvas(1200, 650);
constexpr double kLeft = 84.0;
constexpr double kRight = 24.0;
constexpr double kTop = 52.0;
constexpr double kBottom = 58.0;
/// Points drawn per pixel column at most: more add bytes to an SVG, not detail to the picture.
constexpr int kPointsPerColumn = 4;
/// Ticks per axis at most, whatever the range's magnitude does to the arithmetic.
constexpr int kMostTicks = 40;

/// Distinct on white and told apart by most colour-blind readers; repeats after ten clusters.
QColor clusterColour(qsizetype i)
{
    static const QRgb colours[] = { 0x0072b2, 0xd55e00, 0x009e73, 0xcc79a7, 0xe69f00,
                                    0x56b4e9, 0x7570b3, 0xa6761d, 0xe7298a, 0x66a61e };
    return QColor(colours[i % std::size(colours)]);
}

bool isFinite(const QPointF &p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

/// Decimals that show a value to the precision of `step` (finite, above 0), within what a double
/// holds.
int decimalsFor(double step)
{
    return std::clamp(-int(std::floor(std::log10(step))), 0, 17);
}

/// A tick label: fixed-point, or in scientific form with as many digits as ticks `step` apart need
/// where fixed-point would run long.
QString tickLabel(double value, double step, int decimals)
{
    if (std::abs(value) < 1e9) {
        return zeq::cli::formatFixed(value, decimals);
    }
    const int digits = std::clamp(int(std::ceil(std::log10(std::abs(value) / step))) + 1, 1, 17);
    return zeq::cli::formatSignificant(value, digits);
}

/// A round tick spacing giving about `count` ticks over `span` (finite, above 0): 1, 2 or 5 times
/// a power of ten.
double tickStep(double span, int count)
{
    const double raw = span / count;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : { 1.0, 2.0, 5.0 }) {
        if (raw <= m * magnitude) {
            return m * magnitude;
        }
    }
    return 10.0 * magnitude;
}

QString superscript(int n)
{
    static const QString digits = QStringLiteral("⁰¹²³⁴⁵⁶⁷⁸⁹");
    QString text = n < 0 ? QStringLiteral("⁻") : QString();
    for (const QChar c : QString::number(std::abs(n))) {
        text += digits.at(c.digitValue());
    }
    return text;
}

/// Data coordinates to canvas coordinates.
struct Frame {
    QRectF area;
    double mzLow;
    double mzHigh;
    double yHigh;

    [[nodiscard]] QPointF map(double mz, double y) const
    {
        return { area.left() + (mz - mzLow) / (mzHigh - mzLow) * area.width(),
                 area.bottom() - std::max(0.0, y) / yHigh * area.height() };
    }
};

QList<QList<QPointF>> envelopes(const SpectrumPlot &plot)
{
    QList<QList<QPointF>> out;
    for (const PlottedCluster &c : plot.clusters) {
        QList<QPointF> points;
        // A fifth of the peak width draws a smooth Gaussian; the sampler widens it between peaks.
        makeIsotopePlot(c.mono, c.charge, c.scale, c.sigma, c.sigma / 5.0, points, chem::ZEQ_QEnumsChemUtils::Positive);
        out.append(points);
    }
    return out;
}

void drawAxes(QPainter &p, const Frame &f, const QFont &font)
{
    const QFontMetricsF metrics(font);
    p.setFont(font);
    const QPen grid(QColor(0xe6e6e6), 1.0);
    const QPen ink(QColor(0x202020), 1.0);

    const double xStep = tickStep(f.mzHigh - f.mzLow, 10);
    const int xDecimals = decimalsFor(xStep);
    const double xFirst = std::ceil(f.mzLow / xStep) * xStep;
    for (int k = 0; k < kMostTicks && xFirst + k * xStep <= f.mzHigh; ++k) {
        const double x = xFirst + k * xStep;
        const QPointF at = f.map(x, 0.0);
        p.setPen(grid);
        p.drawLine(QPointF(at.x(), f.area.top()), at);
        p.setPen(ink);
        p.drawLine(at, at + QPointF(0.0, 5.0));
        const QString label = tickLabel(x, xStep, xDecimals);
        p.drawText(QPointF(at.x() - metrics.horizontalAdvance(label) / 2.0, at.y() + 7.0 + metrics.ascent()), label);
    }

    // Intensities are written as a few digits times a power of ten named once on the axis.
    const int exponent = f.yHigh >= 1e4 ? int(std::floor(std::log10(f.yHigh))) : 0;
    const double unit = std::pow(10.0, exponent);
    const double yStep = tickStep(f.yHigh / unit, 6) * unit;
    const int yDecimals = decimalsFor(yStep / unit);
    for (int k = 0; k < kMostTicks && k * yStep <= f.yHigh; ++k) {
        const double y = k * yStep;
        const QPointF at = f.map(f.mzLow, y);
        p.setPen(grid);
        p.drawLine(at, QPointF(f.area.right(), at.y()));
        p.setPen(ink);
        p.drawLine(at, at - QPointF(5.0, 0.0));
        const QString label = zeq::cli::formatFixed(y / unit, yDecimals);
        p.drawText(QPointF(at.x() - 8.0 - metrics.horizontalAdvance(label), at.y() + metrics.ascent() / 2.5), label);
    }
    p.setPen(ink);
    p.drawLine(f.area.bottomLeft(), f.area.bottomRight());
    p.drawLine(f.area.bottomLeft(), f.area.topLeft());

    const QString xTitle = QStringLiteral("m/z");
    p.drawText(QPointF(f.area.center().x() - metrics.horizontalAdvance(xTitle) / 2.0, kCanvas.height() - 10.0), xTitle);
    const QString yTitle = exponent == 0 ? QStringLiteral("intensity (counts)")
                                         : QStringLiteral("intensity (×10%1 counts)").arg(superscript(exponent));
    p.save();
    p.translate(18.0, f.area.center().y() + metrics.horizontalAdvance(yTitle) / 2.0);
    p.rotate(-90.0);
    p.drawText(QPointF(0.0, metrics.ascent()), yTitle);
    p.restore();
}

/// The points to draw, at most kPointsPerColumn per pixel column: a spectrum of millions of points
/// would otherwise put every one into the file though a column shows only its extremes. A stick
/// keeps each column's tallest point, which hides the others; a line keeps each column's first,
/// lowest, highest and last point, in m/z order, so that its shape is unchanged, and the nearest
/// point beyond each end of the range, so that it runs to the edge. Non-finite points are left out.
QList<QPointF> pointsToDraw(const QList<QPointF> &points, const Frame &f, bool profile)
{
    const int columns = std::max(1, int(f.area.width()));
    const double perColumn = columns / (f.mzHigh - f.mzLow);
    QList<QPointF> out;
    qsizetype inRange = 0;
    for (const QPointF &pt : points) {
        inRange += isFinite(pt) && pt.x() >= f.mzLow && pt.x() <= f.mzHigh ? 1 : 0;
    }
    const bool decimate = inRange > qsizetype(kPointsPerColumn) * columns;
    // Column -1 holds the points before the range, `columns` those after it.
    int column = -2;
    QPointF first;
    QPointF lowest;
    QPointF highest;
    QPointF last;
    const auto flush = [&] {
        if (column == -2) {
            return;
        }
        if (!profile) {
            out.append(highest);
            return;
        }
        if (column < 0) {
            out.append(last);
            return;
        }
        if (column >= columns) {
            out.append(first);
            return;
        }
        QPointF kept[] = { first, lowest, highest, last };
        std::stable_sort(
            std::begin(kept), std::end(kept), [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
        for (qsizetype i = 0; i < 4; ++i) {
            if (i == 0 || kept[i] != kept[i - 1]) {
                out.append(kept[i]);
            }
        }
    };
    for (const QPointF &pt : points) {
        if (!isFinite(pt)) {
            continue;
        }
        const bool before = pt.x() < f.mzLow;
        const bool after = pt.x() > f.mzHigh;
        if (!profile && (before || after)) {
            continue;
        }
        if (!decimate && !before && !after) {
            flush();
            column = -2;
            out.append(pt);
            continue;
        }
        const int at = before ? -1 : after ? columns : std::min(columns - 1, int((pt.x() - f.mzLow) * perColumn));
        if (at != column) {
            if (column == columns) {
                break;
            }
            flush();
            column = at;
            first = lowest = highest = pt;
        }
        last = pt;
        lowest = pt.y() < lowest.y() ? pt : lowest;
        highest = pt.y() > highest.y() ? pt : highest;
    }
    flush();
    return out;
}

void drawSpectrum(QPainter &p, const Frame &f, const SpectrumPlot &plot)
{
    const QList<QPointF> points = pointsToDraw(plot.points, f, plot.profile);
    p.setPen(QPen(QColor(0x505050), plot.profile ? 1.0 : 1.2));
    if (plot.profile) {
        QPainterPath line;
        for (const QPointF &pt : points) {
            line.isEmpty() ? line.moveTo(f.map(pt.x(), pt.y())) : line.lineTo(f.map(pt.x(), pt.y()));
        }
        p.drawPath(line);
        return;
    }
    for (const QPointF &pt : points) {
        p.drawLine(f.map(pt.x(), 0.0), f.map(pt.x(), pt.y()));
    }
}

/// Each envelope filled lightly in its colour, under the observed sticks so that both stay visible.
void drawEnvelopes(QPainter &p, const Frame &f, const QList<QList<QPointF>> &shapes)
{
    for (qsizetype i = 0; i < shapes.size(); ++i) {
        const QList<QPointF> &shape = shapes.at(i);
        if (shape.isEmpty()) {
            continue;
        }
        const QColor colour = clusterColour(i);
        QPainterPath outline(f.map(shape.constFirst().x(), 0.0));
        for (const QPointF &pt : shape) {
            outline.lineTo(f.map(pt.x(), pt.y()));
        }
        outline.lineTo(f.map(shape.constLast().x(), 0.0));
        QColor fill = colour;
        fill.setAlpha(60);
        p.setPen(QPen(colour, 1.6));
        p.setBrush(fill);
        p.drawPath(outline);
    }
    p.setBrush(Qt::NoBrush);
}

/// A ring at each isotope's model height, since at a wide m/z range an envelope is narrower than
/// a stick; then the label above the apex, moved up past labels already placed so that none hides
/// another.
void drawMarksAndLabels(QPainter &p,
                        const Frame &f,
                        const SpectrumPlot &plot,
                        const QList<QList<QPointF>> &shapes,
                        const QFont &font)
{
    QFont bold = font;
    bold.setBold(true);
    const QFontMetricsF metrics(bold);
    p.setFont(bold);
    QList<QRectF> placed;
    for (qsizetype i = 0; i < shapes.size(); ++i) {
        const QList<QPointF> &shape = shapes.at(i);
        if (shape.isEmpty()) {
            continue;
        }
        const QColor colour = clusterColour(i);
        const QPointF apex = *std::max_element(
            shape.cbegin(), shape.cend(), [](const QPointF &a, const QPointF &b) { return a.y() < b.y(); });
        p.setPen(QPen(colour, 1.6));
        for (qsizetype k = 1; k + 1 < shape.size(); ++k) {
            const double y = shape.at(k).y();
            // Isotopes too small to see get no ring; rings along the base line would hide the axis.
            if (y >= shape.at(k - 1).y() && y > shape.at(k + 1).y() && y > 0.02 * apex.y()) {
                p.drawEllipse(f.map(shape.at(k).x(), y), 3.0, 3.0);
            }
        }

        const PlottedCluster &c = plot.clusters.at(i);
        const QString label = QStringLiteral("%1+ %2").arg(c.charge).arg(zeq::cli::formatFixed(c.mono, 4));
        const QSizeF size(metrics.horizontalAdvance(label) + 4.0, metrics.height());
        const QPointF top = f.map(apex.x(), apex.y());
        QRectF box(QPointF(top.x() - size.width() / 2.0, top.y() - 4.0 - size.height()), size);
        box.moveLeft(std::clamp(box.left(), f.area.left(), f.area.right() - box.width()));
        for (bool moved = true; moved;) {
            moved = false;
            for (const QRectF &other : placed) {
                if (box.intersects(other)) {
                    box.moveBottom(other.top() - 1.0);
                    moved = true;
                }
            }
        }
        placed.append(box);
        p.setPen(colour.darker(115));
        p.drawText(box, Qt::AlignCenter, label);
    }
}

/// The monos one isotope below and above a cluster's, where its alternatives put them: a dashed
/// tick up from the base line in the cluster's colour, labelled "-1" or "+1", so that a person can
/// see which peaks an off-by-one reading would have started on.
void drawAlternativeMonos(QPainter &p, const Frame &f, const SpectrumPlot &plot, const QFont &font)
{
    QFont small = font;
    small.setPixelSize(11);
    p.setFont(small);
    const QFontMetricsF metrics(small);
    for (qsizetype i = 0; i < plot.clusters.size(); ++i) {
        const PlottedCluster &c = plot.clusters.at(i);
        const QColor colour = clusterColour(i);
        for (const auto &[mz, label] : { std::pair{ c.monoBelow, "-1" }, std::pair{ c.monoAbove, "+1" } }) {
            if (!(mz >= f.mzLow && mz <= f.mzHigh)) {
                continue; // NaN too
            }
            const QPointF base = f.map(mz, 0.0);
            const QPointF top = base - QPointF(0.0, 22.0);
            p.setPen(QPen(colour, 1.4, Qt::DashLine));
            p.drawLine(base, top);
            const QString text = QString::fromLatin1(label);
            p.setPen(colour.darker(115));
            // "-1" left of its tick and "+1" right of its own: at a wide m/z range the two ticks nearly meet.
            const double x = label[0] == '-' ? top.x() - 2.0 - metrics.horizontalAdvance(text) : top.x() + 2.0;
            p.drawText(QPointF(x, top.y() + metrics.ascent()), text);
        }
    }
}

void draw(QPainter &p, const SpectrumPlot &plot)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(QPoint(), kCanvas), Qt::white);

    // A little room either side, so that sticks at the ends stay off the axes; a range without
    // width (one point) gets some, and so does one too narrow for its magnitude to subtract.
    double low = plot.start;
    double high = std::max(plot.end, plot.start);
    if (!std::isfinite(low) || !std::isfinite(high)) {
        low = std::numeric_limits<double>::max();
        high = std::numeric_limits<double>::lowest();
        for (const QPointF &pt : plot.points) {
            if (isFinite(pt)) {
                low = std::min(low, pt.x());
                high = std::max(high, pt.x());
            }
        }
        if (low > high) {
            low = high = 0.0;
        }
    }
    const double pad = std::max({ 0.02 * (high - low), 0.5, 1e-9 * std::max(std::abs(low), std::abs(high)) });
    Frame f{ QRectF(kLeft, kTop, kCanvas.width() - kLeft - kRight, kCanvas.height() - kTop - kBottom),
             std::isfinite(low - pad) ? low - pad : low,
             std::isfinite(high + pad) ? high + pad : high,
             0.0 };
    // A range wider than the largest double shows its upper part.
    if (!std::isfinite(f.mzHigh - f.mzLow)) {
        f.mzLow = f.mzHigh - 0.5 * std::numeric_limits<double>::max();
    }
    for (const QPointF &pt : plot.points) {
        if (isFinite(pt) && pt.x() >= f.mzLow && pt.x() <= f.mzHigh) {
            f.yHigh = std::max(f.yHigh, pt.y());
        }
    }
    const QList<QList<QPointF>> shapes = envelopes(plot);
    for (const QList<QPointF> &shape : shapes) {
        for (const QPointF &pt : shape) {
            f.yHigh = std::max(f.yHigh, pt.y());
        }
    }
    // Headroom for the labels above the tallest peak.
    f.yHigh = f.yHigh > 0.0 ? std::min(f.yHigh * 1.2, std::numeric_limits<double>::max()) : 1.0;

    QFont font = QGuiApplication::font();
    font.setPixelSize(13);
    drawAxes(p, f, font);
    p.save();
    p.setClipRect(f.area.adjusted(0.0, -kTop, 0.0, 0.0));
    drawEnvelopes(p, f, shapes);
    drawSpectrum(p, f, plot);
    drawMarksAndLabels(p, f, plot, shapes, font);
    drawAlternativeMonos(p, f, plot, font);
    p.restore();

    QFont titleFont = font;
    titleFont.setPixelSize(16);
    p.setFont(titleFont);
    p.setPen(QColor(0x202020));
    p.drawText(QRectF(0.0, 6.0, kCanvas.width(), kTop - 24.0), Qt::AlignCenter, plot.title);
}

} // namespace

Error writeSpectrumPlot(const SpectrumPlot &plot, const QString &path)
{
    if (!isPlotPath(path)) {
        Error err(kBadParameterError, QStringLiteral("Can't draw %1: the name must end in .svg or .png").arg(path));
        return ZEQ_ECATCH(err);
    }
    AtomicFileWriter out(path);
    Error err = out.open();
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    bool drawn = false;
    if (QFileInfo(path).suffix().toLower() == u"svg") {
        QSvgGenerator svg;
        svg.setOutputDevice(out.device());
        svg.setSize(kCanvas);
        svg.setViewBox(QRect(QPoint(), kCanvas));
        // At 96 dpi one canvas unit is one CSS pixel, as in the PNG.
        svg.setResolution(96);
        svg.setTitle(plot.title);
        QPainter painter;
        drawn = painter.begin(&svg);
        if (drawn) {
            draw(painter, plot);
            drawn = painter.end();
        }
    } else {
        QImage image(kCanvas, QImage::Format_RGB32);
        QPainter painter(&image);
        draw(painter, plot);
        painter.end();
        drawn = image.save(out.device(), "PNG");
    }
    if (!drawn) {
        // Painters report a failed write only as failure: the device knows why.
        const auto *file = qobject_cast<const QFileDevice *>(out.device());
        const QString reason = file && file->error() != QFileDevice::NoError ? file->errorString()
                                                                             : QStringLiteral("the plot was not drawn");
        out.cancel();
        err = Error(kError, QStringLiteral("Can't write %1: %2").arg(path, reason));
        return ZEQ_ECATCH(err);
    }
    // A write that failed inside the painter shows here.
    err = out.commit();
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

} // namespace zeq::cli
