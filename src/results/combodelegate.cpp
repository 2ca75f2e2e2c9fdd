#include "combodelegate.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QIcon>
#include <QPainter>
#include <QStyle>

ComboDelegate::ComboDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

void ComboDelegate::setItems(const QList<Item>& items, const QString& placeholder)
{
    m_items = items;
    m_placeholder = placeholder;
}

QString ComboDelegate::textFor(int value, bool* matched) const
{
    for (const Item& item : m_items) {
        if (item.second == value) {
            if (matched)
                *matched = true;
            return item.first;
        }
    }
    if (matched)
        *matched = false;
    return m_placeholder;
}

void ComboDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    bool matched = false;
    QString text = textFor(index.data(Qt::EditRole).toInt(), &matched);
    const QString unmatched = index.data(UnmatchedTextRole).toString();
    if (!matched && !unmatched.isEmpty())
        text = unmatched;
    const QRect rect = option.rect.adjusted(4, 0, -4, 0);
    const QVariant alignmentRole = index.data(Qt::TextAlignmentRole);
    const int alignment = alignmentRole.isValid() ? (alignmentRole.toInt() | Qt::AlignVCenter)
                                                  : int(Qt::AlignLeft | Qt::AlignVCenter);
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorRole role = selected ? QPalette::HighlightedText : QPalette::Text;
    QPalette palette = option.palette;
    if (!matched) {
        const QVariant foreground = index.data(Qt::ForegroundRole);
        const bool marked = !unmatched.isEmpty() && foreground.canConvert<QBrush>();
        palette.setColor(role, marked ? foreground.value<QBrush>().color() : QColor(128, 128, 128));
    }
    const bool enabled = option.state & QStyle::State_Enabled;
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawItemText(painter, rect, alignment, palette, enabled, text, role);
}

QWidget* ComboDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    if (m_items.isEmpty())
        return nullptr;
    auto* combo = new QComboBox(parent);
    // On the list view itself: QComboBox::setItemDelegate deletes the
    // delegate it replaces, and the popup delegate is shared by every editor.
    if (m_popupDelegate)
        combo->view()->setItemDelegate(m_popupDelegate);
    for (const Item& item : m_items)
        combo->addItem(QIcon(), item.first, item.second);
    // A choice takes effect at once, not when the user happens to click
    // elsewhere. The editor stays open: typing a name to find it in the
    // list chooses entry after entry on the way.
    auto* self = const_cast<ComboDelegate*>(this);
    connect(combo, &QComboBox::activated, self, [self, combo] { emit self->commitData(combo); });
    return combo;
}

void ComboDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo)
        return;
    const int found = combo->findData(index.data(Qt::EditRole).toInt());
    if (found >= 0)
        combo->setCurrentIndex(found);
}

void ComboDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo || combo->currentIndex() < 0)
        return;
    model->setData(index, combo->currentData().toInt(), Qt::EditRole);
}

void ComboDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                         const QModelIndex&) const
{
    editor->setGeometry(option.rect);
}
