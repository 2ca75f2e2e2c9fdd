#include "linedelegate.h"

#include <QPainter>
#include <QPen>

LineDelegate::LineDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

void LineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int style = index.data(Qt::UserRole).toInt();
    const QRect rect = option.rect;
    painter->save();
    QColor color = m_color;
    if (option.state & QStyle::State_Selected) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(option.palette.highlight());
        painter->drawRect(rect);
        color = option.palette.color(QPalette::HighlightedText);
    }
    QPen pen(color, 2, Qt::PenStyle(qBound(0, style, int(Qt::DashDotDotLine))), Qt::RoundCap, Qt::RoundJoin);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    const int y = rect.top() + (rect.height() + 1) / 2;
    painter->drawLine(rect.left() + 2, y, rect.right() - 2, y);
    painter->restore();
}
