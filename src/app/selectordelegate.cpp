#include "selectordelegate.h"

#include <QIcon>
#include <QPainter>

namespace {

// The native size of an icon: the largest picture it holds.
QSize nativeSize(const QIcon& icon)
{
    return icon.isNull() ? QSize(0, 0) : icon.actualSize(QSize(1024, 1024));
}

QIcon iconOf(const QModelIndex& index)
{
    return qvariant_cast<QIcon>(index.data(Qt::DecorationRole));
}

} // namespace

SelectorDelegate::SelectorDelegate(QObject* parent)
    : QItemDelegate(parent)
{
}

bool SelectorDelegate::isSeparator(const QModelIndex& index)
{
    return !index.isValid() || !index.model() || index.data(Qt::UserRole).toInt() < 0;
}

QSize SelectorDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (isSeparator(index))
        return QSize(32, 16);
    const QSize icon = nativeSize(iconOf(index));
    const QString caption = index.data(Qt::DisplayRole).toString();
    const QFontMetrics metrics(option.font);
    const int width = qMax(qMin(icon.width(), MaximumIconSide), metrics.horizontalAdvance(caption));
    const int height = qMin(icon.height() + 4, MaximumIconHeight) + metrics.height();
    return QSize(width, height);
}

void SelectorDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRect rect = option.rect;
    painter->save();

    if (isSeparator(index)) {
        // Crisp: one pixel row, not two half-covered ones.
        const int inset = rect.width() / 10;
        const int y = rect.top() + rect.height() / 2;
        painter->setPen(QPen(QColor(192, 192, 192, 255), 1));
        painter->drawLine(rect.left() + inset, y, rect.right() - inset, y);
        painter->restore();
        return;
    }

    painter->setRenderHint(QPainter::Antialiasing);
    const bool enabled = option.state.testFlag(QStyle::State_Enabled);
    const QPalette::ColorGroup group =
        !enabled ? QPalette::Disabled
                 : (option.state.testFlag(QStyle::State_Active) ? QPalette::Normal : QPalette::Inactive);
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    QBrush captionBrush = option.palette.brush(group, QPalette::Text);
    if (selected) {
        painter->fillRect(rect, option.palette.brush(group, QPalette::Highlight));
        captionBrush = option.palette.brush(group, QPalette::HighlightedText);
    }
    painter->setPen(QPen(captionBrush, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter->setFont(option.font);

    const QFontMetrics metrics(option.font);
    const QIcon icon = iconOf(index);
    QRect captionRect = rect;
    if (!icon.isNull()) {
        const QRect iconArea(rect.left(), rect.top() + 4, rect.width(), rect.height() - metrics.height() - 8);
        const QSize drawn = icon.actualSize(iconArea.size());
        icon.paint(painter, iconArea, Qt::AlignCenter, enabled ? QIcon::Normal : QIcon::Disabled);
        captionRect.setTop(rect.top() + drawn.height());
    }
    painter->drawText(captionRect, Qt::AlignHCenter | Qt::AlignVCenter, index.data(Qt::DisplayRole).toString());
    painter->restore();
}
