#include "optbutton.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QTreeWidget>
#include <QTreeWidgetItem>

#include <algorithm>

OptButton::OptButton(QWidget* parent)
    : QPushButton(parent)
    , m_pixmap(QStringLiteral(":/images/expand.png"))
{
    setCheckable(true);
    setSizePolicy(QSizePolicy::Expanding, sizePolicy().verticalPolicy());
    setMinimumHeight(15);
    setText(QStringLiteral("[group button]"));
    connect(this, &QAbstractButton::toggled, this, &OptButton::applyToItem);
}

void OptButton::setText(const QString& text)
{
    m_text = text;
    // The base class keeps it too, for accessibility and size hints.
    QPushButton::setText(text);
}

void OptButton::applyToItem(bool expanded)
{
    if (m_item && m_item->treeWidget())
        m_item->setExpanded(expanded);
}

void OptButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Left:
    case Qt::Key_Right:
        setDown(true);
        event->accept();
        return;
    default:
        QPushButton::keyPressEvent(event);
    }
}

void OptButton::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat()) {
        QPushButton::keyReleaseEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        setDown(false);
        setChecked(!isChecked());
        event->accept();
        return;
    case Qt::Key_Left:
        setDown(false);
        setChecked(false);
        event->accept();
        return;
    case Qt::Key_Right:
        setDown(false);
        setChecked(true);
        event->accept();
        return;
    default:
        QPushButton::keyReleaseEvent(event);
    }
}

void OptButton::mouseReleaseEvent(QMouseEvent* event)
{
    QPushButton::mouseReleaseEvent(event);
    setFocus(Qt::MouseFocusReason);
}

void OptButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect area = rect();
    const bool over = testAttribute(Qt::WA_UnderMouse);
    const bool focus = hasFocus();

    QColor pen(Qt::white);
    if (isDown()) {
        painter.fillRect(area, QColor(46, 93, 127));
        pen.setAlpha(192);
    } else {
        QLinearGradient gradient(area.left(), area.top(), area.left(), area.bottom());
        if (over && !focus) {
            gradient.setColorAt(0, QColor(240, 240, 240));
            gradient.setColorAt(1, QColor(208, 208, 208));
        } else if (over) {
            gradient.setColorAt(0, QColor::fromHsl(200, 255, 220));
            gradient.setColorAt(1, QColor::fromHsl(200, 255, 130));
        } else if (focus) {
            gradient.setColorAt(0, QColor::fromHsl(200, 255, 190));
            gradient.setColorAt(1, QColor::fromHsl(200, 255, 100));
        } else {
            gradient.setColorAt(0, QColor(224, 224, 224));
            gradient.setColorAt(1, QColor(192, 192, 192));
        }
        painter.fillRect(area, gradient);
    }

    const int shift = isDown() ? 1 : 0;
    // Room is left for the arrow on the left, as wide as the button is high.
    const int room = (area.right() - area.left()) - (area.bottom() - area.top()) - 9;
    QString shown = m_text;
    while (!shown.isEmpty() && painter.fontMetrics().horizontalAdvance(shown) >= room)
        shown.chop(1);
    painter.setPen(pen);
    painter.drawText(area.translated(0, shift), Qt::AlignCenter, shown);

    paintArrow(painter, shift);
}

void OptButton::paintArrow(QPainter& painter, int shift) const
{
    const double s = std::min(height() - 8, 12);
    const QPointF centroid(int(8 + 0.2887 * s), int(height() / 2) + shift);
    QPolygonF triangle;
    if (isChecked()) {
        // Expanded: the collapsed arrow turned by 90 degrees, pointing down.
        triangle << QPointF(s / 2, -0.2887 * s) << QPointF(0, 0.5774 * s) << QPointF(-s / 2, -0.2887 * s);
    } else {
        triangle << QPointF(-0.2887 * s, -s / 2) << QPointF(0.5774 * s, 0) << QPointF(-0.2887 * s, s / 2);
    }
    triangle.translate(centroid);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(triangle);
}
