#include "colordelegate.h"

#include <QColorDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

// Only a colour is one: Qt 6 would turn the text "red" into red.
QColor colorOf(const QModelIndex& index)
{
    const QVariant value = index.data(Qt::EditRole);
    return value.typeId() == QMetaType::QColor ? value.value<QColor>() : QColor();
}

} // namespace

ColorDelegate::ColorDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

void ColorDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRect cell = option.rect;
    if (cell.width() < 10 || cell.height() < 10)
        return;
    QColor fill = colorOf(index);
    QColor outline = Qt::darkGray;
    if (option.state & QStyle::State_Enabled) {
        if (option.state & QStyle::State_Selected)
            outline = Qt::white;
    } else {
        const int grey = (11 * fill.red() + 16 * fill.green() + 5 * fill.blue()) / 32;
        fill = QColor(grey, grey, grey);
    }
    const QRect swatch(cell.left() + 2, cell.top() + 2, cell.width() - 6, cell.height() - 6);
    const int radius = qMin(swatch.width(), swatch.height()) / 2;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(QPen(outline, 1));
    painter->setBrush(QBrush(fill, Qt::SolidPattern));
    painter->drawRoundedRect(swatch, radius, radius);
    painter->restore();
}

bool ColorDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                const QModelIndex& index)
{
    bool open = false;
    if (event->type() == QEvent::MouseButtonDblClick) {
        open = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        open = key == Qt::Key_F2 || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    }
    if (!open || !(index.flags() & Qt::ItemIsEditable))
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    // A modal dialog of its own, not an editor of the view: the view commits
    // an editor whenever it hides, so Cancel would keep the colour the user
    // had browsed to. Only a colour chosen with OK is stored.
    const QColor chosen = QColorDialog::getColor(colorOf(index), const_cast<QWidget*>(option.widget));
    if (chosen.isValid())
        model->setData(index, chosen, Qt::EditRole);
    return true;
}

QWidget* ColorDelegate::createEditor(QWidget*, const QStyleOptionViewItem&, const QModelIndex&) const
{
    return nullptr;
}
