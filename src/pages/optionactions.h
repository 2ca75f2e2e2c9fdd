#ifndef TARVEL_OPTIONACTIONS_H
#define TARVEL_OPTIONACTIONS_H

// The edits of the option tree page's context menu and shortcuts: enabling
// and disabling option nodes, adding options through the option selector,
// removing nodes, adding and renaming groups, adding and removing species,
// and moving nodes up and down. Every edit is a scheme operation; each one
// marks the project unsaved and has the project regenerate its input file.

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class FStringEditor;
class OptionSelector;
class Project;
class QAction;
class QMenu;
class QPoint;
class Settings;
struct OOption;
struct SchemeNode;

class OptionActions : public QObject
{
    Q_OBJECT

public:
    explicit OptionActions(Settings* page);

    QAction* enableAction() const { return m_enable; }
    QAction* disableAction() const { return m_disable; }
    QAction* addOptionAction() const { return m_addOption; }
    QAction* removeAction() const { return m_remove; }
    QAction* renameGroupAction() const { return m_renameGroup; }
    QAction* addGroupAction() const { return m_addGroup; }
    QAction* addSpeciesAction() const { return m_addSpecies; }
    QAction* importSpeciesAction() const { return m_importSpecies; }
    QMenu* removeSpeciesMenu() const { return m_removeSpeciesMenu; }
    QAction* moveUpAction() const { return m_moveUp; }
    QAction* moveDownAction() const { return m_moveDown; }
    OptionSelector* selector() const { return m_selector; }
    FStringEditor* stringEditor() const { return m_stringEditor; }
    // The context menu as it would open now.
    QMenu* menu() const { return m_menu; }

    // The species as the input file's SPECIES block numbers them.
    static QStringList speciesOrder(const Project& project);
    // Adds the species with its boundary condition, and tells the user.
    void addSpeciesNamed(const QString& name);
    // One species a line.
    void importSpeciesFrom(const QString& file);

signals:
    // A species was added or removed.
    void speciesChanged();

public slots:
    void updateActions();
    void showMenu(const QPoint& position);
    void enableNodes();
    void disableNodes();
    void addOption();
    void removeNodes();
    void renameGroup();
    void addGroup();
    void addSpecies();
    // Removes the species with its boundary condition, and tells the user.
    void removeSpecies(const QString& name);
    void importSpecies();
    void moveUp();
    void moveDown();

private:
    enum class Pending { None, RenameGroup, AddGroup, AddSpecies };
    // The species TIGN points at before an edit of the species.
    struct TignCheck
    {
        int number = 0;
        QString species;
    };

    QAction* makeAction(const QString& text, const QString& shortcut, void (OptionActions::*slot)());
    void setNodesEnabled(bool enabled);
    void optionSelected(OOption* option);
    void nameEntered(const QString& text);
    void askName(Pending purpose, const QString& label, const QString& text);
    bool addOneSpecies(const QString& name, QString* message);
    void removeNodesNow(const QList<int>& ids);
    TignCheck tignBefore() const;
    // A warning when TIGN now names another species, else empty.
    QString tignAfter(const TignCheck& before) const;
    SchemeNode* boundaryConditionGroup();
    void moveBy(int step);
    void fillRemoveSpeciesMenu();
    // Tells the project: unsaved, and its input file must follow.
    void notifyOptions();
    void inform(const QString& text, bool problem);
    void ask(const QString& text, std::function<void()> onYes);
    QString speciesOf(const SchemeNode* node) const;

    Settings* m_page = nullptr;
    Project* m_project = nullptr;
    QMenu* m_menu = nullptr;
    QAction* m_enable = nullptr;
    QAction* m_disable = nullptr;
    QAction* m_addOption = nullptr;
    QAction* m_remove = nullptr;
    QAction* m_renameGroup = nullptr;
    QAction* m_addGroup = nullptr;
    QAction* m_addSpecies = nullptr;
    QAction* m_importSpecies = nullptr;
    QMenu* m_removeSpeciesMenu = nullptr;
    QAction* m_moveUp = nullptr;
    QAction* m_moveDown = nullptr;
    OptionSelector* m_selector = nullptr;
    FStringEditor* m_stringEditor = nullptr;
    // What the name being typed is for, and the node it belongs to (by id:
    // the tree may change while the window is open).
    Pending m_pending = Pending::None;
    int m_pendingNode = 0;
    // Where a chosen option goes: the group (0: the top level) and the node
    // to follow.
    int m_targetGroup = 0;
    int m_targetSibling = 0;
};

#endif
