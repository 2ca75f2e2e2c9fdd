#ifndef TARVEL_SELECTOR_H
#define TARVEL_SELECTOR_H

// The main window's navigation: a narrow column of large icons with captions
// beside a stack of pages. Choosing an entry shows its page; entries can be
// disabled, and separators sit between groups of entries. Each entry keeps
// the stack index of its page as its user data, -1 for a separator.

#include <QIcon>
#include <QString>
#include <QWidget>

class QListWidget;
class QListWidgetItem;
class QStackedWidget;

class Selector : public QWidget
{
    Q_OBJECT

public:
    static constexpr int MaximumListWidth = 80;

    explicit Selector(QWidget* parent = nullptr);

    // The new page's index, or -1 when the widget is already a page.
    int addWidget(QWidget* widget, const QIcon& icon, const QString& caption);

    QListWidget* list() const { return m_list; }
    QStackedWidget* stack() const { return m_stack; }
    // The entry of page idx, or null.
    QListWidgetItem* entry(int idx) const;

public slots:
    void setCurrentWidget(QWidget* widget);
    void setCurrentIndex(int idx);
    void addSeparator();
    void setTabEnabled(int idx, bool enabled);

private slots:
    void onItemChange(QListWidgetItem* current, QListWidgetItem* previous);
    void checkWgtEnable();

private:
    static int pageIndex(const QListWidgetItem* item);

    QStackedWidget* m_stack = nullptr;
    QListWidget* m_list = nullptr;
};

#endif
