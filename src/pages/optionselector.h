#ifndef TARVEL_OPTIONSELECTOR_H
#define TARVEL_OPTIONSELECTOR_H

// A window listing the catalogue's options that a scheme does not use yet,
// by group, with the scheme's unused species boundary conditions under the
// boundary-condition group; reports the one the user picks. Remembers its
// geometry in the user's native settings store.

#include <QList>
#include <QWidget>

class OptionTree;
class Options;
class QTreeWidgetItem;
class Scheme;
struct OOption;

class OptionSelector : public QWidget
{
    Q_OBJECT

public:
    explicit OptionSelector(Options* catalogue, QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::Window);

    void setScheme(Scheme* scheme);
    Scheme* scheme() const { return m_scheme; }
    OOption* selectedOption() const { return m_selected; }
    OptionTree* tree() const { return m_tree; }
    // The option a row stands for; null for a group row.
    OOption* optionOf(const QTreeWidgetItem* item) const;

public slots:
    void show(OOption* currentOption = nullptr);
    void updateOptions();
    void select();
    void cancel();

signals:
    void selected(OOption* option);

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Row
    {
        QTreeWidgetItem* item = nullptr;
        int group = -1;
        OOption* option = nullptr;
    };

    void addOptionRow(QTreeWidgetItem* groupItem, int group, OOption* option);
    void storeGeometry() const;

    OOption* m_selected = nullptr;
    Scheme* m_scheme = nullptr;
    Options* m_options = nullptr;
    OOption* m_current = nullptr;
    OptionTree* m_tree = nullptr;
    QList<Row> m_rows;
};

#endif
