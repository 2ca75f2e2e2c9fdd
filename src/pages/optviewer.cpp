#include "optviewer.h"

#include "options.h"
#include "optbutton.h"
#include "optioncombo.h"
#include "optionfield.h"

#include <QHeaderView>

#include <cstdio>
#include <cstdlib>

OptViewer::OptViewer(Options* catalogue, QWidget* parent)
    : QTreeWidget(parent)
    , m_options(catalogue)
{
    if (!m_options) {
        // Before any log may exist: straight to the console.
        std::fputs("Error Initialising OptionViewer. 'opt' is a NULL Pointer \n", stderr);
        std::fflush(stderr);
        std::exit(1);
    }
    setColumnCount(2);
    // The editors keep their 200 pixels; the names and texts take the rest.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
    setColumnWidth(1, 200);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    rebuild();
}

OptViewer::~OptViewer()
{
    deleteEditors();
}

void OptViewer::deleteEditors()
{
    // The view only schedules deletion of its cell widgets; the editors are
    // bound to catalogue values and go at once.
    QTreeWidget::clear();
    const QList<QPointer<QWidget>> editors = m_editors;
    m_editors.clear();
    for (const QPointer<QWidget>& editor : editors)
        delete editor.data();
}

QString OptViewer::readOnlyToolTip()
{
    return tr("The catalogue, shown for reference: start a project on the Home page to edit values.");
}

void OptViewer::rebuild()
{
    deleteEditors();
    for (const auto& group : m_options->groups()) {
        auto* groupItem = new QTreeWidgetItem(this);
        groupItem->setFirstColumnSpanned(true);
        auto* button = new OptButton;
        button->setText(group->text);
        button->setToolTip(group->text);
        button->setItem(groupItem);
        setItemWidget(groupItem, 0, button);
        m_editors.append(button);

        for (const auto& option : group->options) {
            auto* row = new QTreeWidgetItem(groupItem);
            row->setText(0, QStringLiteral("%1 \t %2").arg(option->name, option->text));
            // The long comment is rich text; the short one is on the row.
            row->setToolTip(0, option->detail.isEmpty() ? option->text : option->detail);
            QWidget* editor = nullptr;
            if (option->type == OOption::Menu && !option->values.isEmpty())
                editor = new OptionCombo(option.get(), &option->value);
            else if (option->type == OOption::Field)
                editor = new OptionField(option.get());
            if (editor) {
                // For reference only: no project uses these values, and a
                // new project starts from its scheme's.
                editor->setEnabled(false);
                editor->setToolTip(readOnlyToolTip());
                setItemWidget(row, 1, editor);
                m_editors.append(editor);
            }
        }
    }
}
