#ifndef TARVEL_SETTINGS_H
#define TARVEL_SETTINGS_H

// The option tree page: the project's tree of groups and option nodes, each
// option with an editor writing into its node's value. A project without a
// tree shows the whole catalogue and the catalogue's files instead. The
// tree's context menu (OptionActions) edits the tree through the scheme.

#include <QList>
#include <QPair>
#include <QSet>
#include <QWidget>

class OptViewer;
class OptionActions;
class OptionFiles;
class OptionTree;
class Project;
class QSplitter;
class SpeciesPanel;
class QTreeWidgetItem;
struct SchemeNode;

class Settings : public QWidget
{
    Q_OBJECT

public:
    explicit Settings(Project* project, QWidget* parent = nullptr);
    ~Settings() override;

    Project* project() const { return m_project; }
    OptionTree* tree() const { return m_tree; }
    OptionFiles* files() const { return m_files; }
    OptViewer* viewer() const { return m_viewer; }
    QSplitter* splitter() const { return m_splitter; }
    OptionActions* actions() const { return m_actions; }
    SpeciesPanel* speciesPanel() const { return m_species; }

    SchemeNode* nodeOf(const QTreeWidgetItem* item) const;
    QTreeWidgetItem* itemOf(const SchemeNode* node) const;
    QWidget* editorOf(const SchemeNode* node) const;
    // The node of the current row; null for the root row or none.
    SchemeNode* currentNode() const;
    QList<SchemeNode*> selectedNodes() const;
    // Rebuilds the tree after an edit of its structure, keeping the groups
    // the user had open, and makes the row of `focus` current.
    void refreshTree(const SchemeNode* focus);
    // The ids of the groups the user has open.
    QSet<int> expandedGroups() const;
    // For nodes about to be deleted: no row or editor holds a node after it.
    void dropTree();
    void rebuildTree(const QSet<int>& expanded, int focusId);
    // Gives the keyboard to the tree itself, its view at the left edge.
    void focusTree();
    // Shows whether the user may edit the node: its editor enabled, or a
    // tool tip saying why not.
    void showEditable(const SchemeNode* node);
    static QString lockedToolTip();

public slots:
    void updateData();

private:
    void buildTree();
    void addNodeRow(QTreeWidgetItem* parentItem, SchemeNode* node);
    QWidget* makeEditor(SchemeNode* node);

    Project* m_project = nullptr;
    OptionTree* m_tree = nullptr;
    OptionFiles* m_files = nullptr;
    OptViewer* m_viewer = nullptr;
    QSplitter* m_splitter = nullptr;
    QList<QPair<QTreeWidgetItem*, SchemeNode*>> m_pairs;
    OptionActions* m_actions = nullptr;
    SpeciesPanel* m_species = nullptr;
    QSplitter* m_treeSplitter = nullptr;
};

#endif
