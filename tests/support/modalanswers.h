#ifndef TARVEL_TESTS_MODALANSWERS_H
#define TARVEL_TESTS_MODALANSWERS_H

// Answers the message boxes and file dialogs a test provokes, in order, as
// they come up, and notes what each one said. A box shown with exec() blocks
// the test; the answers run from a timer inside that box's event loop.
//
//   ModalAnswers answers;
//   answers.add(ModalAnswers::press(QMessageBox::Cancel));
//   window.close();
//   QCOMPARE(answers.seen().value(0).text, "The project has been modified.");

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QList>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <functional>

class ModalAnswers
{
public:
    struct Seen
    {
        QString kind; // "box" or "file"
        QString title;
        QString text;
        QString informativeText;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QPixmap iconPixmap;
        bool hasParent = false;
        Qt::WindowModality modality = Qt::NonModal;
        // File dialogs
        QString directory;
        QString selected;
        QStringList filters;
        QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    };
    using Answer = std::function<void(QWidget*)>;

    ModalAnswers()
    {
        // Qt's own dialogs: a platform one would not be found here.
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(10);
    }

    void add(const Answer& answer) { m_answers.append(answer); }
    const QList<Seen>& seen() const { return m_seen; }
    int pending() const { return int(m_answers.size()); }
    // Delivers what the event loop holds, then answers a dialog that is up:
    // afterwards pending() tells whether anything asked, without waiting.
    void dropPending() { m_answers.clear(); }
    void settle()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        poll();
    }

    static Answer press(QMessageBox::StandardButton button)
    {
        return [button](QWidget* widget) {
            if (auto* box = qobject_cast<QMessageBox*>(widget)) {
                if (QAbstractButton* b = box->button(button))
                    b->click();
                else
                    box->reject();
            } else if (auto* dialog = qobject_cast<QDialog*>(widget)) {
                dialog->reject();
            }
        };
    }
    // A file dialog answered with the file, or cancelled when it is empty.
    static Answer chooseFile(const QString& file)
    {
        return [file](QWidget* widget) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            if (!dialog) {
                if (auto* other = qobject_cast<QDialog*>(widget))
                    other->reject();
                return;
            }
            if (file.isEmpty()) {
                dialog->reject();
                return;
            }
            // selectFile() moves to the file's folder, but leaves the name
            // field alone while it has the focus; and not accept(), which
            // checks the name against the dialog's file model, filled in
            // another thread.
            dialog->selectFile(file);
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(QFileInfo(file).fileName());
            static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
        };
    }

private:
    // The newest visible box or file dialog, modal to the application or to
    // a window.
    static QWidget* findDialog()
    {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            if (qobject_cast<QMessageBox*>(modal) || qobject_cast<QFileDialog*>(modal))
                return modal;
        }
        const QWidgetList all = QApplication::allWidgets();
        for (QWidget* widget : all) {
            if (!widget->isVisible() || !widget->isWindow())
                continue;
            if (qobject_cast<QMessageBox*>(widget) || qobject_cast<QFileDialog*>(widget))
                return widget;
        }
        return nullptr;
    }

    void poll()
    {
        if (m_answers.isEmpty())
            return;
        QWidget* widget = findDialog();
        if (!widget || widget == m_last)
            return;
        m_last = widget;
        Seen seen;
        seen.title = widget->windowTitle();
        seen.hasParent = widget->parentWidget() != nullptr;
        seen.modality = widget->windowModality();
        if (auto* box = qobject_cast<QMessageBox*>(widget)) {
            seen.kind = QStringLiteral("box");
            seen.text = box->text();
            seen.informativeText = box->informativeText();
            seen.buttons = box->standardButtons();
            if (auto* def = qobject_cast<QPushButton*>(box->defaultButton()))
                seen.defaultButton = box->standardButton(def);
            seen.iconPixmap = box->iconPixmap();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(widget)) {
            seen.kind = QStringLiteral("file");
            seen.directory = dialog->directory().absolutePath();
            seen.selected = dialog->selectedFiles().value(0);
            seen.filters = dialog->nameFilters();
            seen.acceptMode = dialog->acceptMode();
        }
        m_seen.append(seen);
        const Answer answer = m_answers.takeFirst();
        answer(widget);
    }

    QTimer m_timer;
    QList<Answer> m_answers;
    QList<Seen> m_seen;
    QPointer<QWidget> m_last;
};

#endif
