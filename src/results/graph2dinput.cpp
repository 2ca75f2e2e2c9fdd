// The plot's interactions: the drags of the three tools, the tool strip,
// the wheel, pinches and Escape, and the arithmetic of zooming, moving and
// scaling the view. Every change is computed from the reference state of the
// last paint (a drag from the copy taken when it started), so a drag never
// accumulates rounding. The arithmetic runs in each axis's own units, which
// are decades on a logarithmic axis.

#include "graph2d.h"

#include <QGestureEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPinchGesture>
#include <QWheelEvent>

#include <cmath>
#include <limits>

namespace {

// The zoom of one notch of a mouse wheel (120 eighths of a degree).
constexpr double kWheelNotchZoom = 1.2;

double toUnits(double value, bool logarithmic)
{
    if (!logarithmic)
        return value;
    return value > 0.0 ? std::log10(value) : std::numeric_limits<double>::quiet_NaN();
}

double fromUnits(double units, bool logarithmic)
{
    return logarithmic ? std::pow(10.0, units) : units;
}

bool usableFactor(double factor)
{
    return factor > 0.0 && std::isfinite(factor);
}

} // namespace

// Pixels along the frame, from its left (x) or bottom (y) edge, are a value
// on an axis of the reference: the axis's ends fall on the frame's first and
// last pixels.
double Graph2d::referenceValue(int axis, double pixels) const
{
    const Range& range = m_reference.axes[axis];
    const bool logarithmic = m_reference.logarithmic[axis];
    const double a = toUnits(range.min, logarithmic);
    const double b = toUnits(range.max, logarithmic);
    const PlotFrame& frame = m_reference.frame;
    const double length = axis == XAxis ? frame.right - frame.left : frame.top - frame.bottom;
    return fromUnits(a + pixels * (b - a) / length, logarithmic);
}

void Graph2d::zoomToRect(const QPoint& p0, const QPoint& p1)
{
    const Reference& r = m_reference;
    if (r.x().min == r.x().max || r.y().min == r.y().max)
        return;
    const PlotFrame& frame = r.frame;
    const double x0 = std::min(p0.x(), p1.x()) - frame.left;
    const double x1 = std::max(p0.x(), p1.x()) - frame.left;
    // Pointer rows count downwards from the top, the frame's upwards.
    const double y0 = r.height - std::max(p0.y(), p1.y()) - frame.bottom;
    const double y1 = r.height - std::min(p0.y(), p1.y()) - frame.bottom;
    setViewRange(referenceValue(XAxis, x0), referenceValue(XAxis, x1), referenceValue(YAxis, y0),
                 referenceValue(YAxis, y1));
    if (r.right().min != r.right().max)
        setRightRange(referenceValue(RightAxis, y0), referenceValue(RightAxis, y1));
}

void Graph2d::pan(double dx, double dy)
{
    const Reference& r = m_reference;
    if (r.x().min == r.x().max || r.y().min == r.y().max)
        return;
    const PlotFrame& frame = r.frame;
    const double width = frame.right - frame.left;
    const double height = frame.top - frame.bottom;
    // Half as far as the pointer: fine positioning without a second gear.
    setViewRange(referenceValue(XAxis, 0.5 * dx), referenceValue(XAxis, width + 0.5 * dx),
                 referenceValue(YAxis, 0.5 * dy), referenceValue(YAxis, height + 0.5 * dy));
    if (r.right().min != r.right().max)
        setRightRange(referenceValue(RightAxis, 0.5 * dy), referenceValue(RightAxis, height + 0.5 * dy));
}

void Graph2d::scale(double fx, double fy)
{
    if (m_graphs.isEmpty() || !usableFactor(fx) || !usableFactor(fy) || (fx == 1.0 && fy == 1.0))
        return;
    // Each axis about its middle; a factor of 1 leaves its axis as it is,
    // so that a level drag scales X alone.
    auto scaled = [this](int axis, double factor) {
        if (factor == 1.0)
            return m_view[axis];
        const Range& range = m_reference.axes[axis];
        const bool logarithmic = m_reference.logarithmic[axis];
        const double a = toUnits(range.min, logarithmic);
        const double b = toUnits(range.max, logarithmic);
        const double middle = (a + b) / 2.0;
        const double half = (b - a) / 2.0 / factor;
        return Range{fromUnits(middle - half, logarithmic), fromUnits(middle + half, logarithmic)};
    };
    const Range x = scaled(XAxis, fx);
    const Range y = scaled(YAxis, fy);
    const Range right = scaled(RightAxis, fy);
    setViewRange(x.min, x.max, y.min, y.max);
    if (m_reference.right().min != m_reference.right().max)
        setRightRange(right.min, right.max);
}

void Graph2d::zoomAt(const QPointF& at, double factor)
{
    const Reference& r = m_reference;
    if (m_graphs.isEmpty() || !usableFactor(factor) || factor == 1.0 || r.x().min == r.x().max
        || r.y().min == r.y().max)
        return;
    const PlotFrame& frame = r.frame;
    const double px = at.x() - frame.left;
    const double py = r.height - at.y() - frame.bottom;
    // The value under the pointer stays under it.
    auto zoomed = [&](int axis, double pixels, double length) {
        const double pointer = pixels * (1.0 - 1.0 / factor);
        return Range{referenceValue(axis, pointer), referenceValue(axis, pointer + length / factor)};
    };
    const Range x = zoomed(XAxis, px, frame.right - frame.left);
    const Range y = zoomed(YAxis, py, frame.top - frame.bottom);
    setViewRange(x.min, x.max, y.min, y.max);
    if (r.right().min != r.right().max) {
        const Range right = zoomed(RightAxis, py, frame.top - frame.bottom);
        setRightRange(right.min, right.max);
    }
}

int Graph2d::buttonAt(const QPoint& point) const
{
    if (point.y() < 10 || point.y() > 41)
        return -1;
    for (int n = 1; n <= 4; ++n) {
        const int x0 = 10 + 40 * (n - 1);
        if (point.x() >= x0 && point.x() <= x0 + 31)
            return n;
    }
    return -1;
}

void Graph2d::applyDrag(const QPoint& point)
{
    if (point == m_pressPoint)
        return;
    m_reference = m_saved;
    const double dx = point.x() - m_pressPoint.x();
    const double dy = point.y() - m_pressPoint.y();
    if (m_dragMode == DragScaling) {
        // exp() is never 0 or below: no drag mirrors the plot, and a drag
        // over the whole height zooms by e squared, not by 150.
        const double h = height();
        scale(std::exp(2.0 * dx / h), std::exp(-2.0 * dy / h));
    } else if (m_dragMode == DragMoving) {
        pan(dx, -dy);
    }
}

void Graph2d::setHover(int mode, int button)
{
    // Only a change of the strip's look is worth a paint.
    if (mode == m_dragMode && button == m_hovered)
        return;
    m_dragMode = mode;
    m_hovered = button;
    update();
}

void Graph2d::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    bool startDrag = false;
    if (event->button() == Qt::LeftButton) {
        m_leftHeld = true;
        const int button = m_dragMode == ToolStrip ? buttonAt(point) : -1;
        if (!applyCommand(button)) {
            m_dragMode = m_tool;
            startDrag = true;
        }
    } else if (event->button() == Qt::MiddleButton) {
        m_dragMode = DragScaling;
        startDrag = true;
    } else {
        return;
    }
    if (startDrag) {
        m_saved = m_reference;
        m_pressPoint = point;
        m_currentPoint = point;
    }
    update();
}

void Graph2d::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    m_currentPoint = point;
    switch (m_dragMode) {
    case Selecting:
        update();
        break;
    case DragScaling:
    case DragMoving:
        applyDrag(point);
        break;
    default:
        if (point.y() <= 49)
            setHover(ToolStrip, buttonAt(point));
        else if (m_dragMode == ToolStrip && !m_leftHeld)
            setHover(Idle, -1);
        break;
    }
}

void Graph2d::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        m_leftHeld = false;
    const int mode = m_dragMode;
    switch (mode) {
    case DragScaling:
    case DragMoving:
        applyDrag(point);
        break;
    case Selecting:
        zoomToRect(m_pressPoint, point);
        break;
    default:
        break;
    }
    m_dragMode = (mode == Idle || mode == ToolStrip) && point.y() < 50 ? ToolStrip : Idle;
    if (m_dragMode == Idle)
        m_hovered = -1;
    update();
}

void Graph2d::wheelEvent(QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        const int notches = delta.y() != 0 ? delta.y() : delta.x();
        zoomAt(event->position(), std::pow(kWheelNotchZoom, notches / 120.0));
    } else if (delta.x() != 0) {
        pan(delta.x(), 0.0);
    } else if (delta.y() != 0) {
        pan(0.0, -delta.y());
    }
    event->accept();
}

void Graph2d::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_dragMode != Idle) {
        m_dragMode = Idle;
        m_hovered = -1;
        update();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Graph2d::leaveEvent(QEvent* event)
{
    if (m_dragMode == ToolStrip)
        setHover(Idle, -1);
    QWidget::leaveEvent(event);
}

bool Graph2d::event(QEvent* event)
{
    if (event->type() == QEvent::Gesture)
        return gestureEvent(static_cast<QGestureEvent*>(event));
    if (event->type() == QEvent::NativeGesture)
        return nativeGestureEvent(static_cast<QNativeGestureEvent*>(event));
    return QWidget::event(event);
}

bool Graph2d::nativeGestureEvent(QNativeGestureEvent* event)
{
    // A touchpad pinch: value() is this event's change of scale.
    if (event->gestureType() == Qt::ZoomNativeGesture)
        zoomAt(event->position(), 1.0 + event->value());
    event->accept();
    return true;
}

bool Graph2d::gestureEvent(QGestureEvent* event)
{
    // A touch screen's pinch; its scale factor, too, is this event's change.
    if (QGesture* gesture = event->gesture(Qt::PinchGesture)) {
        const auto* pinch = static_cast<QPinchGesture*>(gesture);
        if (pinch->changeFlags() & QPinchGesture::ScaleFactorChanged)
            zoomAt(mapFromGlobal(pinch->centerPoint()), pinch->scaleFactor());
    }
    // Swipes and pans are taken and ignored, so that they reach nothing else.
    for (QGesture* gesture : event->gestures())
        event->accept(gesture);
    return true;
}
