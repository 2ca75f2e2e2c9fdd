#ifndef TARVEL_SCHEMEEXTRAS_H
#define TARVEL_SCHEMEEXTRAS_H

// The page of the scheme's visible extra data (the input file, the mechanism
// and thermodynamic data), one tab each, editable where the extra allows it.
// Edits go into the scheme at once; showing the page reloads what the
// project has rewritten meanwhile (the input file after option edits).

#include "scheme.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

class QPlainTextEdit;
class QTabWidget;

class SchemeExtras : public QWidget
{
    Q_OBJECT

public:
    explicit SchemeExtras(QWidget* parent = nullptr);
    ~SchemeExtras() override;

    void setScheme(Scheme* scheme);
    Scheme* scheme() const { return m_scheme; }
    void addTab(QString* target, const QString& title, bool readOnly);
    // Makes every tab editable, the read-only extras too.
    void setEditAll(bool on);
    bool editAll() const { return m_editAll; }

    QTabWidget* tabWidget() const { return m_tabs; }
    QPlainTextEdit* editor(int index) const;
    // The tab of the extra of that name (trimmed, upper-cased), or -1.
    int tabOf(const QString& name) const;

public slots:
    void saveData();
    void updateData();
    void clear();
    void schemeChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Tab
    {
        QString name;
        QString* target = nullptr;
        QPlainTextEdit* editor = nullptr;
    };

    void addTab(const QString& name, QString* target, const QString& title, bool readOnly);

    QTabWidget* m_tabs = nullptr;
    QList<Tab> m_list;
    QPointer<Scheme> m_scheme;
    bool m_editAll = false;
    // Reloading an editor changes its text; that is no edit to store.
    bool m_updating = false;
};

#endif
