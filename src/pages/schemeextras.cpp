#include "schemeextras.h"

SchemeExtras::SchemeExtras(QWidget* parent)
    : TextTabsPage(fixedFont(10), false, parent)
{
}

void SchemeExtras::setScheme(Scheme* scheme)
{
    if (m_scheme) {
        disconnect(m_scheme, &Scheme::extrasChanged, this, &SchemeExtras::schemeChanged);
        disconnect(m_scheme, &Scheme::aboutToClear, this, &SchemeExtras::dropTabs);
    }
    // The old tabs' texts belong to the old scheme: stored before they go.
    saveData();
    m_scheme = scheme;
    dropTabs();
    if (m_scheme) {
        connect(m_scheme, &Scheme::extrasChanged, this, &SchemeExtras::schemeChanged);
        // The texts the tabs edit are about to be deleted.
        connect(m_scheme, &Scheme::aboutToClear, this, &SchemeExtras::dropTabs);
    }
    schemeChanged();
}

void SchemeExtras::dropTabs()
{
    clear();
    m_shown.clear();
}

void SchemeExtras::setEditAll(bool on)
{
    if (on == m_editAll)
        return;
    saveData();
    m_editAll = on;
    dropTabs();
    schemeChanged();
}

void SchemeExtras::addTab(QString* target, const QString& title, bool readOnly)
{
    addTextTab(QString(), target, title, readOnly);
}

QList<SchemeExtras::ShownTab> SchemeExtras::visibleExtras() const
{
    QList<ShownTab> shown;
    if (!m_scheme)
        return shown;
    for (ExtraData* extra : m_scheme->extras()) {
        if (!extra->testFlag(ExtraData::Visible))
            continue;
        const bool editable = m_editAll || extra->testFlag(ExtraData::Editable);
        shown.append(ShownTab{extra->name, tabTitle(extra->name, extra->detail), &extra->text, editable});
    }
    return shown;
}

void SchemeExtras::schemeChanged()
{
    // The project's own extras (settings, profiles, output) change on every
    // save and run, and the texts of the visible ones in place: the tabs,
    // which may hold megabytes of mechanism, are rebuilt only when the set of
    // visible extras is another one.
    const QList<ShownTab> shown = visibleExtras();
    if (shown == m_shown) {
        if (isVisible())
            updateData();
        return;
    }
    clear();
    m_shown = shown;
    ++m_rebuilds;
    for (const ShownTab& tab : shown)
        addTextTab(tab.name, tab.text, tab.title, !tab.editable);
}
