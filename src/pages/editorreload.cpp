#include "editorreload.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

bool EditorReload::reload(QPlainTextEdit* editor, const QString& text)
{
    if (editor->toPlainText() == text)
        return false;
    const int position = editor->textCursor().position();
    editor->setPlainText(text);
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(qMin(position, editor->document()->characterCount() - 1));
    editor->setTextCursor(cursor);
    return true;
}
