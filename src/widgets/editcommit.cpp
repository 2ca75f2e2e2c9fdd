#include "editcommit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPointer>
#include <QWidget>

void EditCommit::commitFocused(QWidget* window)
{
    QPointer<QWidget> focused = window ? window->window()->focusWidget() : QApplication::focusWidget();
    if (!focused)
        return;
    if (!focused->hasFocus()) {
        // The window is not the active one (a dialog is up, or another
        // program): its focus widget finishes its edit as it does when the
        // window loses the activation.
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(focused, &out);
        return;
    }
    focused->clearFocus();
    // An item view closes its editor on the way; that one is gone or hidden.
    if (focused && focused->isVisible())
        focused->setFocus(Qt::OtherFocusReason);
}
