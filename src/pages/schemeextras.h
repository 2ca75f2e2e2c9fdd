#ifndef TARVEL_SCHEMEEXTRAS_H
#define TARVEL_SCHEMEEXTRAS_H

// The page of the scheme's visible extra data (the input file, the mechanism
// and thermodynamic data), one tab each, editable where the extra allows it.
// Edits go into the scheme at once; showing the page reloads what the
// project has rewritten meanwhile (the input file after option edits).

#include "scheme.h"
#include "texttabspage.h"

#include <QPointer>

class SchemeExtras : public TextTabsPage
{
    Q_OBJECT

public:
    explicit SchemeExtras(QWidget* parent = nullptr);

    void setScheme(Scheme* scheme);
    Scheme* scheme() const { return m_scheme; }
    void addTab(QString* target, const QString& title, bool readOnly);
    // Makes every tab editable, the read-only extras too.
    void setEditAll(bool on);
    bool editAll() const { return m_editAll; }
    // How often the tabs have been built: once per new set of visible extras.
    int rebuildCount() const { return m_rebuilds; }

public slots:
    void schemeChanged();

protected:
    bool canStore() const override { return !m_scheme.isNull(); }
    // An edited text is an unsaved project (closing must ask); merely
    // leaving the page changes nothing and says nothing.
    void textsEdited() override { m_scheme->setUnsaved(); }

private:
    struct ShownTab
    {
        QString name;
        QString title;
        QString* text = nullptr;
        bool editable = false;
        bool operator==(const ShownTab& other) const
        {
            return name == other.name && title == other.title && text == other.text && editable == other.editable;
        }
    };

    QList<ShownTab> visibleExtras() const;
    void dropTabs();

    QPointer<Scheme> m_scheme;
    bool m_editAll = false;
    QList<ShownTab> m_shown;
    int m_rebuilds = 0;
};

#endif
