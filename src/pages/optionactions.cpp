#include "optionactions.h"

#include "actionrecipe.h"
#include "translation.h"
#include "options.h"
#include "fstringeditor.h"
#include "optionselector.h"
#include "optiontree.h"
#include "settings.h"
#include "project.h"
#include "diagnostic.h"
#include "inputgenerator.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace {

// The option nodes a selection stands for: a group stands for every option
// node below it.
void collectOptionNodes(SchemeNode* node, QList<SchemeNode*>& nodes)
{
    if (!node->isGroup) {
        if (node->option && !nodes.contains(node))
            nodes.append(node);
        return;
    }
    for (SchemeNode* child : node->children)
        collectOptionNodes(child, nodes);
}

} // namespace

OptionActions::OptionActions(Settings* page)
    : QObject(page)
    , m_page(page)
    , m_project(page->project())
{
    OptionTree* tree = m_page->tree();
    m_enable = makeAction(translate("ENABLE_OPT"), QStringLiteral("Ctrl+Shift+E"), &OptionActions::enableNodes);
    m_disable = makeAction(translate("DISABLE_OPT"), QStringLiteral("Ctrl+Shift+D"), &OptionActions::disableNodes);
    m_addOption = makeAction(translate("ADD_NEW"), QStringLiteral("Ins"), &OptionActions::addOption);
    m_addOption->setIcon(QIcon(QStringLiteral(":/images/add.png")));
    m_remove = makeAction(translate("REMOVE"), QStringLiteral("Del"), &OptionActions::removeNodes);
    m_remove->setIcon(QIcon(QStringLiteral(":/images/remove.png")));
    m_addGroup = makeAction(tr("Add Group..."), QStringLiteral("Ctrl+Shift+G"), &OptionActions::addGroup);
    m_renameGroup = makeAction(tr("Rename Group..."), QStringLiteral("F2"), &OptionActions::renameGroup);
    m_addSpecies = makeAction(tr("Add Species..."), QStringLiteral("Ctrl+Ins"), &OptionActions::addSpecies);
    m_importSpecies = makeAction(translate("IMPORT"), QString(), &OptionActions::importSpecies);
    m_moveUp = makeAction(tr("Move Up"), QStringLiteral("Ctrl+Up"), &OptionActions::moveUp);
    m_moveDown = makeAction(tr("Move Down"), QStringLiteral("Ctrl+Down"), &OptionActions::moveDown);

    m_menu = new QMenu(tree);
    m_menu->addAction(m_enable);
    m_menu->addAction(m_disable);
    m_menu->addSeparator();
    m_menu->addAction(m_addOption);
    m_menu->addAction(m_remove);
    m_menu->addSeparator();
    m_menu->addAction(m_addGroup);
    m_menu->addAction(m_renameGroup);
    m_menu->addSeparator();
    m_menu->addAction(m_addSpecies);
    m_removeSpeciesMenu = m_menu->addMenu(tr("Remove Species"));
    m_menu->addAction(m_importSpecies);
    connect(m_removeSpeciesMenu, &QMenu::aboutToShow, this, &OptionActions::fillRemoveSpeciesMenu);
    m_menu->addSeparator();
    m_menu->addAction(m_moveUp);
    m_menu->addAction(m_moveDown);

    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree, &QWidget::customContextMenuRequested, this, &OptionActions::showMenu);
    connect(tree, &QTreeWidget::currentItemChanged, this, &OptionActions::updateActions);
    connect(tree, &QTreeWidget::itemSelectionChanged, this, &OptionActions::updateActions);

    m_selector = new OptionSelector(m_project->options(), m_page, Qt::Window);
    m_selector->setWindowModality(Qt::ApplicationModal);
    connect(m_selector, &OptionSelector::selected, this, &OptionActions::optionSelected);

    m_stringEditor = new FStringEditor(QString(), m_page, Qt::Window);
    m_stringEditor->setWindowModality(Qt::ApplicationModal);
    connect(m_stringEditor, &FStringEditor::finished, this, &OptionActions::nameEntered);
    connect(m_stringEditor, &FStringEditor::cancelled, this, [this] { m_pending = Pending::None; });

    updateActions();
}

QAction* OptionActions::makeAction(const QString& text, const QString& shortcut, void (OptionActions::*slot)())
{
    QAction* action = ActionRecipe(text).shortcut(shortcut).make(m_page->tree());
    // Only while the tree itself has the focus: in an editor these keys
    // belong to the editor.
    action->setShortcutContext(Qt::WidgetShortcut);
    m_page->tree()->addAction(action);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void OptionActions::updateActions()
{
    const bool inTree = m_page->tree()->isEnabled();
    QList<SchemeNode*> optionNodes;
    const QList<SchemeNode*> selected = m_page->selectedNodes();
    for (SchemeNode* node : selected)
        collectOptionNodes(node, optionNodes);
    const bool anyDisabled = std::any_of(optionNodes.begin(), optionNodes.end(), [](auto* n) { return !n->enabled; });
    const bool anyEnabled = std::any_of(optionNodes.begin(), optionNodes.end(), [](auto* n) { return n->enabled; });
    m_enable->setEnabled(inTree && anyDisabled);
    m_disable->setEnabled(inTree && anyEnabled);
    m_addOption->setEnabled(inTree);
    m_remove->setEnabled(inTree && !selected.isEmpty());
    const SchemeNode* current = m_page->currentNode();
    m_renameGroup->setEnabled(inTree && current && current->isGroup);
    m_addGroup->setEnabled(inTree);
    m_addSpecies->setEnabled(inTree);
    m_importSpecies->setEnabled(inTree);
    m_removeSpeciesMenu->setEnabled(inTree && !m_project->species().isEmpty());
    const QList<SchemeNode*>& siblings = current && current->parent ? current->parent->children : m_project->nodes();
    const qsizetype index = current ? siblings.indexOf(current) : -1;
    m_moveUp->setEnabled(inTree && index > 0);
    m_moveDown->setEnabled(inTree && index >= 0 && index < siblings.size() - 1);
}

void OptionActions::showMenu(const QPoint& position)
{
    updateActions();
    fillRemoveSpeciesMenu();
    m_menu->popup(m_page->tree()->viewport()->mapToGlobal(position));
}

void OptionActions::fillRemoveSpeciesMenu()
{
    m_removeSpeciesMenu->clear();
    for (const QString& name : m_project->species()) {
        QAction* action = m_removeSpeciesMenu->addAction(name);
        connect(action, &QAction::triggered, this, [this, name] { removeSpecies(name); });
    }
}

void OptionActions::notifyOptions()
{
    m_project->setUnsaved();
    emit m_project->optionsChanged();
}

void OptionActions::inform(const QString& text, bool problem)
{
    // Not modal to the event loop: the page goes on, the box only reports.
    auto* box = new QMessageBox(problem ? QMessageBox::Warning : QMessageBox::Information,
                                QCoreApplication::applicationName(), text, QMessageBox::Ok, m_page);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void OptionActions::ask(const QString& text, std::function<void()> onYes)
{
    auto* box = new QMessageBox(QMessageBox::Question, QCoreApplication::applicationName(), text,
                                QMessageBox::Yes | QMessageBox::No, m_page);
    box->setDefaultButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [box, onYes](int) {
        if (box->clickedButton() == box->button(QMessageBox::Yes))
            onYes();
    });
    box->open();
}

// --- enable and disable

void OptionActions::enableNodes()
{
    setNodesEnabled(true);
}

void OptionActions::disableNodes()
{
    setNodesEnabled(false);
}

void OptionActions::setNodesEnabled(bool enabled)
{
    QList<SchemeNode*> nodes;
    for (SchemeNode* node : m_page->selectedNodes())
        collectOptionNodes(node, nodes);
    bool changed = false;
    for (SchemeNode* node : nodes) {
        if (node->enabled == enabled)
            continue;
        node->enabled = enabled;
        // The editor, and the tool tip that says why a row is locked.
        m_page->showEditable(node);
        changed = true;
    }
    if (changed)
        notifyOptions();
    updateActions();
}

// --- options

void OptionActions::addOption()
{
    SchemeNode* current = m_page->currentNode();
    SchemeNode* group = nullptr;
    SchemeNode* sibling = nullptr;
    if (current && current->isGroup) {
        group = current;
    } else if (current) {
        group = current->parent;
        sibling = current;
    }
    m_targetGroup = group ? group->id : 0;
    m_targetSibling = sibling ? sibling->id : 0;
    m_selector->setScheme(m_project);
    m_selector->show(nullptr);
}

void OptionActions::optionSelected(OOption* option)
{
    SchemeNode* group = m_targetGroup ? m_project->nodeById(m_targetGroup) : nullptr;
    SchemeNode* sibling = m_targetSibling ? m_project->nodeById(m_targetSibling) : nullptr;
    SchemeNode* node = m_project->addOption(option, group, sibling, true);
    if (!node)
        return;
    // Added to be set: its editor is open at once.
    node->enabled = true;
    m_page->refreshTree(node);
    notifyOptions();
}

QString OptionActions::speciesOf(const SchemeNode* node) const
{
    if (!node || node->isGroup || !node->option || node->option->kind != OOption::BoundaryCondition)
        return QString();
    const auto& conditions = m_project->conditions();
    const bool own = std::any_of(conditions.begin(), conditions.end(),
                                 [node](const auto& condition) { return condition.get() == node->option; });
    if (!own)
        return QString();
    const int index = m_project->indexOfSpecies(node->option->name.mid(3));
    return index >= 0 ? m_project->species().at(index) : QString();
}

void OptionActions::removeNodes()
{
    QList<int> ids;
    QStringList names;
    for (SchemeNode* node : m_page->selectedNodes()) {
        ids.append(node->id);
        const QString name = node->isGroup || !node->option ? node->name : node->option->name;
        names << QStringLiteral("\"%1\"").arg(name);
    }
    if (ids.isEmpty())
        return;
    // By id: the tree may change while the question is open.
    ask(tr("Remove %1?").arg(names.join(QStringLiteral(", "))), [this, ids] { removeNodesNow(ids); });
}

void OptionActions::removeNodesNow(const QList<int>& ids)
{
    QList<SchemeNode*> selected;
    for (int id : ids) {
        if (SchemeNode* node = m_project->nodeById(id))
            selected.append(node);
    }
    QList<SchemeNode*> nodes;
    for (SchemeNode* node : selected) {
        const bool insideAnother = std::any_of(selected.begin(), selected.end(), [node](SchemeNode* other) {
            return other != node && Scheme::isInSubtree(other, node);
        });
        if (!insideAnother)
            nodes.append(node);
    }
    if (nodes.isEmpty())
        return;

    // The species whose boundary conditions go with the nodes.
    QStringList species;
    QList<SchemeNode*> optionNodes;
    for (SchemeNode* node : nodes)
        collectOptionNodes(node, optionNodes);
    for (const SchemeNode* node : optionNodes) {
        const QString name = speciesOf(node);
        if (!name.isEmpty() && !species.contains(name))
            species.append(name);
    }

    // The row to land on: the next sibling that stays, else the one before,
    // else the parent.
    SchemeNode* first = nodes.first();
    const QList<SchemeNode*>& siblings = first->parent ? first->parent->children : m_project->nodes();
    SchemeNode* focus = first->parent;
    const qsizetype at = siblings.indexOf(first);
    for (qsizetype i = at + 1; i < siblings.size(); ++i) {
        if (!nodes.contains(siblings.at(i))) {
            focus = siblings.at(i);
            break;
        }
    }
    if (focus == first->parent) {
        for (qsizetype i = at - 1; i >= 0; --i) {
            if (!nodes.contains(siblings.at(i))) {
                focus = siblings.at(i);
                break;
            }
        }
    }

    // The editors bound to the nodes' values go before the nodes do.
    const QSet<int> expanded = m_page->expandedGroups();
    const int focusId = focus ? focus->id : -1;
    m_page->dropTree();
    int removed = 0;
    for (SchemeNode* node : nodes) {
        if (m_project->removeNode(node))
            ++removed;
    }
    m_page->rebuildTree(expanded, focusId);
    if (removed == 0)
        return;
    notifyOptions();

    if (species.isEmpty())
        return;
    QStringList quoted;
    for (const QString& name : species)
        quoted << QStringLiteral("\"%1\"").arg(name);
    ask(tr("Remove the species %1 as well?").arg(quoted.join(QStringLiteral(", "))), [this, species] {
        for (const QString& name : species)
            removeSpecies(name);
    });
}

// --- groups and species: names typed in the string editor

void OptionActions::askName(Pending purpose, const QString& label, const QString& text)
{
    m_pending = purpose;
    m_stringEditor->setTarget(nullptr);
    m_stringEditor->setLabel(label);
    m_stringEditor->setText(text);
    m_stringEditor->show();
    m_stringEditor->raise();
    m_stringEditor->activateWindow();
}

void OptionActions::renameGroup()
{
    SchemeNode* current = m_page->currentNode();
    if (!current || !current->isGroup)
        return;
    m_pendingNode = current->id;
    askName(Pending::RenameGroup, tr("Group Name"), current->name);
}

void OptionActions::addGroup()
{
    SchemeNode* current = m_page->currentNode();
    // Next to the group the user is in, at that group's level.
    SchemeNode* anchor = current && !current->isGroup && current->parent ? current->parent : current;
    m_targetGroup = anchor && anchor->parent ? anchor->parent->id : 0;
    m_targetSibling = anchor ? anchor->id : 0;
    askName(Pending::AddGroup, tr("New Group"), QString());
}

void OptionActions::addSpecies()
{
    askName(Pending::AddSpecies, translate("NEW_SPECIES"), QString());
}

void OptionActions::nameEntered(const QString& text)
{
    const Pending purpose = m_pending;
    m_pending = Pending::None;
    const QString name = text.trimmed();
    // An empty name is no name: as if the user had cancelled.
    if (name.isEmpty())
        return;
    switch (purpose) {
    case Pending::RenameGroup: {
        SchemeNode* node = m_project->nodeById(m_pendingNode);
        if (!node || node->name == name)
            break;
        // Two groups of one name side by side could not be told apart.
        const QList<SchemeNode*>& siblings = node->parent ? node->parent->children : m_project->nodes();
        const bool taken = std::any_of(siblings.begin(), siblings.end(), [node, &name](const SchemeNode* other) {
            return other != node && other->isGroup && other->name.trimmed().toUpper() == name.toUpper();
        });
        if (taken)
            inform(tr("A group named \"%1\" exists already.").arg(name), true);
        else if (m_project->changeGroupName(node, name))
            m_page->refreshTree(node);
        break;
    }
    case Pending::AddGroup: {
        SchemeNode* parent = m_targetGroup ? m_project->nodeById(m_targetGroup) : nullptr;
        SchemeNode* sibling = m_targetSibling ? m_project->nodeById(m_targetSibling) : nullptr;
        SchemeNode* node = m_project->addGroup(name, parent, sibling, true);
        if (node)
            m_page->refreshTree(node);
        else
            inform(tr("A group named \"%1\" exists already.").arg(name), true);
        break;
    }
    case Pending::AddSpecies:
        addSpeciesNamed(name);
        break;
    case Pending::None:
        break;
    }
}

SchemeNode* OptionActions::boundaryConditionGroup()
{
    // Where the boundary conditions already are.
    for (SchemeNode* node : m_project->allNodes()) {
        if (!node->isGroup && node->option && node->option->kind == OOption::BoundaryCondition)
            return node->parent;
    }
    const QString title = translate("BOUND_COND");
    for (SchemeNode* node : m_project->nodes()) {
        if (node->isGroup && node->name == title)
            return node;
    }
    return m_project->addGroup(title);
}

void OptionActions::addSpeciesNamed(const QString& name)
{
    QString message;
    const bool added = addOneSpecies(name, &message);
    inform(message, !added);
}

bool OptionActions::addOneSpecies(const QString& name, QString* message)
{
    // The scheme only logs why it refuses; the user is told here.
    if (m_project->hasSpecies(name) || !m_project->options()->isValidSpecies(name)) {
        const char* tag = m_project->hasSpecies(name) ? "SPECIES_EXIST" : "SPECIES_WRONG";
        *message = translate(tag).replace(QLatin1String("%NAME"), name);
        tWarning() << *message;
        return false;
    }
    const TignCheck tign = tignBefore();
    if (!m_project->addSpecies(name)) {
        *message = translate("SPECIES_WRONG").replace(QLatin1String("%NAME"), name);
        return false;
    }
    const QString species = m_project->options()->speciesName(name);
    SchemeNode* node = nullptr;
    if (OOption* condition = m_project->findOption(QStringLiteral("BC_") + species)) {
        node = m_project->addOption(condition, boundaryConditionGroup());
        if (node)
            node->enabled = true;
    }
    m_page->refreshTree(node ? node : m_page->currentNode());
    notifyOptions();
    *message = translate("SPECIES_ADDED").replace(QLatin1String("%NAME"), species) + tignAfter(tign);
    emit speciesChanged();
    return true;
}

void OptionActions::removeSpecies(const QString& name)
{
    const TignCheck tign = tignBefore();
    // Its boundary condition goes with it: a condition of a species the
    // scheme no longer has could not be written.
    SchemeNode* condition = nullptr;
    for (SchemeNode* node : m_project->allNodes()) {
        if (!speciesOf(node).isEmpty() && speciesOf(node).toUpper() == name.trimmed().toUpper())
            condition = node;
    }
    if (condition) {
        const QSet<int> expanded = m_page->expandedGroups();
        m_page->dropTree();
        (void)m_project->removeNode(condition);
        m_page->rebuildTree(expanded, -1);
    }
    if (!m_project->removeSpecies(name)) {
        if (condition)
            notifyOptions();
        inform(translate("SPECIES_DLT_FAIL").replace(QLatin1String("%NAME"), name), true);
        emit speciesChanged();
        return;
    }
    notifyOptions();
    updateActions();
    inform(translate("SPECIES_DLT").replace(QLatin1String("%NAME"), name) + tignAfter(tign), false);
    emit speciesChanged();
}

void OptionActions::importSpecies()
{
    const QString file = QFileDialog::getOpenFileName(m_page, tr("Species to import"), QDir::homePath(),
                                                      tr("Text files (*.txt);;All files (*)"));
    if (!file.isEmpty())
        importSpeciesFrom(file);
}

void OptionActions::importSpeciesFrom(const QString& file)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Text)) {
        inform(translate("FILE_READ").replace(QLatin1String("%NAME"), file), true);
        return;
    }
    const QStringList lines = QString::fromUtf8(input.readAll()).split(QLatin1Char('\n'));
    input.close();
    // One species a line; each line says how it went, all in one message.
    QStringList messages;
    bool anyRefused = false;
    for (const QString& line : lines) {
        const QString name = line.trimmed();
        if (name.isEmpty())
            continue;
        QString message;
        if (!addOneSpecies(name, &message))
            anyRefused = true;
        messages << message;
    }
    if (!messages.isEmpty())
        inform(messages.join(QLatin1Char('\n')), anyRefused);
}

QStringList OptionActions::speciesOrder(const Project& project)
{
    // As the SPECIES block lists them: the species of the first boundary
    // condition first, then the others in the scheme's order.
    QStringList order = project.species();
    QString first;
    if (!project.nodes().isEmpty()
        && InputGenerator::firstBoundarySpecies(project.nodes(), *project.options(), &first)) {
        const int index = project.indexOfSpecies(first);
        if (index > 0)
            order.move(index, 0);
    }
    return order;
}

OptionActions::TignCheck OptionActions::tignBefore() const
{
    TignCheck check;
    for (SchemeNode* node : m_project->allNodes()) {
        if (node->option && node->option->name == QLatin1String("TIGN")) {
            bool number = false;
            check.number = node->value.trimmed().toInt(&number);
            if (!number)
                check.number = 0;
        }
    }
    check.species = speciesOrder(*m_project).value(check.number - 1);
    return check;
}

QString OptionActions::tignAfter(const TignCheck& before) const
{
    if (before.species.isEmpty())
        return QString();
    const int now = int(speciesOrder(*m_project).indexOf(before.species)) + 1;
    if (now == before.number)
        return QString();
    // TIGN counts species in the SPECIES block: the count it holds now
    // names another species than the one it was set for.
    if (now == 0)
        return tr("\n\nTIGN points at species #%1, which was \"%2\"; \"%2\" is gone: please check TIGN.")
            .arg(before.number)
            .arg(before.species);
    return tr("\n\nTIGN points at species #%1, which was \"%2\"; \"%2\" is #%3 now: please check TIGN.")
        .arg(before.number)
        .arg(before.species)
        .arg(now);
}

// --- order

void OptionActions::moveUp()
{
    moveBy(-1);
}

void OptionActions::moveDown()
{
    moveBy(1);
}

void OptionActions::moveBy(int step)
{
    SchemeNode* node = m_page->currentNode();
    if (!node)
        return;
    const QList<SchemeNode*>& siblings = node->parent ? node->parent->children : m_project->nodes();
    const qsizetype target = siblings.indexOf(node) + step;
    if (target < 0 || target >= siblings.size())
        return;
    if (!m_project->moveNode(node, node->parent, siblings.at(target), step > 0))
        return;
    m_page->refreshTree(node);
    notifyOptions();
}
