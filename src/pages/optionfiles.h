#ifndef TARVEL_OPTIONFILES_H
#define TARVEL_OPTIONFILES_H

// The texts of the catalogue's files, one editable tab each, written back
// into the catalogue as they are typed.

#include <QList>
#include <QString>
#include <QWidget>

class Options;
class QPlainTextEdit;
class QTabWidget;

class OptionFiles : public QWidget
{
    Q_OBJECT

public:
    explicit OptionFiles(Options* catalogue, QWidget* parent = nullptr);
    ~OptionFiles() override;

    void addTab(QString* target, const QString& title);
    QTabWidget* tabWidget() const { return m_tabs; }
    QPlainTextEdit* editor(int index) const;

public slots:
    void saveData();
    void updateData();
    void clear();

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

    QTabWidget* m_tabs = nullptr;
    QList<Tab> m_list;
    Options* m_options = nullptr;
    // Reloading an editor changes its text; that is no edit to store.
    bool m_updating = false;
};

#endif
