#include "colorwidgetprivate.h"

#include <QPainter>

ColorWidgetPrivate::ColorWidgetPrivate(const QColor* color, QWidget* parent)
    : QWidget(parent)
    , m_color(color)
{
}

void ColorWidgetPrivate::paintEvent(QPaintEvent*)
{
    if (width() <= 9 || height() <= 9)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::white);
    painter.setBrush(*m_color);
    const int radius = qMin(height() - 4, width() - 4) / 2;
    painter.drawRoundedRect(QRect(2, 2, width() - 5, height() - 5), radius, radius);
}
