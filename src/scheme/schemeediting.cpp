// Editing a scheme's tree, its species and boundary conditions, and copying
// one scheme into another, keeping the invariants: unique ids, group names
// unique within a parent, each catalogue option used once, species unique and
// sorted with one boundary-condition option each.

#include "scheme.h"

#include "diagnostic.h"
#include "translation.h"
#include "options.h"

#include <algorithm>

SchemeNode* Scheme::addGroup(const QString& name, SchemeNode* parent, SchemeNode* sibling, bool after)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) {
        tCritical() << "Scheme::addGroup(). Scheme" << m_name << ": Group Name is empty.";
        return nullptr;
    }
    const QList<SchemeNode*>& siblings = parent ? parent->children : m_nodes;
    for (const SchemeNode* node : siblings) {
        if (node->name == trimmed) {
            tCritical() << "Scheme::addGroup(). Scheme" << m_name << ": Group Name" << trimmed
                        << "is not unique within its parent node.";
            return nullptr;
        }
    }
    auto* node = new SchemeNode;
    node->id = largestId() + 1;
    node->name = trimmed;
    node->isGroup = true;
    node->enabled = true;
    insertNode(node, parent, sibling, after);
    setUnsaved();
    return node;
}

SchemeNode* Scheme::addOption(OOption* option, SchemeNode* parent, SchemeNode* sibling, bool after)
{
    if (!option) {
        tCritical() << "Scheme::addOption(). Scheme" << m_name << ": Null pointer provided for the Option.";
        return nullptr;
    }
    // A species' boundary condition has no catalogue counterpart: never refused.
    if (isOptionUsed(m_options->findOption(option->name))) {
        tCritical() << "Scheme::addOption(). Scheme" << m_name << ": the Option" << option->name << " already exists";
        return nullptr;
    }
    auto* node = new SchemeNode;
    node->id = largestId() + 1;
    node->option = option;
    node->value = option->defaultValue;
    node->enabled = false;
    insertNode(node, parent, sibling, after);
    setUnsaved();
    return node;
}

bool Scheme::moveNode(SchemeNode* node, SchemeNode* newParent, SchemeNode* sibling, bool after)
{
    if (!node)
        return false;
    if (newParent && !newParent->isGroup) {
        tCritical() << "Scheme::moveNode(). Scheme" << m_name << ": Error moving Node #" << node->id
                    << ". Parent is not a group.";
        return false;
    }
    if (newParent && (newParent == node || isInSubtree(node, newParent))) {
        tCritical() << "Scheme::moveNode(). Scheme" << m_name << ": Node #" << node->id << "(" << node->name << ")"
                    << "Cannot be parent for its parent" << newParent->name;
        return false;
    }
    SchemeNode* oldParent = node->parent;
    if (!takeNode(node)) {
        tCritical() << "Scheme::moveNode(). Scheme" << m_name << ": Node #" << node->id << "(" << node->name << ")"
                    << "cannpt be found within its Parent"
                    << (oldParent ? oldParent->name : QStringLiteral("<Root>"));
        return false;
    }
    insertNode(node, newParent, sibling, after);
    setUnsaved();
    return true;
}

bool Scheme::changeGroupName(SchemeNode* node, const QString& newName)
{
    if (!node) {
        tCritical() << "Scheme.changeGroupName(). Node is a null pointer.";
        return false;
    }
    if (!node->isGroup) {
        tCritical() << "Scheme.changeGroupName(). Node is not a group.";
        return false;
    }
    const QString trimmed = newName.trimmed();
    if (trimmed.isEmpty()) {
        tCritical() << "Scheme.changeGroupName(). New Name is empty.";
        return false;
    }
    if (trimmed == node->name) {
        tDebug() << "Scheme.changeGroupName(). The New Name is equal to the Old Name.";
        return true;
    }
    node->name = trimmed;
    setUnsaved();
    return true;
}

std::unique_ptr<OOption> Scheme::makeBoundaryCondition(const QString& species) const
{
    auto option = std::make_unique<OOption>();
    option->type = OOption::Field;
    option->kind = OOption::BoundaryCondition;
    option->index = -1;
    option->name = QStringLiteral("BC_") + species;
    option->text = tr("%1 %2").arg(translate("BC_CONCENTR"), species);
    // The table has no BOUND_COND_L, so the tag itself comes back: kept so
    // that stored details stay as they have always been.
    option->detail = QStringLiteral("%1: %2").arg(translate("BOUND_COND_L"), option->text);
    option->defaultValue = QStringLiteral("1.0");
    option->inputMask = QStringLiteral("#000.00");
    return option;
}

bool Scheme::addSpecies(const QString& name)
{
    if (!appendSpecies(name))
        return false;
    // The rest is sorted: the new species moves into its place, O(n) rather
    // than a sort of the whole list.
    const auto last = m_species.end() - 1;
    std::rotate(std::upper_bound(m_species.begin(), last, *last), last, m_species.end());
    return true;
}

bool Scheme::appendSpecies(const QString& name)
{
    const QString trimmed = name.trimmed();
    // Compared in canonical form: "H2 O" is the same species as "H2O".
    const QString canonical = m_options->speciesName(trimmed);
    const QString key = canonical.trimmed().toUpper();
    if (m_speciesIndex.contains(key)) {
        tWarning() << translate("SPECIES_EXIST").replace(QLatin1String("%NAME"), trimmed);
        return false;
    }
    // A species whose boundary condition would carry the name of a catalogue
    // option (phosphorus "P" and the pressure "BC_P") would be bound to that
    // option after the next save and load.
    // A blank name passes the element check (nothing is left of it), but a
    // species without a name would give a nameless "BC_" condition.
    if (trimmed.isEmpty() || !m_options->isValidSpecies(trimmed)
        || m_options->findOption(QStringLiteral("BC_") + canonical)) {
        tWarning() << translate("SPECIES_WRONG").replace(QLatin1String("%NAME"), trimmed);
        return false;
    }
    m_conditions.push_back(makeBoundaryCondition(canonical));
    m_species.append(canonical);
    m_speciesIndex.insert(key, SpeciesEntry{canonical, m_conditions.back().get()});
    return true;
}

void Scheme::sortSpecies()
{
    std::sort(m_species.begin(), m_species.end());
}

bool Scheme::removeSpecies(const QString& name)
{
    const QString key = name.trimmed().toUpper();
    const int index = indexOfSpecies(key);
    if (index == -1)
        return true;
    const QString optionName = QStringLiteral("BC_") + key;
    int used = 0;
    for (const auto& condition : m_conditions) {
        if (condition->name.toUpper() == optionName && isOptionUsed(condition.get())) {
            tDebug() << translate("SPECIES_USED")
                            .replace(QLatin1String("%NAME"), key)
                            .replace(QLatin1String("%OPTION"), condition->detail);
            ++used;
        }
    }
    if (used > 0) {
        tWarning() << translate("SPECIES_DLT_FAIL").replace(QLatin1String("%NAME"), key);
        return false;
    }
    m_conditions.erase(std::remove_if(m_conditions.begin(), m_conditions.end(),
                                      [&](const std::unique_ptr<OOption>& c) {
                                          return c->name.toUpper() == optionName;
                                      }),
                       m_conditions.end());
    m_species.removeAt(index);
    m_speciesIndex.remove(key);
    return true;
}

bool Scheme::copy(const Scheme* other)
{
    if (!other)
        return false;
    // clear() would empty the very scheme we are about to read.
    if (other == this)
        return true;
    tDebug() << "Copy scheme" << other->m_name;
    clear();
    m_name = other->m_name;
    m_description = other->m_description;
    m_options = other->m_options;
    for (const auto& extra : other->m_extras)
        m_extras.push_back(std::make_unique<ExtraData>(*extra));
    for (const QString& species : other->m_species)
        appendSpecies(species);
    sortSpecies();
    copyNodes(other->m_nodes, m_nodes, nullptr);
    m_saved = false;
    emit changed();
    emit extrasChanged();
    return true;
}

void Scheme::copyNodes(const QList<SchemeNode*>& source, QList<SchemeNode*>& target, SchemeNode* parent)
{
    target.clear();
    for (const SchemeNode* from : source) {
        auto* node = new SchemeNode;
        node->id = from->id;
        node->name = from->name;
        node->isGroup = from->isGroup;
        node->parent = parent;
        if (!node->isGroup)
            node->option = findOption(from->option ? from->option->name : QString());
        if (node->isGroup || node->option) {
            node->value = from->value;
            node->enabled = from->enabled;
            target.append(node);
            copyNodes(from->children, node->children, node);
        } else {
            tDebug() << "Scheme::_copyNodes(). Cannot copy node" << from->id << from->name
                     << "because it referes to a non-existing option.";
            delete node;
        }
    }
}

void Scheme::makeTestScheme()
{
    clear();
    m_name = QStringLiteral("TEST");
    m_description = QStringLiteral("Scheme for Testing");
    struct Row
    {
        int id;
        const char* name;
        int parent;
        const char* option; // null for a group
    };
    static const Row rows[] = {
        {1, "Group A", 0, nullptr},       {2, "Group B", 0, nullptr},       {3, "Group C", 0, nullptr},
        {4, "Group D", 0, nullptr},       {11, "Group A.1", 1, nullptr},    {12, "Group A.2", 1, nullptr},
        {13, "Group A.3", 1, nullptr},    {21, "Group B.01", 2, nullptr},   {22, "Group B.02", 2, nullptr},
        {31, "Group C.1", 3, nullptr},    {32, "Group C.2", 3, nullptr},    {33, "Group C.3", 3, nullptr},
        {111, "___ A.1.1", 11, "REVSIM"}, {112, "___ A.1.2", 11, "REGRID"}, {121, "___ A.2.1", 12, "T_IN"},
        {122, "___ A.2.2", 12, "W_IN"},   {123, "___ A.2.3", 12, "W_OUT"},  {131, "___ A.3.1", 13, "T_OUT"},
        {211, "___ B.1.1", 21, "V_IN"},   {212, "___ B.1.2", 21, "V_OUT"},  {221, "___ B.2.1", 22, "J_IN"},
        {222, "___ B.2.2", 22, "J_OUT"},  {223, "___ B.2.3", 22, "G_IN"},   {224, "___ B.2.4", 22, "G_OUT"},
        {311, "___ C.1.1", 31, "ANALYSE"}, {321, "___ C.2.1", 32, "STOM"},  {331, "___ C.3.1", 33, "EXTRA"},
    };
    for (const Row& row : rows) {
        auto* node = new SchemeNode;
        node->id = row.id;
        node->name = QString::fromLatin1(row.name);
        node->isGroup = row.option == nullptr;
        node->enabled = node->isGroup;
        if (!node->isGroup)
            node->option = m_options->findOption(QString::fromLatin1(row.option));
        node->parent = row.parent ? nodeById(row.parent) : nullptr;
        (node->parent ? node->parent->children : m_nodes).append(node);
    }
}
