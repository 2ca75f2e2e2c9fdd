#ifndef TARVEL_EDITORRELOAD_H
#define TARVEL_EDITORRELOAD_H

// Puts a new text into a plain-text editor of a tabbed page while keeping the
// cursor where it was (clamped to the new text, selection cleared), so that a
// regenerated file does not throw the user back to the top.

#include <QString>

class QPlainTextEdit;

class EditorReload
{
public:
    // False, and nothing touched, when the editor already shows the text.
    static bool reload(QPlainTextEdit* editor, const QString& text);
};

#endif
