#include "windowplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

void WindowPlacement::place(QWidget* window, const QSize& size, QSettings& settings, const QString& key)
{
    window->resize(size);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window->move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
    }
    const QByteArray geometry = settings.value(key).toByteArray();
    if (!geometry.isEmpty())
        window->restoreGeometry(geometry);
}
