// Drawing of the plot: background, axes with ticks, labels and grid,
// curves, legend, and the overlays of the drags and the tool strip.
//
// The plot is drawn in logical coordinates that run upwards from the bottom
// edge; texts, the legend and the overlays are drawn in device pixels.

#include "graph2d.h"

#include "diagnostic.h"
#include "curvepath.h"

#include <QFontMetrics>
#include <QIcon>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

const QChar kTimes(0x00D7); // the multiplication sign of "x10^e"

QFont plotFont(int pixels, bool italic)
{
    QFont font(QStringLiteral("times"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pixels);
    font.setItalic(italic);
    return font;
}

struct Extent
{
    double xMin = 0.0;
    double xMax = 0.0;
    double yMin = 0.0;
    double yMax = 0.0;
};

std::pair<double, double> minMax(const QList<float>& values)
{
    if (values.isEmpty()) {
        tWarning() << "Graph2d::getMinMax(). Empty data vector";
        return {0.0, 0.0};
    }
    const auto [low, high] = std::minmax_element(values.cbegin(), values.cend());
    return {double(*low), double(*high)};
}

// A negative factor swaps the ends.
std::pair<double, double> scaled(std::pair<double, double> range, float factor)
{
    const double a = double(factor) * range.first;
    const double b = double(factor) * range.second;
    return {std::min(a, b), std::max(a, b)};
}

// Draws a text at a device point while the painter works in logical
// coordinates: the logical window is set aside for it.
void deviceText(QPainter& painter, const QPointF& device, const QString& text)
{
    painter.setViewTransformEnabled(false);
    painter.drawText(device, text);
    painter.setViewTransformEnabled(true);
}

// A dotted line stroked with antialiasing costs about a millisecond per
// grid line of an 800 x 450 plot (16 of the 18 ms of a whole picture, as
// measured); a cosmetic dotted line on whole pixels is drawn dot by dot,
// looks the same, only crisper, and costs next to nothing.
void gridLine(QPainter& painter, const QPen& pen, const QLine& line)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(pen);
    painter.drawLine(line);
    painter.restore();
}

// One polyline per run would keep a dashed pen's pattern going along the
// curve, but the stroker slows down sharply with the length of a path that
// crosses itself: a noisy run of 150,000 segments took 0.8 s as one polyline
// and 0.15 s as separate lines. So a solid curve is drawn as separate lines,
// and a patterned one as polylines of a bounded length, each starting its
// pattern where the one before stopped.
constexpr int kPolylineChunk = 64;

void drawCurve(QPainter& painter, QPen pen, const QList<QPolygon>& runs)
{
    if (pen.style() == Qt::SolidLine || pen.style() == Qt::NoPen) {
        QList<QLine> lines;
        for (const QPolygon& run : runs) {
            for (qsizetype i = 1; i < run.size(); ++i)
                lines.append(QLine(run.at(i - 1), run.at(i)));
        }
        painter.setPen(pen);
        painter.drawLines(lines);
        return;
    }
    // The dash offset is counted in pen widths (a zero width draws as one).
    const double unit = pen.widthF() > 0.0 ? pen.widthF() : 1.0;
    double travelled = 0.0;
    for (const QPolygon& run : runs) {
        for (qsizetype start = 0; start + 1 < run.size(); start += kPolylineChunk) {
            const qsizetype end = std::min(start + kPolylineChunk, run.size() - 1);
            pen.setDashOffset(travelled / unit);
            painter.setPen(pen);
            painter.drawPolyline(run.constData() + start, int(end - start + 1));
            for (qsizetype i = start + 1; i <= end; ++i)
                travelled += std::hypot(double(run.at(i).x() - run.at(i - 1).x()),
                                        double(run.at(i).y() - run.at(i - 1).y()));
        }
    }
}

QPointF toDevice(const QPainter& painter, double x, double y)
{
    return painter.combinedTransform().map(QPointF(x, y));
}

} // namespace

void Graph2d::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawPlot(painter, width(), height(), true);
    painter.resetTransform();
    painter.setViewTransformEnabled(false);
    drawOverlay(painter);
}

bool Graph2d::drawPlot(QPainter& painter, int width, int height, bool resetReference)
{
    if (resetReference) {
        m_reference.xMin = m_reference.xMax = 0.0;
        m_reference.yMin = m_reference.yMax = 0.0;
    }
    if (width <= 2 * Margin + 10 || height <= 2 * Margin + 10)
        return false;
    if (m_graphs.isEmpty()) {
        tDebug() << "Graph2d no data to show";
        return false;
    }
    int plotWidth = width - 2 * Margin - 60;
    const int plotHeight = height - 2 * Margin - 40;
    // The room the axes' labels need: a picture without it would have a plot
    // of no or negative size, and a tick step computed from it.
    if (plotWidth < 1 || plotHeight < 1)
        return false;
    const int left = Margin + 30;
    const int bottom = Margin + 20;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
    painter.drawRect(QRectF(0, 0, width - 1, height - 1));
    painter.setWindow(0, height, width - 1, -height);

    if (m_legendOn)
        plotWidth -= drawLegend(painter, width);
    if (plotWidth < 1) {
        painter.restore();
        return true; // the legend fills the picture
    }
    PlotFrame frame;
    frame.left = left;
    frame.bottom = bottom;
    frame.right = left + plotWidth - 1;
    frame.top = bottom + plotHeight - 1;

    QList<Extent> extents;
    extents.reserve(m_graphs.size());
    for (const PlotGraph& graph : std::as_const(m_graphs)) {
        const auto x = scaled(minMax(*graph.x), graph.scaleX);
        const auto y = scaled(minMax(*graph.y), graph.scaleY);
        extents.append({x.first, x.second, y.first, y.second});
    }

    const bool fitX = m_viewXMin == m_viewXMax;
    const bool fitY = m_viewYMin == m_viewYMax;
    double xLo = m_viewXMin;
    double xHi = m_viewXMax;
    double yLo = m_viewYMin;
    double yHi = m_viewYMax;
    if (fitX) {
        xLo = extents.first().xMin;
        xHi = extents.first().xMax;
        for (const Extent& e : std::as_const(extents)) {
            xLo = std::min(xLo, e.xMin);
            xHi = std::max(xHi, e.xMax);
        }
    }
    if (fitY) {
        yLo = extents.first().yMin;
        yHi = extents.first().yMax;
        for (const Extent& e : std::as_const(extents)) {
            yLo = std::min(yLo, e.yMin);
            yHi = std::max(yHi, e.yMax);
        }
    }
    if (xLo == xHi) {
        xLo -= 1.0;
        xHi += 1.0;
    }
    if (yLo == yHi) {
        yLo -= 1.0;
        yHi += 1.0;
    }
    const PlotAxis xAxis = PlotAxis::compute(xLo, xHi, plotWidth, fitX);
    PlotAxis yAxis = PlotAxis::compute(yLo, yHi, plotHeight, fitY);
    if (!resetReference || (fitX && fitY)) {
        for (const Extent& e : std::as_const(extents))
            yAxis.makeRoomFor(e.yMin, e.yMax);
    }
    if (resetReference) {
        m_reference.xMin = xAxis.min;
        m_reference.xMax = xAxis.max;
        m_reference.yMin = yAxis.min;
        m_reference.yMax = yAxis.max;
        m_reference.frame = frame;
    }

    drawXAxis(painter, xAxis, frame);
    drawYAxis(painter, yAxis, frame);

    const CurvePath path(xAxis, yAxis, frame);
    painter.save();
    painter.setClipRect(QRect(frame.left, frame.bottom, frame.width(), frame.height()));
    painter.setBrush(Qt::NoBrush);
    for (const PlotGraph& graph : std::as_const(m_graphs)) {
        drawCurve(painter, graph.pen, path.polylines(*graph.x, *graph.y, graph.scaleX, graph.scaleY));
    }
    painter.restore();
    painter.restore();
    return true;
}

void Graph2d::drawXAxis(QPainter& painter, const PlotAxis& axis, const PlotFrame& frame)
{
    if (!axis.isValid())
        return;
    const QFont oldFont = painter.font();
    const QFont labelFont = plotFont(10, true);
    const QFont exponentFont = plotFont(7, true);
    const QPen axisPen(Qt::black);
    QPen gridPen(Qt::lightGray, 1, Qt::DotLine);
    gridPen.setCosmetic(true);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(axisPen);
    painter.setFont(labelFont);
    const QFontMetrics metrics(labelFont);

    const int left = frame.left;
    const int right = frame.right;
    const int bottom = frame.bottom;
    const int top = frame.top;
    painter.drawLine(left, bottom, right, bottom);
    if (m_gridOn) {
        painter.drawLine(left, top, right, top);
    } else {
        painter.drawLine(right, bottom, right - 5, bottom + 3);
        painter.drawLine(right, bottom, right - 5, bottom - 3);
    }

    const double length = right - left;
    const double range = axis.max - axis.min;
    for (int k = 0; k < axis.intervals; ++k) {
        const long offset = std::lround((k * axis.step + axis.first - axis.min) * length / range);
        if (offset < 0 || offset >= right - 4 - left)
            continue;
        const int x = left + int(offset);
        const int half = k % 2 == 0 ? 4 : 2;
        painter.drawLine(x, bottom - half, x, bottom + half);
        if (m_gridOn) {
            painter.drawLine(x, top, x, top - half);
            gridLine(painter, gridPen, QLine(x, bottom + half + 1, x, top - 1));
            painter.setPen(axisPen);
        }
        if (k % 2 == 0) {
            const QString text = axis.labelText(k);
            const QPointF at = toDevice(painter, x, bottom);
            deviceText(painter, QPointF(at.x() - metrics.horizontalAdvance(text) / 2.0, at.y() + metrics.height() + 2),
                       text);
        }
    }

    if (axis.exponent != 0) {
        const QString base = kTimes + QStringLiteral("10");
        const QPointF end = toDevice(painter, right, bottom);
        const QPointF baseAt(end.x() + 1, end.y() + metrics.height() - 2);
        deviceText(painter, baseAt, base);
        painter.setFont(exponentFont);
        const QFontMetrics small(exponentFont);
        deviceText(painter,
                   QPointF(baseAt.x() + metrics.horizontalAdvance(base), end.y() - 1 + small.height() / 2.0),
                   QString::number(axis.exponent));
    }
    painter.setFont(oldFont);
}

void Graph2d::drawYAxis(QPainter& painter, const PlotAxis& axis, const PlotFrame& frame)
{
    if (!axis.isValid())
        return;
    const QFont oldFont = painter.font();
    const QFont labelFont = plotFont(10, true);
    const QFont exponentFont = plotFont(7, true);
    const QPen axisPen(Qt::black);
    QPen gridPen(Qt::lightGray, 1, Qt::DotLine);
    gridPen.setCosmetic(true);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(axisPen);
    painter.setFont(labelFont);
    const QFontMetrics metrics(labelFont);

    const int left = frame.left;
    const int right = frame.right;
    const int bottom = frame.bottom;
    const int top = frame.top;
    painter.drawLine(left, bottom, left, top);
    if (m_gridOn) {
        painter.drawLine(right, bottom, right, top);
    } else {
        painter.drawLine(left, top, left - 3, top - 5);
        painter.drawLine(left, top, left + 3, top - 5);
    }

    const double length = top - bottom;
    const double range = axis.max - axis.min;
    for (int k = 0; k < axis.intervals; ++k) {
        const long offset = std::lround((k * axis.step + axis.first - axis.min) * length / range);
        if (offset < 0 || offset >= top - 5 - bottom)
            continue;
        const int y = bottom + int(offset);
        const int half = k % 2 == 0 ? 4 : 2;
        painter.drawLine(left - half, y, left + half, y);
        if (m_gridOn) {
            painter.drawLine(right, y, right - half, y);
            gridLine(painter, gridPen, QLine(left + half + 1, y, right - 1, y));
            painter.setPen(axisPen);
        }
        if (k % 2 == 0) {
            const QString text = axis.labelText(k);
            const QPointF at = toDevice(painter, left, y);
            deviceText(painter,
                       QPointF(at.x() - 6 - metrics.horizontalAdvance(text), at.y() - 3 + metrics.height() / 2.0),
                       text);
        }
    }

    if (axis.exponent != 0) {
        const QString base = kTimes + QStringLiteral("10");
        const QPointF end = toDevice(painter, left, top);
        deviceText(painter, QPointF(end.x() - metrics.horizontalAdvance(base), end.y() - 3), base);
        painter.setFont(exponentFont);
        const QFontMetrics small(exponentFont);
        deviceText(painter, QPointF(end.x(), end.y() - (metrics.height() + 2) + small.height() / 2.0),
                   QString::number(axis.exponent));
    }
    painter.setFont(oldFont);
}

int Graph2d::drawLegend(QPainter& painter, int width)
{
    painter.save();
    painter.setViewTransformEnabled(false);
    const QFont font = plotFont(12, false);
    painter.setFont(font);
    painter.setBrush(Qt::NoBrush);
    const QFontMetrics metrics(font);

    int widestTitle = 0;
    for (const PlotGraph& graph : std::as_const(m_graphs))
        widestTitle = std::max(widestTitle, metrics.horizontalAdvance(graph.title));
    const QStringList lines = m_caption.isEmpty() ? QStringList() : m_caption.split(QLatin1Char('\n'));
    int widestLine = 0;
    for (const QString& line : lines)
        widestLine = std::max(widestLine, metrics.horizontalAdvance(line));
    const int legendWidth = std::max(widestTitle + 90, widestLine);

    const int x0 = width - legendWidth - Margin;
    int y = Margin + 10;
    for (const PlotGraph& graph : std::as_const(m_graphs)) {
        if (graph.title.isEmpty())
            continue;
        painter.setPen(graph.pen);
        painter.drawLine(x0 + 10, y + 6, x0 + 70, y + 6);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(x0 + 80, y + 10), graph.title);
        y += 18;
    }
    painter.setPen(QPen(Qt::darkGray, 1, Qt::SolidLine));
    painter.drawRoundedRect(QRect(x0, Margin, widestTitle + 90, y + 4 - Margin), 5, 5);
    painter.setPen(Qt::black);
    for (int j = 0; j < lines.size(); ++j)
        painter.drawText(QPoint(x0, y + 22 + j * metrics.height()), lines.at(j));
    painter.restore();
    return legendWidth + Margin;
}

void Graph2d::drawOverlay(QPainter& painter)
{
    const QPen pen(Qt::darkGreen);
    const QBrush brush(QColor(128, 128, 128, 32));
    switch (m_dragMode) {
    case Selecting:
        painter.setPen(pen);
        painter.setBrush(brush);
        painter.drawRect(QRect(m_pressPoint, m_currentPoint).normalized());
        break;
    case DragScaling: {
        painter.setPen(pen);
        painter.setBrush(brush);
        painter.drawEllipse(m_pressPoint, 5, 5);
        const QPoint p = m_pressPoint;
        const QPoint c = m_currentPoint;
        painter.drawLine(p.x(), p.y(), p.x(), c.y());
        painter.drawLine(p.x() - 10, c.y(), p.x() + 10, c.y());
        painter.drawLine(p.x(), p.y(), c.x(), p.y());
        painter.drawLine(c.x(), p.y() - 10, c.x(), p.y() + 10);
        break;
    }
    case DragMoving:
        painter.setPen(pen);
        painter.setBrush(brush);
        painter.drawEllipse(m_pressPoint, 5, 5);
        painter.drawEllipse(m_currentPoint, 5, 5);
        painter.drawLine(m_pressPoint, m_currentPoint);
        break;
    case ToolStrip:
        drawToolStrip(painter);
        break;
    default:
        break;
    }
}

void Graph2d::drawToolStrip(QPainter& painter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const char* icons[4] = {":/images/select_32.png", ":/images/move_32.png", ":/images/zoom_32.png",
                            ":/images/fullscreen_32.png"};
    // The tool each of the first three buttons stands for.
    const int tools[3] = {SelectionZoom, Moving, Scaling};
    for (int n = 0; n < 4; ++n) {
        const int x = 10 + 40 * n;
        const bool current = n < 3 && tools[n] == m_tool;
        const bool hovered = m_hovered == n + 1;
        if (current || hovered) {
            painter.setPen(hovered ? QPen(Qt::darkRed, 2) : QPen(Qt::NoPen));
            painter.setBrush(current ? QBrush(QColor(128, 128, 0, 64)) : QBrush(Qt::NoBrush));
            painter.drawRoundedRect(QRect(x - 4, 6, 40, 40), 5, 5);
        }
        painter.drawPixmap(x, 10, QIcon(QString::fromLatin1(icons[n])).pixmap(32, 32));
    }
    painter.restore();
}
