#include "schemeextras.h"

namespace {

QFont editorFont()
{
    QFont font(QStringLiteral("Courier"), 10);
    font.setStyleHint(QFont::Monospace);
    return font;
}

} // namespace

SchemeExtras::SchemeExtras(QWidget* parent)
    : TextTabsPage(editorFont(), false, parent)
{
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
    addTextTab(QString(), target, title, readOnly);
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
        addTextTab(extra->name, m_scheme->pointerToExtra(name), extra->detail, !editable);
    }
}
