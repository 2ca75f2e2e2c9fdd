// One routine draws every axis of the plot, the X axis along the bottom and
// the Y axes along the left and right edges: the line, the arrow or the
// border opposite, ticks and grid, labels, the power-of-ten factor and the
// title. Positions are counted along the axis and across it, so the three
// differ only in where their texts go.

#include "graph2d.h"

#include "plottext.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QChar kTimes(0x00D7); // the multiplication sign of "x10^e"

} // namespace

double Graph2d::labelWidth(const PlotText& text, const PlotAxis& axis)
{
    double widest = 0.0;
    for (const PlotTick& tick : axis.ticks()) {
        if (!tick.text.isEmpty())
            widest = std::max(widest, text.width(tick.text, tick.superscript));
    }
    return widest;
}

void Graph2d::drawAxis(QPainter& painter, const PlotText& text, const PlotAxis& axis, const PlotFrame& frame, Side side,
                       const QString& title, double height) const
{
    const bool horizontal = side == Side::Bottom;
    const int start = horizontal ? frame.left : frame.bottom;
    const int end = horizontal ? frame.right : frame.top;
    const int base = side == Side::Bottom ? frame.bottom : side == Side::Left ? frame.left : frame.right;
    // The grid and the border opposite belong to the X axis and the left Y
    // axis; the right one has only its ticks.
    const bool primary = side != Side::Right;
    const int opposite = horizontal ? frame.top : frame.right;
    auto point = [horizontal](int along, int across) {
        return horizontal ? QPoint(along, across) : QPoint(across, along);
    };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setTransform(QTransform(1, 0, 0, -1, 0, height));
    QPen axisPen(Qt::black, 1);
    axisPen.setCosmetic(true);
    QPen gridPen(Qt::lightGray, 1, Qt::DotLine);
    gridPen.setCosmetic(true);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(axisPen);
    painter.drawLine(point(start, base), point(end, base));
    if (m_gridOn && primary) {
        painter.drawLine(point(start, opposite), point(end, opposite));
    } else if (!m_gridOn) {
        painter.drawLine(point(end, base), point(end - 5, base + 3));
        painter.drawLine(point(end, base), point(end - 5, base - 3));
    }

    // Where the labels go, along the axis.
    QList<std::pair<int, PlotTick>> labels;
    const int length = end - start;
    const double range = axis.max - axis.min;
    // Ticks too near the far end would run into the arrow or the border.
    const int limit = horizontal ? length - 4 : length - 5;
    const QList<PlotTick> ticks = axis.ticks();
    for (const PlotTick& tick : ticks) {
        const long offset = std::lround((tick.at - axis.min) * length / range);
        if (offset < 0 || offset >= limit)
            continue;
        const int at = start + int(offset);
        painter.drawLine(point(at, base - tick.halfLength), point(at, base + tick.halfLength));
        if (m_gridOn && primary) {
            painter.drawLine(point(at, opposite), point(at, opposite - tick.halfLength));
            if (tick.grid) {
                painter.setPen(gridPen);
                painter.drawLine(point(at, base + tick.halfLength + 1), point(at, opposite - 1));
                painter.setPen(axisPen);
            }
        }
        if (!tick.text.isEmpty())
            labels.append({at, tick});
    }
    painter.restore();

    // Texts in the picture's coordinates: a plot row r is picture row
    // height - r, and a pixel's middle is half a pixel in.
    painter.save();
    painter.resetTransform();
    painter.setPen(Qt::black);
    const QFontMetricsF& metrics = text.label();
    const double axisRow = height - base + 0.5;
    const double belowTicks = axisRow + 6.0 + metrics.ascent();
    for (const auto& [at, tick] : std::as_const(labels)) {
        const double width = text.width(tick.text, tick.superscript);
        const double middle = horizontal ? at + 0.5 : height - at + 0.5;
        const double centred = middle + (metrics.ascent() - metrics.descent()) / 2.0;
        QPointF baseline;
        if (side == Side::Bottom)
            baseline = QPointF(middle - width / 2.0, belowTicks);
        else if (side == Side::Left)
            baseline = QPointF(base - 6.0 - width, centred);
        else
            baseline = QPointF(base + 7.0, centred);
        text.draw(painter, baseline, tick.text, tick.superscript);
    }

    if (!axis.logarithmic && axis.exponent != 0 && axis.isValid()) {
        const QString ten = kTimes + QStringLiteral("10");
        const QString power = QString::number(axis.exponent);
        const double topRow = height - frame.top - 3.0;
        const bool rightAxis = std::any_of(m_graphs.cbegin(), m_graphs.cend(),
                                           [](const PlotGraph& graph) { return graph.axis == PlotGraph::Right; });
        QPointF baseline;
        if (side == Side::Bottom && rightAxis) // beside the axis end stand the right axis's labels
            baseline = QPointF(end + 1.0 - text.width(ten, power), belowTicks + metrics.height());
        else if (side == Side::Bottom)
            baseline = QPointF(end + 2.0, axisRow + metrics.ascent() - 2.0);
        else if (side == Side::Left)
            baseline = QPointF(base - metrics.horizontalAdvance(ten), topRow);
        else
            baseline = QPointF(base + 2.0, topRow);
        text.draw(painter, baseline, ten, power);
    }

    if (!title.isEmpty()) {
        const QFontMetricsF& titleMetrics = text.title();
        painter.setFont(text.titleFont());
        const double width = titleMetrics.horizontalAdvance(title);
        if (side == Side::Bottom) {
            const double middle = (frame.left + frame.right + 1) / 2.0;
            painter.drawText(
                QPointF(middle - width / 2.0, belowTicks + metrics.descent() + 2.0 + titleMetrics.ascent()), title);
        } else {
            const double middle = height - (frame.bottom + frame.top + 1) / 2.0;
            const double widest = labelWidth(text, axis);
            // The left title reads upwards, the right one downwards; either
            // way its glyphs stand on the side away from the frame.
            const double across = side == Side::Left ? base - 8.0 - widest - 4.0 - titleMetrics.descent()
                                                     : base + 8.0 + widest + 4.0 + titleMetrics.descent();
            painter.translate(across, middle);
            painter.rotate(side == Side::Left ? -90.0 : 90.0);
            painter.drawText(QPointF(-width / 2.0, 0.0), title);
        }
    }
    painter.restore();
}
