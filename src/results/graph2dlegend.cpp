// What the plot draws over its curves: the legend with the caption, the
// markers, and the overlays of the drags and of the tool strip. All in the
// picture's own coordinates, y downwards.

#include "graph2d.h"

#include "plottext.h"

#include <QIcon>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// What the legend adds to the title of a curve read on the right axis.
const char* const kRightAxis = " (right)";
constexpr double kSampleLength = 60.0;

QString legendTitle(const PlotGraph& graph)
{
    return graph.axis == PlotGraph::Right ? graph.title + QLatin1String(kRightAxis) : graph.title;
}

double rowHeight(const PlotText& text)
{
    return std::max(18.0, std::ceil(text.legend().height() + 4.0));
}

} // namespace

double Graph2d::legendWidth(const PlotText& text) const
{
    double widestTitle = 0.0;
    for (const PlotGraph& graph : m_graphs)
        widestTitle = std::max(widestTitle, text.legend().horizontalAdvance(legendTitle(graph)));
    double widestLine = 0.0;
    if (!m_caption.isEmpty()) {
        for (const QString& line : m_caption.split(QLatin1Char('\n')))
            widestLine = std::max(widestLine, text.legend().horizontalAdvance(line));
    }
    return std::ceil(std::max(widestTitle + kSampleLength + 30.0, widestLine));
}

void Graph2d::drawLegend(QPainter& painter, const PlotText& text, double width) const
{
    painter.save();
    painter.resetTransform();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setFont(text.legendFont());
    painter.setBrush(Qt::NoBrush);
    const QFontMetricsF& metrics = text.legend();
    double widestTitle = 0.0;
    for (const PlotGraph& graph : m_graphs)
        widestTitle = std::max(widestTitle, metrics.horizontalAdvance(legendTitle(graph)));
    const double x0 = width - legendWidth(text) - Margin;
    const double row = rowHeight(text);
    double y = Margin + 10.0;
    for (const PlotGraph& graph : m_graphs) {
        if (graph.title.isEmpty())
            continue;
        const double middle = y + row / 2.0 - 3.0;
        painter.setPen(graph.pen);
        painter.drawLine(QPointF(x0 + 10.0, middle), QPointF(x0 + 10.0 + kSampleLength, middle));
        painter.setPen(Qt::black);
        painter.drawText(QPointF(x0 + 20.0 + kSampleLength, middle + (metrics.ascent() - metrics.descent()) / 2.0),
                         legendTitle(graph));
        y += row;
    }
    QPen frame(Qt::darkGray, 1, Qt::SolidLine);
    frame.setCosmetic(true);
    painter.setPen(frame);
    painter.drawRoundedRect(QRectF(x0 + 0.5, Margin + 0.5, widestTitle + kSampleLength + 30.0, y + 4.0 - Margin), 5, 5);
    painter.setPen(Qt::black);
    if (!m_caption.isEmpty()) {
        const QStringList lines = m_caption.split(QLatin1Char('\n'));
        for (int j = 0; j < lines.size(); ++j)
            painter.drawText(QPointF(x0, y + 4.0 + metrics.ascent() + 4.0 + j * metrics.height()), lines.at(j));
    }
    painter.restore();
}

void Graph2d::drawMarkers(QPainter& painter, const PlotText& text, const PlotAxis& xAxis, const PlotFrame& frame,
                          double height) const
{
    if (m_markers.isEmpty() || !xAxis.isValid())
        return;
    painter.save();
    painter.resetTransform();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(QColor(80, 80, 80), 1, Qt::DashLine);
    pen.setCosmetic(true);
    const QFontMetricsF& metrics = text.label();
    const double top = height - frame.top;
    const double bottom = height - frame.bottom;
    for (const PlotMarker& marker : m_markers) {
        const double at = xAxis.toAxis(marker.x);
        if (!std::isfinite(at))
            continue;
        const long offset = std::lround((at - xAxis.min) * (frame.right - frame.left) / (xAxis.max - xAxis.min));
        if (offset < 0 || offset > frame.right - frame.left)
            continue;
        const int x = frame.left + int(offset);
        painter.setPen(pen);
        painter.drawLine(QPointF(x, top), QPointF(x, bottom));
        if (marker.label.isEmpty())
            continue;
        // Beside the line at the top, on whichever side has the room.
        const double width = metrics.horizontalAdvance(marker.label);
        const double left = x + 4.0 + width <= frame.right ? x + 4.0 : x - 3.0 - width;
        painter.setPen(Qt::black);
        painter.setFont(text.labelFont());
        painter.drawText(QPointF(left, top + 3.0 + metrics.ascent()), marker.label);
    }
    painter.restore();
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
