#include "scheme.h"

#include "diagnostic.h"
#include "options.h"

#include <QTextStream>

#include <algorithm>

namespace {

QString extraKey(const QString& name)
{
    return name.trimmed().toUpper();
}

void deleteTree(QList<SchemeNode*>& nodes)
{
    for (SchemeNode* node : std::as_const(nodes)) {
        deleteTree(node->children);
        delete node;
    }
    nodes.clear();
}

void collect(const QList<SchemeNode*>& nodes, QList<SchemeNode*>& out)
{
    for (SchemeNode* node : nodes) {
        out.append(node);
        collect(node->children, out);
    }
}

void dumpNodes(QTextStream& out, const QList<SchemeNode*>& nodes, int level)
{
    for (const SchemeNode* node : nodes) {
        out << QString(level, QLatin1Char(' '));
        if (node->isGroup)
            out << QString::asprintf("#%i group: '%s' ", node->id, node->name.toUtf8().constData());
        else
            out << QString::asprintf("#%i option: '%s'' ", node->id,
                                     node->option ? node->option->name.toUtf8().constData() : "< empty pointer >");
        out << '\n';
        dumpNodes(out, node->children, level + 1);
    }
}

} // namespace

Scheme::Scheme(Options* catalogue, QObject* parent)
    : QObject(parent)
    , m_options(catalogue)
{
    if (!m_options)
        tFatal() << "Scheme Constructor: Error Initialising class Scheme. 'Options' is a NULL Pointer";
    addCatalogueFiles();
}

void Scheme::addCatalogueFiles()
{
    for (const auto& file : m_options->files()) {
        if (file->id.isEmpty() || file->name.isEmpty())
            continue;
        ExtraData record;
        record.name = file->id;
        record.detail = file->detail;
        record.fileName = file->name;
        record.text = file->text;
        record.flags = ExtraData::Visible | ExtraData::Editable;
        addExtra(record);
    }
}

Scheme::~Scheme()
{
    // No signals from a half-destroyed object: listeners may be gone.
    deleteContent();
}

void Scheme::deleteContent()
{
    deleteTree(m_nodes);
    m_extras.clear();
    m_conditions.clear();
    m_species.clear();
    m_speciesIndex.clear();
}

void Scheme::clear()
{
    // Views holding nodes, extras or species let go of them now.
    emit aboutToClear();
    deleteContent();
    m_name.clear();
    m_description.clear();
    m_saved = false;
    emit changed();
    emit extrasChanged();
}

bool Scheme::setFileName(const QString& file)
{
    const QString trimmed = file.trimmed();
    if (trimmed == m_fileName)
        return true;
    m_fileName = trimmed;
    setUnsaved();
    return true;
}

void Scheme::setUnsaved()
{
    m_saved = false;
    emit changed();
}

bool Scheme::setName(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) {
        tCritical() << "Scheme.setName: Scheme Name cannot be empty.";
        return false;
    }
    if (trimmed == m_name)
        return true;
    m_name = trimmed;
    setUnsaved();
    return true;
}

bool Scheme::setNameAndDescription(const QString& name, const QString& description)
{
    const QString n = name.trimmed();
    const QString d = description.trimmed();
    if (n == m_name && d == m_description)
        return true;
    m_name = n;
    m_description = d;
    setUnsaved();
    return true;
}

// --- tree queries

SchemeNode* Scheme::nodeById(int id) const
{
    return nodeById(id, m_nodes);
}

SchemeNode* Scheme::nodeById(int id, const QList<SchemeNode*>& start)
{
    for (SchemeNode* node : start) {
        if (node->id == id)
            return node;
        if (node->isGroup && !node->children.isEmpty()) {
            if (SchemeNode* found = nodeById(id, node->children))
                return found;
        }
    }
    return nullptr;
}

QList<SchemeNode*> Scheme::allNodes() const
{
    QList<SchemeNode*> out;
    collect(m_nodes, out);
    return out;
}

int Scheme::nodeCount() const
{
    return int(allNodes().size());
}

int Scheme::largestId() const
{
    int largest = 0;
    for (const SchemeNode* node : allNodes())
        largest = qMax(largest, node->id);
    return largest;
}

bool Scheme::isOptionUsed(const OOption* option) const
{
    if (!option)
        return false;
    for (const SchemeNode* node : allNodes()) {
        if (!node->isGroup && node->option == option)
            return true;
    }
    return false;
}

bool Scheme::isInSubtree(const SchemeNode* node, const SchemeNode* candidate)
{
    if (!node || !candidate)
        return false;
    for (const SchemeNode* child : node->children) {
        if (child == candidate || isInSubtree(child, candidate))
            return true;
    }
    return false;
}

OOption* Scheme::findOption(const QString& name) const
{
    const QString key = name.trimmed().toUpper();
    // A boundary condition is named "BC_" and its species.
    static const QString prefix = QStringLiteral("BC_");
    if (key.startsWith(prefix)) {
        const auto found = m_speciesIndex.constFind(key.mid(prefix.size()));
        if (found != m_speciesIndex.cend())
            return found->condition;
    }
    return m_options->findOption(key);
}

QString Scheme::optionValue(const QString& name) const
{
    const QString key = name.trimmed().toUpper();
    if (key.isEmpty())
        return QStringLiteral("");
    for (const SchemeNode* node : allNodes()) {
        if (!node->isGroup && node->option && node->option->name.toUpper() == key)
            return node->value;
    }
    return QString();
}

void Scheme::insertNode(SchemeNode* node, SchemeNode* parent, SchemeNode* sibling, bool after)
{
    node->parent = parent;
    QList<SchemeNode*>& list = parent ? parent->children : m_nodes;
    qsizetype position = sibling ? list.indexOf(sibling) : -1;
    if (position < 0)
        position = list.size();
    else if (after)
        ++position;
    emit nodeAboutToAdd(parent, int(position));
    list.insert(position, node);
    emit nodeAdded(node);
}

bool Scheme::takeNode(SchemeNode* node)
{
    QList<SchemeNode*>& list = node->parent ? node->parent->children : m_nodes;
    const qsizetype position = list.indexOf(node);
    if (position < 0)
        return false;
    emit nodeAboutToRemove(node);
    list.removeAt(position);
    emit nodeRemoved();
    setUnsaved();
    return true;
}

bool Scheme::removeNode(SchemeNode* node)
{
    if (!node || !takeNode(node))
        return false;
    deleteTree(node->children);
    delete node;
    return true;
}

void Scheme::dump(QTextStream& out) const
{
    out << QString(80, QLatin1Char('-')) << '\n';
    dumpNodes(out, m_nodes, 0);
    out << QString(80, QLatin1Char('-')) << '\n';
}

// --- extra data

qsizetype Scheme::extraIndex(const QString& name) const
{
    const QString key = extraKey(name);
    for (size_t i = 0; i < m_extras.size(); ++i) {
        if (m_extras[i]->name == key)
            return qsizetype(i);
    }
    return -1;
}

void Scheme::extraChanged()
{
    m_saved = false;
    emit changed();
    emit extrasChanged();
}

bool Scheme::addExtra(const ExtraData& record)
{
    ExtraData copy = record;
    copy.name = extraKey(record.name);
    if (extraIndex(copy.name) != -1)
        return false;
    m_extras.push_back(std::make_unique<ExtraData>(copy));
    extraChanged();
    return true;
}

bool Scheme::addExtra(const QString& name, const QString& text)
{
    ExtraData record;
    record.name = extraKey(name);
    record.text = text;
    return addExtra(record);
}

bool Scheme::hasExtra(const QString& name) const
{
    return extraIndex(name) != -1;
}

ExtraData* Scheme::getExtra(const QString& name) const
{
    const qsizetype i = extraIndex(name);
    if (i < 0) {
        tWarning() << "Scheme::getExtra(). Extra Data with the name" << extraKey(name) << "doesn't exist.";
        return nullptr;
    }
    return m_extras[size_t(i)].get();
}

QString* Scheme::pointerToExtra(const QString& name) const
{
    const qsizetype i = extraIndex(name);
    if (i < 0) {
        tWarning() << "Scheme::pointerToExtra(). Extra Data with the name" << extraKey(name) << "doesn't exist.";
        return nullptr;
    }
    return &m_extras[size_t(i)]->text;
}

bool Scheme::setExtraData(const QString& name, const QString& text)
{
    const qsizetype i = extraIndex(name);
    if (i < 0) {
        tWarning() << "Scheme::setExtraData(). Extra Data with the name" << extraKey(name) << "doesn't exist.";
        return false;
    }
    m_extras[size_t(i)]->text = text;
    extraChanged();
    return true;
}

bool Scheme::setExtra(const QString& name, const ExtraData& record)
{
    const QString oldName = extraKey(name);
    ExtraData copy = record;
    copy.name = extraKey(record.name);
    if (copy.name != oldName && extraIndex(copy.name) != -1) {
        tWarning() << fragment(QStringLiteral("Scheme::setExtra(). Cannot replace \"%1\" to \"%2\". New name is not unique!")
                                   .arg(oldName, copy.name));
        return false;
    }
    const qsizetype i = extraIndex(oldName);
    if (i < 0) {
        tWarning() << "Scheme::setExtra(). Extra Data with the name" << oldName << "doesn't exist.";
        return false;
    }
    *m_extras[size_t(i)] = copy;
    extraChanged();
    return true;
}

void Scheme::removeExtra(const QString& name)
{
    const qsizetype i = extraIndex(name);
    if (i < 0)
        return;
    m_extras.erase(m_extras.begin() + i);
    extraChanged();
}

QStringList Scheme::extraNames() const
{
    QStringList names;
    for (const auto& extra : m_extras)
        names.append(extra->name);
    return names;
}

QList<ExtraData*> Scheme::extras() const
{
    QList<ExtraData*> list;
    for (const auto& extra : m_extras)
        list.append(extra.get());
    return list;
}

int Scheme::indexOfSpecies(const QString& name) const
{
    const auto found = m_speciesIndex.constFind(name.trimmed().toUpper());
    if (found == m_speciesIndex.cend())
        return -1;
    // The list is sorted, and holds the species under exactly this name.
    return int(std::lower_bound(m_species.cbegin(), m_species.cend(), found->name) - m_species.cbegin());
}
