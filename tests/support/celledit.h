#ifndef TARVEL_TESTS_CELLEDIT_H
#define TARVEL_TESTS_CELLEDIT_H

// Edits a cell of an item view as a user does: opens its line editor,
// replaces the text when one is given, presses Return, and lets the view
// commit (it does so in a queued call). Returns what the editor showed when
// it opened. A cell without a line editor ends the test run.

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QLineEdit>
#include <QtTest>

class CellEdit
{
public:
    static QString type(QAbstractItemView* view, const QModelIndex& cell, const QString* text = nullptr)
    {
        view->setCurrentIndex(cell);
        view->edit(cell);
        auto* line = qobject_cast<QLineEdit*>(view->indexWidget(cell));
        if (!line)
            qFatal("the cell has no line editor");
        const QString shown = line->text();
        if (text) {
            line->selectAll();
            QTest::keyClicks(line, *text);
        }
        QTest::keyClick(line, Qt::Key_Return);
        QCoreApplication::processEvents();
        return shown;
    }
};

#endif
