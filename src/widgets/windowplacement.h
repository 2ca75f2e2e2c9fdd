#ifndef TARVEL_WINDOWPLACEMENT_H
#define TARVEL_WINDOWPLACEMENT_H

// Where a window first appears: at its size, centred on the desktop's
// available area, then where the user last left it, when that is stored.

#include <QSize>
#include <QString>

class QSettings;
class QWidget;

class WindowPlacement
{
public:
    static void place(QWidget* window, const QSize& size, QSettings& settings, const QString& key);
};

#endif
