#include "schemeextras.h"

#include "editorreload.h"
#include "scheme.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

SchemeExtras::SchemeExtras(QWidget* parent)
    : QWidget(parent)
{
    m_tabs = new QTabWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
}

SchemeExtras::~SchemeExtras()
{
    clear();
}

void SchemeExtras::setScheme(Scheme* scheme)
{
    if (m_scheme)
        disconnect(m_scheme, &Scheme::extrasChanged, this, &SchemeExtras::schemeChanged);
    // The old tabs' texts belong to the old scheme: stored before they go.
    saveData();
    m_scheme = scheme;
    clear();
    if (m_scheme)
        connect(m_scheme, &Scheme::extrasChanged, this, &SchemeExtras::schemeChanged);
    schemeChanged();
}

void SchemeExtras::setEditAll(bool on)
{
    if (on == m_editAll)
        return;
    saveData();
    m_editAll = on;
    schemeChanged();
}

void SchemeExtras::addTab(QString* target, const QString& title, bool readOnly)
{
    addTab(QString(), target, title, readOnly);
}

void SchemeExtras::addTab(const QString& name, QString* target, const QString& title, bool readOnly)
{
    if (!target || title.trimmed().isEmpty())
        return;
    auto* editor = new QPlainTextEdit;
    QFont font(QStringLiteral("Courier"), 10);
    font.setStyleHint(QFont::Monospace);
    editor->setFont(font);
    editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor->setReadOnly(readOnly);
    editor->setPlainText(*target);
    connect(editor, &QPlainTextEdit::textChanged, this, &SchemeExtras::saveData);
    m_tabs->addTab(editor, title);
    m_list.append(Tab{name, target, editor});
}

QPlainTextEdit* SchemeExtras::editor(int index) const
{
    return index >= 0 && index < m_list.size() ? m_list.at(index).editor : nullptr;
}

int SchemeExtras::tabOf(const QString& name) const
{
    const QString key = name.trimmed().toUpper();
    for (int index = 0; index < m_list.size(); ++index) {
        if (m_list.at(index).name == key)
            return index;
    }
    return -1;
}

void SchemeExtras::saveData()
{
    if (m_updating || !m_scheme)
        return;
    bool edited = false;
    for (const Tab& tab : m_list) {
        const QString text = tab.editor->toPlainText();
        if (text != *tab.target) {
            *tab.target = text;
            edited = true;
        }
    }
    // An edited text is an unsaved project (closing must ask); merely
    // leaving the page changes nothing and says nothing.
    if (edited)
        m_scheme->setUnsaved();
}

void SchemeExtras::updateData()
{
    m_updating = true;
    for (const Tab& tab : m_list)
        EditorReload::reload(tab.editor, *tab.target);
    m_updating = false;
}

void SchemeExtras::clear()
{
    const QList<Tab> tabs = m_list;
    m_list.clear();
    m_tabs->clear();
    for (const Tab& tab : tabs)
        delete tab.editor;
}

void SchemeExtras::schemeChanged()
{
    clear();
    if (!m_scheme)
        return;
    for (const QString& name : m_scheme->extraNames()) {
        const ExtraData* extra = m_scheme->getExtra(name);
        if (!extra || !extra->testFlag(ExtraData::Visible))
            continue;
        const bool editable = m_editAll || extra->testFlag(ExtraData::Editable);
        addTab(extra->name, m_scheme->pointerToExtra(name), extra->detail, !editable);
    }
}

void SchemeExtras::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    updateData();
}

void SchemeExtras::hideEvent(QHideEvent* event)
{
    saveData();
    QWidget::hideEvent(event);
}

void SchemeExtras::closeEvent(QCloseEvent* event)
{
    saveData();
    QWidget::closeEvent(event);
}
