#include "listdelegateeditor.h"

#include "listdelegate.h"

#include <QPainter>

ListDelegateEditor::ListDelegateEditor(QWidget* parent)
    : QAbstractButton(parent)
{
    setAutoFillBackground(true);
    setMouseTracking(true);
    connect(this, &QAbstractButton::clicked, this, &ListDelegateEditor::hasClick);
}

void ListDelegateEditor::hasClick()
{
    emit clicked(data);
}

int ListDelegateEditor::state() const
{
    if (isDown())
        return ListDelegate::Pressed;
    if (underMouse())
        return ListDelegate::UnderMouse;
    if (hasFocus())
        return ListDelegate::Focused;
    return ListDelegate::Normal;
}

void ListDelegateEditor::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    ListDelegate::paintBar(&painter, rect(), text(), font(), state());
}

void ListDelegateEditor::enterEvent(QEnterEvent* event)
{
    QAbstractButton::enterEvent(event);
    update();
}

void ListDelegateEditor::leaveEvent(QEvent* event)
{
    QAbstractButton::leaveEvent(event);
    update();
}
