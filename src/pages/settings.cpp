#include "settings.h"

#include "diagnostic.h"
#include "options.h"
#include "optionactions.h"
#include "optioncombo.h"
#include "optionfield.h"
#include "optionfiles.h"
#include "optiontree.h"
#include "optviewer.h"
#include "speciespanel.h"
#include "project.h"
#include "translation.h"

#include <QApplication>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QVBoxLayout>

Settings::Settings(Project* project, QWidget* parent)
    : QWidget(parent)
    , m_project(project)
{
    if (!m_project) {
        tCritical() << "Cannot initialise Settings(). Pointer to a Project is not provided";
        return;
    }
    m_tree = new OptionTree(this);
    m_tree->setColumnCount(2);
    m_tree->setColumnMinimalWidth(0, 70);
    m_tree->setColumnMinimalWidth(1, 30);
    m_tree->setHeaderHidden(true);
    m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tree->setDragDropMode(QAbstractItemView::NoDragDrop);
    buildTree();

    m_viewer = new OptViewer(m_project->options());
    m_files = new OptionFiles(m_project->options());
    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->addWidget(m_viewer);
    m_splitter->addWidget(m_files);
    m_splitter->hide();
    m_splitter->setEnabled(false);

    m_actions = new OptionActions(this);
    m_species = new SpeciesPanel(m_project, m_actions, this);
    // The tree, with the species beside it.
    m_treeSplitter = new QSplitter(Qt::Horizontal, this);
    m_treeSplitter->addWidget(m_tree);
    m_treeSplitter->addWidget(m_species);
    m_treeSplitter->setStretchFactor(0, 4);
    m_treeSplitter->setStretchFactor(1, 1);
    // The tree's names and editors need the width; a species name is short.
    m_species->setMaximumWidth(180);
    m_treeSplitter->setSizes({600, 160});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_treeSplitter);
    layout->addWidget(m_splitter);

    connect(m_project, &Project::dataUpdated, this, &Settings::updateData);
    // The nodes are about to be deleted: no editor, row or selection may
    // point at them any more.
    connect(m_project, &Scheme::aboutToClear, this, &Settings::dropTree);
}

Settings::~Settings()
{
    // The editors are bound to the project's node values: gone first.
    if (m_tree)
        m_tree->clear();
}

void Settings::updateData()
{
    if (!m_project)
        return;
    if (!m_project->nodes().isEmpty()) {
        m_splitter->hide();
        m_splitter->setEnabled(false);
        m_treeSplitter->show();
        m_tree->show();
        m_tree->setEnabled(true);
        buildTree();
    } else {
        dropTree();
        m_treeSplitter->hide();
        m_tree->hide();
        m_tree->setEnabled(false);
        m_project->options()->resetAll();
        m_viewer->rebuild();
        m_files->updateData();
        m_splitter->show();
        m_splitter->setEnabled(true);
    }
    if (m_actions)
        m_actions->updateActions();
}

void Settings::buildTree()
{
    dropTree();
    auto* root = new QTreeWidgetItem(m_tree);
    root->setText(0, m_project->description());
    root->setFirstColumnSpanned(true);
    root->setExpanded(true);
    for (SchemeNode* node : m_project->nodes())
        addNodeRow(root, node);

    Options* catalogue = m_project->options();
    for (const auto& file : catalogue->files()) {
        if (m_project->hasExtra(file->id)) {
            if (const QString* text = m_project->pointerToExtra(file->id))
                file->text = *text;
        }
    }
    m_tree->updateSizes();
}

void Settings::addNodeRow(QTreeWidgetItem* parentItem, SchemeNode* node)
{
    auto* item = new QTreeWidgetItem(parentItem);
    m_pairs.append({item, node});
    if (node->isGroup) {
        item->setText(0, node->name);
        item->setFirstColumnSpanned(true);
        for (SchemeNode* child : node->children)
            addNodeRow(item, child);
        // Open: the values are what the page is for.
        item->setExpanded(true);
        return;
    }
    if (!node->option)
        return;
    OOption* option = node->option;
    option->value = node->value;
    item->setText(0, QStringLiteral("%1 \t %2").arg(option->name, option->text));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (QWidget* editor = makeEditor(node)) {
        m_tree->setItemWidget(item, 1, editor);
        showEditable(node);
    } else {
        item->setToolTip(0, option->text);
    }
}

void Settings::focusTree()
{
    if (!m_tree)
        return;
    // The tree, not its first editor: the view starts at its left edge, the
    // names in sight.
    m_tree->setFocus(Qt::OtherFocusReason);
    m_tree->horizontalScrollBar()->setValue(0);
}

QString Settings::lockedToolTip()
{
    return tr("Locked by the scheme: the value is written to the input file as it stands. "
              "\"%1\" in the context menu unlocks it.")
        .arg(translate("ENABLE_OPT"));
}

void Settings::showEditable(const SchemeNode* node)
{
    QTreeWidgetItem* item = itemOf(node);
    QWidget* editor = item ? m_tree->itemWidget(item, 1) : nullptr;
    if (!editor)
        return;
    editor->setEnabled(node->enabled);
    const QString text = node->option->text;
    const QString tip = node->enabled ? text : QStringLiteral("%1\n\n%2").arg(text, lockedToolTip());
    item->setToolTip(0, tip);
    item->setToolTip(1, tip);
    editor->setToolTip(tip);
}

QWidget* Settings::makeEditor(SchemeNode* node)
{
    OOption* option = node->option;
    if (option->type == OOption::Menu && !option->values.isEmpty()) {
        auto* combo = new OptionCombo(option, &node->value);
        // Emitted once the value is stored: the project regenerates its
        // input file from it.
        connect(combo, &OptionCombo::valueEdited, m_project, &Scheme::setUnsaved);
        connect(combo, &OptionCombo::valueEdited, m_project, &Scheme::optionsChanged);
        return combo;
    }
    if (option->type == OOption::Field) {
        auto* field = new OptionField(option, &node->value);
        // Only a value that changed: focus passing through a field leaves
        // the project saved and its input file as it is.
        connect(field, &OptionField::valueEdited, m_project, &Scheme::setUnsaved);
        connect(field, &OptionField::valueEdited, m_project, &Scheme::optionsChanged);
        return field;
    }
    return nullptr;
}

SchemeNode* Settings::nodeOf(const QTreeWidgetItem* item) const
{
    for (const auto& pair : m_pairs) {
        if (pair.first == item)
            return pair.second;
    }
    return nullptr;
}

QTreeWidgetItem* Settings::itemOf(const SchemeNode* node) const
{
    for (const auto& pair : m_pairs) {
        if (pair.second == node)
            return pair.first;
    }
    return nullptr;
}

QWidget* Settings::editorOf(const SchemeNode* node) const
{
    QTreeWidgetItem* item = itemOf(node);
    return item ? m_tree->itemWidget(item, 1) : nullptr;
}

SchemeNode* Settings::currentNode() const
{
    return m_tree ? nodeOf(m_tree->currentItem()) : nullptr;
}

QList<SchemeNode*> Settings::selectedNodes() const
{
    QList<SchemeNode*> nodes;
    if (!m_tree)
        return nodes;
    // In tree order, whatever order the rows were picked in.
    for (const auto& pair : m_pairs) {
        if (pair.first->isSelected())
            nodes.append(pair.second);
    }
    return nodes;
}

void Settings::refreshTree(const SchemeNode* focus)
{
    rebuildTree(expandedGroups(), focus ? focus->id : -1);
}

QSet<int> Settings::expandedGroups() const
{
    QSet<int> expanded;
    for (const auto& pair : m_pairs) {
        if (pair.second->isGroup && pair.first->isExpanded())
            expanded.insert(pair.second->id);
    }
    return expanded;
}

void Settings::dropTree()
{
    // The pairs go first and the tree says nothing while it empties: the
    // actions that follow the selection must not look at rows or nodes that
    // are going. The editors are cut off before they go, so that a focused
    // field has no edit left to store into its node; what it holds that
    // parses is stored first, while its node still exists.
    if (auto* focused = qobject_cast<OptionField*>(QApplication::focusWidget())) {
        if (m_tree->isAncestorOf(focused))
            focused->onChange();
    }
    m_pairs.clear();
    for (QWidget* editor : m_tree->findChildren<QWidget*>()) {
        if (qobject_cast<OptionField*>(editor) || qobject_cast<OptionCombo*>(editor))
            editor->disconnect();
    }
    {
        const QSignalBlocker quiet(m_tree);
        const QSignalBlocker quietSelection(m_tree->selectionModel());
        m_tree->clear();
    }
    if (m_actions)
        m_actions->updateActions();
}

void Settings::rebuildTree(const QSet<int>& expanded, int focusId)
{
    buildTree();
    // The groups as the user left them.
    for (const auto& pair : m_pairs) {
        if (pair.second->isGroup)
            pair.first->setExpanded(expanded.contains(pair.second->id));
    }
    if (QTreeWidgetItem* item = itemOf(focusId >= 0 ? m_project->nodeById(focusId) : nullptr)) {
        for (QTreeWidgetItem* parent = item->parent(); parent; parent = parent->parent())
            parent->setExpanded(true);
        m_tree->setCurrentItem(item);
        m_tree->scrollToItem(item);
    }
    m_tree->updateSizes();
    if (m_actions)
        m_actions->updateActions();
}
