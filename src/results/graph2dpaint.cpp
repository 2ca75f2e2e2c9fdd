// Drawing of the plot: the axes' ranges from the view or the data, the
// layout of frame, labels and titles, the background and the curves.
//
// Lines are drawn in the plot's coordinates, which run upwards from the
// picture's bottom edge: a translate-and-flip transform maps them to the
// device, so one unit is one pixel and a one-pixel line stays one pixel.
// Texts are drawn after resetting the transform, in the picture's own
// coordinates; either way the device pixel ratio stays out of the arithmetic.

#include "graph2d.h"

#include "diagnostic.h"
#include "plottext.h"

#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

struct Graph2d::Axes
{
    PlotAxis axis[AxisCount];
    bool used[AxisCount] = {true, false, false};
    PlotFrame frame;
    double width = 0.0;
    double height = 0.0;
};

namespace {

const char* const kNoPositive[Graph2d::AxisCount] = {
    "No positive values to show on the logarithmic X axis",
    "No positive values to show on the logarithmic Y axis",
    "No positive values to show on the logarithmic right Y axis",
};

// The smallest and largest of the ranges taken.
struct Span
{
    bool any = false;
    double lo = 0.0;
    double hi = 0.0;

    void take(const std::pair<double, double>& range)
    {
        lo = any ? std::min(lo, range.first) : range.first;
        hi = any ? std::max(hi, range.second) : range.second;
        any = true;
    }
};

// A curve's values on one axis, scaled; a curve with a factor of 0 is
// hidden but still counts, as the range 0 to 0, on a linear axis.
bool extentOf(const QList<float>& values, const ValueExtent& extent, float factor, bool logarithmic,
              std::pair<double, double>* range)
{
    if (values.isEmpty()) {
        tWarning() << "Graph2d::getMinMax(). Empty data vector";
        *range = {0.0, 0.0};
        return !logarithmic;
    }
    if (factor == 0.0f) {
        *range = {0.0, 0.0};
        return !logarithmic && extent.hasFinite();
    }
    return extent.scaled(double(factor), logarithmic, range);
}

bool usable(const Graph2d::Range& range, bool logarithmic)
{
    return range.min != range.max && std::isfinite(range.min) && std::isfinite(range.max)
           && (!logarithmic || range.min > 0.0);
}

// One polyline per run would keep a dashed pen's pattern going along the
// curve, but the raster stroker slows down sharply with the length of a wide
// path that crosses itself (a noisy run: 0.8 s as one polyline, 0.15 s as
// separate lines). So a solid curve goes to a raster device as separate
// lines, to a vector device (SVG, PDF) as polylines, and a patterned one as
// polylines of a bounded length, each starting its pattern where the one
// before stopped.
constexpr int kPolylineChunk = 64;

void strokeRuns(QPainter& painter, QPen pen, const QList<QPolygonF>& runs)
{
    const bool raster = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster;
    if (pen.style() == Qt::SolidLine || pen.style() == Qt::NoPen) {
        painter.setPen(pen);
        if (!raster) {
            for (const QPolygonF& run : runs)
                painter.drawPolyline(run);
            return;
        }
        QList<QLineF> lines;
        for (const QPolygonF& run : runs) {
            for (qsizetype i = 1; i < run.size(); ++i)
                lines.append(QLineF(run.at(i - 1), run.at(i)));
        }
        painter.drawLines(lines);
        return;
    }
    // The dash offset is counted in pen widths (a zero width draws as one).
    const double unit = pen.widthF() > 0.0 ? pen.widthF() : 1.0;
    double travelled = 0.0;
    for (const QPolygonF& run : runs) {
        for (qsizetype start = 0; start + 1 < run.size(); start += kPolylineChunk) {
            const qsizetype end = std::min(start + kPolylineChunk, run.size() - 1);
            pen.setDashOffset(travelled / unit);
            painter.setPen(pen);
            painter.drawPolyline(run.constData() + start, int(end - start + 1));
            for (qsizetype i = start + 1; i <= end; ++i)
                travelled += QLineF(run.at(i - 1), run.at(i)).length();
        }
    }
}

} // namespace

void Graph2d::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!drawPlot(painter, QSizeF(size()), devicePixelRatioF(), true) && m_graphs.isEmpty()
        && !m_placeholder.isEmpty()) {
        painter.fillRect(rect(), Qt::white);
        drawMessage(painter, QSizeF(size()), m_placeholder);
    }
    painter.resetTransform();
    drawOverlay(painter);
}

bool Graph2d::drawPlot(QPainter& painter, const QSizeF& size, double resolution, bool onScreen)
{
    if (onScreen)
        m_reference = Reference();
    // Whole pixels: a frame on whole pixels draws its lines crisp.
    const QSizeF whole(std::floor(size.width()), std::floor(size.height()));
    if (whole.width() <= 2 * Margin + 10 || whole.height() <= 2 * Margin + 10)
        return false;
    if (m_graphs.isEmpty()) {
        tDebug() << "Graph2d no data to show";
        return false;
    }
    const PlotText text(painter.device());
    Axes axes;
    QString problem;
    const bool computed = computeAxes(axes, text, whole, &problem);
    if (!computed && problem.isEmpty())
        return false;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.resetTransform();
    painter.fillRect(QRectF(QPointF(0, 0), whole), Qt::white);
    if (!computed) {
        drawMessage(painter, whole, problem);
        painter.restore();
        return true;
    }
    if (onScreen) {
        for (int a = 0; a < AxisCount; ++a) {
            m_reference.logarithmic[a] = axes.axis[a].logarithmic;
            if (axes.used[a])
                m_reference.axes[a] = {axes.axis[a].fromAxis(axes.axis[a].min),
                                       axes.axis[a].fromAxis(axes.axis[a].max)};
        }
        m_reference.frame = axes.frame;
        m_reference.height = whole.height();
    }

    drawAxis(painter, text, axes.axis[XAxis], axes.frame, Side::Bottom, shownAxisTitle(XAxis), whole.height());
    drawAxis(painter, text, axes.axis[YAxis], axes.frame, Side::Left, shownAxisTitle(YAxis), whole.height());
    if (axes.used[RightAxis])
        drawAxis(painter, text, axes.axis[RightAxis], axes.frame, Side::Right, shownAxisTitle(RightAxis),
                 whole.height());
    drawCurves(painter, axes, resolution, onScreen);
    drawMarkers(painter, text, axes.axis[XAxis], axes.frame, whole.height());
    if (m_legendOn)
        drawLegend(painter, text, whole.width());
    painter.restore();
    return true;
}

bool Graph2d::computeAxes(Axes& axes, const PlotText& text, const QSizeF& size, QString* problem)
{
    axes.width = size.width();
    axes.height = size.height();
    Span extent[AxisCount];
    // Each curve's Y extent in its axis's units, for the headroom.
    QList<std::pair<int, std::pair<double, double>>> curves;
    for (const PlotGraph& graph : std::as_const(m_graphs)) {
        ValueExtent& xExtent = m_extents[graph.x];
        xExtent.update(*graph.x);
        ValueExtent& yExtent = m_extents[graph.y];
        yExtent.update(*graph.y);
        const int yAxis = graph.axis == PlotGraph::Right ? RightAxis : YAxis;
        axes.used[yAxis] = true;
        std::pair<double, double> range;
        if (extentOf(*graph.x, xExtent, graph.scaleX, m_logarithmic[XAxis], &range))
            extent[XAxis].take(range);
        if (extentOf(*graph.y, yExtent, graph.scaleY, m_logarithmic[yAxis], &range)) {
            extent[yAxis].take(range);
            curves.append({yAxis, range});
        }
    }
    for (int a = 0; a < AxisCount; ++a) {
        if (axes.used[a] && m_logarithmic[a] && !extent[a].any) {
            *problem = QString::fromLatin1(kNoPositive[a]);
            return false;
        }
    }

    bool fitting[AxisCount];
    double lo[AxisCount];
    double hi[AxisCount];
    for (int a = 0; a < AxisCount; ++a) {
        // A range that is not finite, or not positive on a logarithmic
        // axis, cannot be drawn: the data's is.
        fitting[a] = !usable(m_view[a], m_logarithmic[a]);
        lo[a] = fitting[a] ? (extent[a].any ? extent[a].lo : 0.0) : m_view[a].min;
        hi[a] = fitting[a] ? (extent[a].any ? extent[a].hi : 0.0) : m_view[a].max;
        if (m_logarithmic[a] && !(lo[a] > 0.0))
            lo[a] = hi[a] = 1.0;
        if (lo[a] == hi[a]) {
            lo[a] = m_logarithmic[a] ? lo[a] / 10.0 : lo[a] - 1.0;
            hi[a] = m_logarithmic[a] ? hi[a] * 10.0 : hi[a] + 1.0;
        }
    }

    const double labelHeight = text.label().height();
    const double titleHeight = text.title().height();
    const QString titles[AxisCount] = {shownAxisTitle(XAxis), shownAxisTitle(YAxis), shownAxisTitle(RightAxis)};
    const int top = int(std::ceil(Margin + labelHeight + 4));
    const int bottom = int(std::ceil(Margin + 6 + labelHeight + (titles[XAxis].isEmpty() ? 0.0 : titleHeight + 2)));
    const int plotHeight = int(size.height()) - top - bottom;
    if (plotHeight < 1)
        return false;
    for (int a = YAxis; a < AxisCount; ++a) {
        axes.axis[a] = m_logarithmic[a] ? PlotAxis::computeLog(lo[a], hi[a], plotHeight, fitting[a])
                                        : PlotAxis::compute(lo[a], hi[a], plotHeight, fitting[a]);
    }
    // Headroom where the plot fits itself to the data, on screen and in an
    // export alike: a curve does not run along the frame.
    for (const auto& curve : std::as_const(curves)) {
        PlotAxis& axis = axes.axis[curve.first];
        if (fitting[XAxis] && fitting[curve.first])
            axis.makeRoomFor(axis.toAxis(curve.second.first), axis.toAxis(curve.second.second));
    }

    const double exponentWidth = text.width(QString(QChar(0x00D7)) + QStringLiteral("10"), QStringLiteral("-10"));
    double left = Margin + labelWidth(text, axes.axis[YAxis]) + 8;
    if (!titles[YAxis].isEmpty())
        left += titleHeight + 4;
    left = std::max(left, Margin + exponentWidth);
    double right = Margin + 30;
    if (axes.used[RightAxis]) {
        right = Margin + labelWidth(text, axes.axis[RightAxis]) + 8;
        if (!titles[RightAxis].isEmpty())
            right += titleHeight + 4;
        right = std::max(right, Margin + exponentWidth);
    }
    if (m_legendOn)
        right += legendWidth(text) + Margin;
    const int plotLeft = int(std::ceil(left));
    const int plotWidth = int(size.width()) - plotLeft - int(std::ceil(right));
    if (plotWidth < 1)
        return false;
    axes.axis[XAxis] = m_logarithmic[XAxis] ? PlotAxis::computeLog(lo[XAxis], hi[XAxis], plotWidth, fitting[XAxis])
                                            : PlotAxis::compute(lo[XAxis], hi[XAxis], plotWidth, fitting[XAxis]);
    axes.frame.left = plotLeft;
    axes.frame.bottom = bottom;
    axes.frame.right = plotLeft + plotWidth - 1;
    axes.frame.top = bottom + plotHeight - 1;
    return true;
}

void Graph2d::drawCurves(QPainter& painter, const Axes& axes, double resolution, bool keep)
{
    const PlotFrame& frame = axes.frame;
    std::vector<std::unique_ptr<CurveReduction>> kept(size_t(m_graphs.size()));
    painter.save();
    // The frame's pixels, in the picture's coordinates.
    painter.setClipRect(QRectF(frame.left, axes.height - frame.top, frame.width(), frame.height()));
    // Plot coordinates, shifted by half a pixel so that a value on a tick is
    // drawn through the middle of the tick's pixel row and column, where the
    // one-pixel lines of the axes and the grid lie, rather than between two.
    const double middle = CurveReduction::PixelMiddle;
    painter.setTransform(QTransform(1, 0, 0, -1, middle, axes.height + middle));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    for (qsizetype i = 0; i < m_graphs.size(); ++i) {
        const PlotGraph& graph = m_graphs.at(i);
        if (graph.scaleX == 0.0f || graph.scaleY == 0.0f || graph.x->isEmpty() || graph.y->isEmpty())
            continue;
        CurveReduction::Mapping mapping;
        mapping.x = axes.axis[XAxis];
        mapping.y = axes.axis[graph.axis == PlotGraph::Right ? RightAxis : YAxis];
        mapping.frame = frame;
        mapping.resolution = resolution;
        // The reduction kept for this curve, wherever it stood in the list:
        // the panel rebuilds the list on every update.
        // An export's picture has a mapping of its own and leaves the
        // screen's reductions alone.
        std::unique_ptr<CurveReduction> reduction;
        for (auto& old : m_reductions) {
            if (keep && old && old->isFor(graph.x, graph.y, graph.scaleX, graph.scaleY, mapping)) {
                reduction = std::move(old);
                break;
            }
        }
        if (!reduction)
            reduction = std::make_unique<CurveReduction>(graph.x, graph.y, graph.scaleX, graph.scaleY, mapping);
        reduction->update();
        // A little beyond the frame, so that the clip and not the end of a
        // line decides where the curve stops.
        const double pad = std::max(2.0, graph.pen.widthF() + 2.0);
        const QRectF clip(frame.left - pad, frame.bottom - pad, frame.width() + 2 * pad, frame.height() + 2 * pad);
        strokeRuns(painter, graph.pen, reduction->visibleRuns(clip));
        kept[size_t(i)] = std::move(reduction);
    }
    painter.restore();
    if (keep)
        m_reductions = std::move(kept);
}

void Graph2d::drawMessage(QPainter& painter, const QSizeF& size, const QString& text) const
{
    painter.save();
    painter.resetTransform();
    painter.setFont(PlotText(painter.device()).titleFont());
    painter.setPen(QColor(96, 96, 96));
    painter.drawText(QRectF(QPointF(0, 0), size), Qt::AlignCenter | Qt::TextWordWrap, text);
    painter.restore();
}
