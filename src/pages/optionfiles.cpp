#include "optionfiles.h"

#include "diagnostic.h"
#include "translation.h"
#include "options.h"
#include "editorreload.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cstdlib>

OptionFiles::OptionFiles(Options* catalogue, QWidget* parent)
    : QWidget(parent)
    , m_options(catalogue)
{
    if (!m_options) {
        tCritical() << "OptionFiles::OptionFiles. Cannot initialise Null pointer provided for options.";
        std::exit(1);
    }
    m_tabs = new QTabWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
    for (const auto& file : m_options->files())
        addTab(&file->text, file->detail.isEmpty() ? translate(file->id) : file->detail);
}

OptionFiles::~OptionFiles()
{
    clear();
}

void OptionFiles::addTab(QString* target, const QString& title)
{
    if (!target || title.trimmed().isEmpty())
        return;
    auto* editor = new QPlainTextEdit;
    QFont font(QStringLiteral("Menlo"), 11);
    font.setStyleHint(QFont::Monospace);
    editor->setFont(font);
    editor->setPlainText(*target);
    connect(editor, &QPlainTextEdit::textChanged, this, &OptionFiles::saveData);
    const QString translated = translate(title);
    m_tabs->addTab(editor, translated.isEmpty() ? title : translated);
    m_list.append(Tab{title, target, editor});
}

QPlainTextEdit* OptionFiles::editor(int index) const
{
    return index >= 0 && index < m_list.size() ? m_list.at(index).editor : nullptr;
}

void OptionFiles::saveData()
{
    if (m_updating)
        return;
    for (const Tab& tab : m_list)
        *tab.target = tab.editor->toPlainText();
}

void OptionFiles::updateData()
{
    m_updating = true;
    for (const Tab& tab : m_list)
        EditorReload::reload(tab.editor, *tab.target);
    m_updating = false;
}

void OptionFiles::clear()
{
    const QList<Tab> tabs = m_list;
    m_list.clear();
    m_tabs->clear();
    for (const Tab& tab : tabs)
        delete tab.editor;
}

void OptionFiles::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    updateData();
}

void OptionFiles::hideEvent(QHideEvent* event)
{
    saveData();
    QWidget::hideEvent(event);
}

void OptionFiles::closeEvent(QCloseEvent* event)
{
    saveData();
    QWidget::closeEvent(event);
}
