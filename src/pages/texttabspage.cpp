#include "texttabspage.h"

#include "editorreload.h"

#include "translation.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

TextTabsPage::TextTabsPage(const QFont& font, bool wrapLines, QWidget* parent)
    : QWidget(parent)
    , m_tabs(new QTabWidget(this))
    , m_font(font)
    , m_wrapLines(wrapLines)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
}

TextTabsPage::~TextTabsPage()
{
    clear();
}

void TextTabsPage::addTextTab(const QString& name, QString* target, const QString& title, bool readOnly)
{
    if (!target || title.trimmed().isEmpty())
        return;
    auto* editor = new QPlainTextEdit;
    editor->setFont(m_font);
    if (!m_wrapLines)
        editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor->setReadOnly(readOnly);
    editor->setPlainText(*target);
    // Each keystroke stores its own tab's text, not every tab's.
    connect(editor, &QPlainTextEdit::textChanged, this, [this, editor] { saveEditor(editor); });
    m_tabs->addTab(editor, title);
    m_list.append(Tab{name.trimmed().toUpper(), target, editor});
}

QPlainTextEdit* TextTabsPage::editor(int index) const
{
    return index >= 0 && index < m_list.size() ? m_list.at(index).editor : nullptr;
}

int TextTabsPage::tabOf(const QString& name) const
{
    const QString key = name.trimmed().toUpper();
    for (int index = 0; index < m_list.size(); ++index) {
        if (m_list.at(index).name == key)
            return index;
    }
    return -1;
}

void TextTabsPage::saveData()
{
    if (m_updating || !canStore())
        return;
    bool edited = false;
    for (const Tab& tab : m_list) {
        const QString text = tab.editor->toPlainText();
        if (text != *tab.target) {
            *tab.target = text;
            edited = true;
        }
    }
    if (edited)
        textsEdited();
}

void TextTabsPage::saveEditor(const QPlainTextEdit* editor)
{
    if (m_updating || !canStore())
        return;
    for (const Tab& tab : std::as_const(m_list)) {
        if (tab.editor != editor)
            continue;
        QString text = editor->toPlainText();
        if (text == *tab.target)
            return;
        *tab.target = std::move(text);
        textsEdited();
        return;
    }
}

QString TextTabsPage::tabTitle(const QString& id, const QString& description)
{
    // The translation table names the files it knows by their id ("File
    // INP"); any other file is called by its description.
    if (Translation::instance().indexOf(id) >= 0)
        return translate(id);
    return description;
}

QFont TextTabsPage::fixedFont(int pointSize)
{
    // Input files are written in columns.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(pointSize);
    return font;
}

void TextTabsPage::updateData()
{
    m_updating = true;
    for (const Tab& tab : m_list)
        EditorReload::reload(tab.editor, *tab.target);
    m_updating = false;
}

void TextTabsPage::clear()
{
    const QList<Tab> tabs = m_list;
    m_list.clear();
    m_tabs->clear();
    for (const Tab& tab : tabs)
        delete tab.editor;
}

void TextTabsPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    updateData();
}

void TextTabsPage::hideEvent(QHideEvent* event)
{
    saveData();
    QWidget::hideEvent(event);
}

void TextTabsPage::closeEvent(QCloseEvent* event)
{
    saveData();
    QWidget::closeEvent(event);
}
