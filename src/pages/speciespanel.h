#ifndef TARVEL_SPECIESPANEL_H
#define TARVEL_SPECIESPANEL_H

// The species of the project beside its option tree: each with its number
// in the input file's SPECIES block (the number TIGN counts by), a field to
// name a new one, and Add, Remove and Import (a text file, one species a
// line). The edits are the option tree's (OptionActions): a species comes
// and goes with its boundary condition.

#include <QWidget>

class OptionActions;
class Project;
class QLineEdit;
class QListWidget;
class QPushButton;

class SpeciesPanel : public QWidget
{
    Q_OBJECT

public:
    SpeciesPanel(Project* project, OptionActions* actions, QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    QLineEdit* nameField() const { return m_name; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* removeButton() const { return m_remove; }
    QPushButton* importButton() const { return m_import; }

public slots:
    void refresh();

private:
    void add();
    void removeCurrent();
    void updateButtons();

    Project* m_project = nullptr;
    OptionActions* m_actions = nullptr;
    QListWidget* m_list = nullptr;
    QLineEdit* m_name = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_import = nullptr;
};

#endif
