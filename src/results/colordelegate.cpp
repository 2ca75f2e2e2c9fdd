#include "colordelegate.h"

#include <QColorDialog>
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

QWidget* ColorDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    auto* dialog = new QColorDialog(parent);
    // The dialog is a window of its own: the view never sees it lose focus,
    // so its buttons end the edit. OK keeps the colour, Cancel does not.
    auto* self = const_cast<ColorDelegate*>(this);
    connect(dialog, &QDialog::accepted, self, [self, dialog] {
        emit self->commitData(dialog);
        emit self->closeEditor(dialog, QAbstractItemDelegate::NoHint);
    });
    connect(dialog, &QDialog::rejected, self,
            [self, dialog] { emit self->closeEditor(dialog, QAbstractItemDelegate::RevertModelCache); });
    return dialog;
}

void ColorDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* dialog = qobject_cast<QColorDialog*>(editor);
    if (!dialog)
        return;
    dialog->setCurrentColor(colorOf(index));
}

void ColorDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* dialog = qobject_cast<QColorDialog*>(editor);
    if (dialog)
        model->setData(index, dialog->currentColor(), Qt::EditRole);
}

void ColorDelegate::updateEditorGeometry(QWidget*, const QStyleOptionViewItem&, const QModelIndex&) const
{
}
