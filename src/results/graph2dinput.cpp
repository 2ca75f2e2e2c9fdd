// The plot's interactions: the drags of the three tools, the tool strip,
// the wheel, the pinch gesture and Escape, and the arithmetic of zooming,
// moving and scaling the view. Every change is computed from the reference
// state of the last paint (a drag from the copy taken when it started), so a
// drag never accumulates rounding.

#include "graph2d.h"

#include <QGestureEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPinchGesture>
#include <QWheelEvent>

#include <cmath>

void Graph2d::zoomToRect(const QPoint& p0, const QPoint& p1)
{
    const double rx = m_reference.xMax - m_reference.xMin;
    const double ry = m_reference.yMax - m_reference.yMin;
    if (rx == 0.0 || ry == 0.0)
        return;
    const double pw = m_reference.frame.width();
    const double ph = m_reference.frame.height();
    const double xMin = m_reference.xMin + (std::min(p0.x(), p1.x()) - m_reference.frame.left) * rx / pw;
    const double xMax = xMin + std::abs(p1.x() - p0.x()) * rx / pw;
    const double yMin =
        m_reference.yMin + (height() - m_reference.frame.bottom - std::max(p0.y(), p1.y())) * ry / ph;
    const double yMax = yMin + std::abs(p1.y() - p0.y()) * ry / ph;
    setViewRange(xMin, xMax, yMin, yMax);
}

void Graph2d::pan(double dx, double dy)
{
    const double rx = m_reference.xMax - m_reference.xMin;
    const double ry = m_reference.yMax - m_reference.yMin;
    if (rx == 0.0 || ry == 0.0)
        return;
    // Half as far as the pointer: fine positioning without a second gear.
    const double shiftX = 0.5 * rx / m_reference.frame.width() * dx;
    const double shiftY = 0.5 * ry / m_reference.frame.height() * dy;
    setViewRange(m_reference.xMin + shiftX, m_reference.xMax + shiftX, m_reference.yMin + shiftY,
                 m_reference.yMax + shiftY);
}

void Graph2d::scale(double fx, double fy)
{
    if (m_graphs.isEmpty() || fx == 0.0 || fy == 0.0 || fx == 1.0 || fy == 1.0)
        return;
    const double cx = (m_reference.xMin + m_reference.xMax) / 2.0;
    const double cy = (m_reference.yMin + m_reference.yMax) / 2.0;
    const double sx = (m_reference.xMax - m_reference.xMin) / fx;
    const double sy = (m_reference.yMax - m_reference.yMin) / fy;
    setViewRange(cx - sx / 2.0, cx + sx / 2.0, cy - sy / 2.0, cy + sy / 2.0);
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
        const double half = height() / 2.0;
        scale(1.0 + dx / half, 1.0 - dy / half);
    } else if (m_dragMode == DragMoving) {
        pan(dx, -dy);
    }
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
        if (point.y() <= 49) {
            m_dragMode = ToolStrip;
            m_hovered = buttonAt(point);
            update();
        } else if (m_dragMode == ToolStrip && !m_leftHeld) {
            m_dragMode = Idle;
            m_hovered = -1;
            update();
        }
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
    if (delta.x() != 0)
        pan(delta.x(), 0.0);
    else if (delta.y() != 0)
        pan(0.0, -delta.y());
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
    if (m_dragMode == ToolStrip) {
        m_dragMode = Idle;
        m_hovered = -1;
        update();
    }
    QWidget::leaveEvent(event);
}

bool Graph2d::event(QEvent* event)
{
    if (event->type() == QEvent::Gesture)
        return gestureEvent(static_cast<QGestureEvent*>(event));
    return QWidget::event(event);
}

bool Graph2d::gestureEvent(QGestureEvent* event)
{
    if (QGesture* gesture = event->gesture(Qt::PinchGesture)) {
        const auto* pinch = static_cast<QPinchGesture*>(gesture);
        const double f = (pinch->scaleFactor() - 1.0) * 0.05 + 1.0;
        scale(f, f);
    }
    // Swipes and pans are taken and ignored, so that they reach nothing else.
    for (QGesture* gesture : event->gestures())
        event->accept(gesture);
    return true;
}
