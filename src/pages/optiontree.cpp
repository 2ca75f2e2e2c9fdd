#include "optiontree.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidgetItemIterator>

OptionTree::OptionTree(QWidget* parent)
    : QTreeWidget(parent)
{
    m_minimalWidths.resize(columnCount(), 1);
}

OptionTree::~OptionTree()
{
    // The editors may hold pointers into data that dies with the owner of
    // this tree; none may be left for a deferred delete.
    clear();
}

void OptionTree::setItemWidget(QTreeWidgetItem* item, int column, QWidget* widget)
{
    if (widget && !m_widgets.contains(widget))
        m_widgets.append(widget);
    QTreeWidget::setItemWidget(item, column, widget);
}

void OptionTree::removeItemWidget(QTreeWidgetItem* item, int column)
{
    QWidget* widget = itemWidget(item, column);
    if (!widget)
        return;
    m_widgets.removeAll(widget);
    // The view lets go of the widget (and schedules a delete); deleting it
    // now drops that request and nothing stale can reach it in between.
    QTreeWidget::setItemWidget(item, column, nullptr);
    delete widget;
}

void OptionTree::removeItemWidgets(QTreeWidgetItem* item)
{
    for (int column = 0; column < columnCount(); ++column)
        removeItemWidget(item, column);
}

void OptionTree::setColumnCount(int columns)
{
    QTreeWidget::setColumnCount(columns);
    while (m_minimalWidths.size() < columns)
        m_minimalWidths.append(1);
}

bool OptionTree::moveItem(QTreeWidgetItem* item, QTreeWidgetItem* newParent)
{
    if (!item)
        return false;
    QTreeWidgetItem* parent = item->parent();
    const int index = parent ? parent->indexOfChild(item) : indexOfTopLevelItem(item);
    if (index < 0)
        return false;
    removeItemWidgets(item);
    if (parent)
        parent->takeChild(index);
    else
        takeTopLevelItem(index);
    if (newParent)
        newParent->addChild(item);
    else
        addTopLevelItem(item);
    setCurrentItem(item);
    return true;
}

void OptionTree::removeItem(QTreeWidgetItem* item)
{
    if (!item)
        return;
    while (item->childCount() > 0)
        removeItem(item->child(item->childCount() - 1));
    removeItemWidgets(item);
    delete item;
}

void OptionTree::setColumnMinimalWidth(int column, int width)
{
    if (column < 0 || column >= columnCount() || width < 0)
        return;
    while (m_minimalWidths.size() <= column)
        m_minimalWidths.append(1);
    m_minimalWidths[column] = width;
}

int OptionTree::columnMinimalWidth(int column) const
{
    return column >= 0 && column < m_minimalWidths.size() ? m_minimalWidths.at(column) : -1;
}

int OptionTree::ownedWidgetCount() const
{
    int count = 0;
    for (const QPointer<QWidget>& widget : m_widgets) {
        if (widget)
            ++count;
    }
    return count;
}

void OptionTree::clear()
{
    // The view only schedules the widgets' deletion; they go here and now.
    QTreeWidget::clear();
    deleteOwnedWidgets();
}

void OptionTree::deleteOwnedWidgets()
{
    const QList<QPointer<QWidget>> widgets = m_widgets;
    m_widgets.clear();
    for (const QPointer<QWidget>& widget : widgets)
        delete widget.data();
}

void OptionTree::updateSizes()
{
    // The view measures only the rows in view: the folded ones are opened
    // for the measure, so that opening a group later needs no wider column.
    QList<QTreeWidgetItem*> folded;
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        if ((*it)->childCount() > 0 && !(*it)->isExpanded())
            folded.append(*it);
    }
    const bool blocked = blockSignals(true);
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    for (QTreeWidgetItem* item : folded)
        item->setExpanded(true);
    for (int column = 0; column < columnCount(); ++column) {
        resizeColumnToContents(column);
        if (columnWidth(column) < columnMinimalWidth(column))
            setColumnWidth(column, columnMinimalWidth(column));
    }
    for (QTreeWidgetItem* item : folded)
        item->setExpanded(false);
    setUpdatesEnabled(updates);
    blockSignals(blocked);
}

void OptionTree::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Bar:
        if (currentItem()) {
            emit accepted();
            event->accept();
            return;
        }
        break;
    case Qt::Key_Escape:
        emit rejected();
        event->accept();
        return;
    default:
        break;
    }
    QTreeWidget::keyPressEvent(event);
}
