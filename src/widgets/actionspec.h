#ifndef TARVEL_ACTIONSPEC_H
#define TARVEL_ACTIONSPEC_H

// What an action of a window's menus, tool bars or context menus is made
// from. Every window makes its actions through make(), so they all treat
// empty icons, tool tips and shortcuts the same way:
//
//   m_save = ActionSpec(tr("Save")).icon(":/images/filesave.png").shortcut("Ctrl+S").make(this);

#include <QString>
#include <QVariant>

class QAction;
class QObject;

class ActionSpec
{
public:
    explicit ActionSpec(const QString& text);

    ActionSpec& icon(const QString& resource);
    // Without one the toolkit shows the text.
    ActionSpec& toolTip(const QString& text);
    // Portable text, e.g. "Ctrl+S".
    ActionSpec& shortcut(const QString& keys);
    ActionSpec& enabled(bool on);
    ActionSpec& checkable();
    ActionSpec& data(const QVariant& value);

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
