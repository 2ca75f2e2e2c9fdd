#ifndef TARVEL_ACTIONRECIPE_H
#define TARVEL_ACTIONRECIPE_H

// What an action of a window's menus, tool bars or context menus is made
// from. Every window makes its actions through make(), so they all treat
// empty icons, tool tips and shortcuts the same way:
//
//   m_save = ActionRecipe(tr("Save")).icon(":/images/filesave.png").shortcut("Ctrl+S").make(this);

#include <QString>
#include <QVariant>

class QAction;
class QObject;

class ActionRecipe
{
public:
    explicit ActionRecipe(const QString& text);

    ActionRecipe& icon(const QString& resource);
    // Without one the toolkit shows the text.
    ActionRecipe& toolTip(const QString& text);
    // Portable text, e.g. "Ctrl+S".
    ActionRecipe& shortcut(const QString& keys);
    ActionRecipe& enabled(bool on);
    ActionRecipe& checkable();
    ActionRecipe& data(const QVariant& value);

    QAction* make(QObject* parent) const;

private:
    QString m_text;
    QString m_icon;
    QString m_toolTip;
    QString m_shortcut;
    bool m_enabled = true;
    bool m_checkable = false;
    QVariant m_data;
};

#endif
