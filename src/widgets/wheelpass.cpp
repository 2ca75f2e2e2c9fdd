#include "wheelpass.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QWheelEvent>

bool WheelPass::toScrollArea(QWidget* editor, QWheelEvent* event)
{
    // Handled here whatever happens: the editor itself must not turn.
    event->accept();
    for (QWidget* parent = editor->parentWidget(); parent; parent = parent->parentWidget()) {
        auto* area = qobject_cast<QAbstractScrollArea*>(parent);
        if (!area)
            continue;
        QWidget* viewport = area->viewport();
        const QPointF at = viewport->mapFromGlobal(event->globalPosition());
        QWheelEvent passed(at, event->globalPosition(), event->pixelDelta(), event->angleDelta(), event->buttons(),
                           event->modifiers(), event->phase(), event->inverted(), event->source());
        QCoreApplication::sendEvent(viewport, &passed);
        return true;
    }
    return false;
}
