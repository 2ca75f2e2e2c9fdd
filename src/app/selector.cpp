#include "selector.h"

#include "diagnostic.h"
#include "editcommit.h"
#include "selectordelegate.h"

#include <QDebug>
#include <QHBoxLayout>
#include <QListWidget>
#include <QStackedWidget>

namespace {

const Qt::ItemFlags kEnabled = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
const Qt::ItemFlags kDisabled = Qt::ItemIsSelectable;

// The widget as Qt's debug stream names it: class, address and object name.
QString describe(const QWidget* widget)
{
    QString text;
    QDebug(&text) << widget;
    return text.trimmed();
}

} // namespace

Selector::Selector(QWidget* parent)
    : QWidget(parent)
{
    m_stack = new QStackedWidget(this);
    m_list = new QListWidget(this);
    m_list->setMaximumWidth(MaximumListWidth);
    QFont bold = font();
    bold.setWeight(QFont::Bold);
    m_list->setFont(bold);
    m_list->setItemDelegate(new SelectorDelegate(m_list));
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);
    layout->addWidget(m_list);
    layout->addWidget(m_stack);

    connect(m_list, &QListWidget::currentItemChanged, this, &Selector::onItemChange);
}

int Selector::pageIndex(const QListWidgetItem* item)
{
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

QListWidgetItem* Selector::entry(int idx) const
{
    if (idx < 0)
        return nullptr;
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem* item = m_list->item(row);
        if (pageIndex(item) == idx)
            return item;
    }
    return nullptr;
}

int Selector::addWidget(QWidget* widget, const QIcon& icon, const QString& caption)
{
    if (!widget)
        return -1;
    if (m_stack->indexOf(widget) >= 0) {
        tWarning() << "Selector::addWidget(). Widget" << fragment(describe(widget)) << "already exists";
        return -1;
    }
    const int idx = m_stack->addWidget(widget);
    auto* item = new QListWidgetItem(icon, caption);
    item->setData(Qt::UserRole, idx);
    item->setFlags(kEnabled);
    m_list->addItem(item);
    if (m_list->count() == 1)
        m_list->setCurrentItem(item);
    return idx;
}

void Selector::addSeparator()
{
    auto* item = new QListWidgetItem;
    item->setData(Qt::UserRole, -1);
    item->setFlags(Qt::NoItemFlags);
    m_list->addItem(item);
}

void Selector::setTabEnabled(int idx, bool enabled)
{
    if (QListWidgetItem* item = entry(idx))
        item->setFlags(enabled ? kEnabled : kDisabled);
}

void Selector::checkWgtEnable()
{
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem* item = m_list->item(row);
        const int idx = pageIndex(item);
        if (idx < 0)
            continue;
        const QWidget* page = m_stack->widget(idx);
        if (!page)
            continue;
        const bool entryEnabled = item->flags().testFlag(Qt::ItemIsEnabled);
        if (entryEnabled != page->isEnabled())
            item->setFlags(page->isEnabled() ? kEnabled : kDisabled);
    }
}

void Selector::onItemChange(QListWidgetItem* current, QListWidgetItem*)
{
    const int idx = pageIndex(current);
    if (idx >= 0 && idx != m_stack->currentIndex()) {
        // What is being typed on the page that goes is kept.
        EditCommit::commitFocused(this);
        m_stack->setCurrentIndex(idx);
    }
}

void Selector::setCurrentIndex(int idx)
{
    if (idx < 0 || idx >= m_stack->count())
        return;
    if (idx != m_stack->currentIndex())
        EditCommit::commitFocused(this);
    m_stack->setCurrentIndex(idx);
    if (QListWidgetItem* item = entry(idx))
        m_list->setCurrentItem(item);
}

void Selector::setCurrentWidget(QWidget* widget)
{
    if (!widget || m_stack->indexOf(widget) < 0)
        return;
    if (widget != m_stack->currentWidget())
        EditCommit::commitFocused(this);
    m_stack->setCurrentWidget(widget);
    if (QListWidgetItem* item = entry(m_stack->currentIndex()))
        m_list->setCurrentItem(item);
}
