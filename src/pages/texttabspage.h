#ifndef TARVEL_TEXTTABSPAGE_H
#define TARVEL_TEXTTABSPAGE_H

// A page of texts, one editable tab each, bound to strings that live
// elsewhere (the catalogue's files, a scheme's extra data). Typing writes the
// text back at once; showing the page reloads what changed meanwhile, keeping
// the cursor; hiding or closing it stores what was typed.

#include <QFont>
#include <QList>
#include <QString>
#include <QWidget>

class QPlainTextEdit;
class QTabWidget;

class TextTabsPage : public QWidget
{
    Q_OBJECT

public:
    ~TextTabsPage() override;

    QTabWidget* tabWidget() const { return m_tabs; }
    QPlainTextEdit* editor(int index) const;
    // The tab of the text of that name (trimmed, upper-cased), or -1.
    int tabOf(const QString& name) const;

public slots:
    void saveData();
    void updateData();
    void clear();

protected:
    TextTabsPage(const QFont& font, bool wrapLines, QWidget* parent);

    void addTextTab(const QString& name, QString* target, const QString& title, bool readOnly);
    // The title of a file's tab: its translation where the table has the
    // file's id, else its description.
    static QString tabTitle(const QString& id, const QString& description);
    static QFont fixedFont(int pointSize);
    // Whether texts may be stored now (the strings they are bound to exist).
    virtual bool canStore() const { return true; }
    // After typing has changed at least one stored text.
    virtual void textsEdited() { }

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void saveEditor(const QPlainTextEdit* editor);

    struct Tab
    {
        QString name;
        QString* target = nullptr;
        QPlainTextEdit* editor = nullptr;
    };

    QTabWidget* m_tabs = nullptr;
    QList<Tab> m_list;
    QFont m_font;
    bool m_wrapLines = true;
    // Reloading an editor changes its text; that is no edit to store.
    bool m_updating = false;
};

#endif
