#ifndef TARVEL_EDITCOMMIT_H
#define TARVEL_EDITCOMMIT_H

// An editor stores what it holds when it loses the focus; a shortcut, a menu
// entry or a button that takes no focus never makes it lose it, so a value
// typed and not yet confirmed would be left out. Whatever uses the project
// (run, save, export, quit, another page) commits the focused editor first:
// it loses the focus and gets it back, and the user goes on typing there.

class QWidget;

class EditCommit
{
public:
    // The focused widget of the window (of the application when null).
    static void commitFocused(QWidget* window = nullptr);
};

#endif
