#include "actionrecipe.h"

#include <QAction>
#include <QIcon>
#include <QKeySequence>

ActionRecipe::ActionRecipe(const QString& text)
    : m_text(text)
{
}

ActionRecipe& ActionRecipe::icon(const QString& resource)
{
    m_icon = resource;
    return *this;
}

ActionRecipe& ActionRecipe::toolTip(const QString& text)
{
    m_toolTip = text;
    return *this;
}

ActionRecipe& ActionRecipe::shortcut(const QString& keys)
{
    m_shortcut = keys;
    return *this;
}

ActionRecipe& ActionRecipe::enabled(bool on)
{
    m_enabled = on;
    return *this;
}

ActionRecipe& ActionRecipe::checkable()
{
    m_checkable = true;
    return *this;
}

ActionRecipe& ActionRecipe::data(const QVariant& value)
{
    m_data = value;
    return *this;
}

QAction* ActionRecipe::make(QObject* parent) const
{
    auto* action = new QAction(m_text, parent);
    if (!m_icon.isEmpty())
        action->setIcon(QIcon(m_icon));
    if (!m_toolTip.isEmpty())
        action->setToolTip(m_toolTip);
    if (!m_shortcut.isEmpty())
        action->setShortcut(QKeySequence(m_shortcut));
    action->setEnabled(m_enabled);
    action->setCheckable(m_checkable);
    if (m_data.isValid())
        action->setData(m_data);
    return action;
}
