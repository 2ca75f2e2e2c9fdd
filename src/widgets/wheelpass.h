#ifndef TARVEL_WHEELPASS_H
#define TARVEL_WHEELPASS_H

// Editors placed in a scrolling view (a tree of options) must not change
// their value when the user only scrolls over them: the wheel over an editor
// that has no focus scrolls the view around it instead.

class QWheelEvent;
class QWidget;

class WheelPass
{
public:
    // Hands the event to the nearest scrolling view that holds the editor;
    // true when one took it. The event counts as handled either way.
    static bool toScrollArea(QWidget* editor, QWheelEvent* event);
};

#endif
