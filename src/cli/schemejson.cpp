#include "schemejson.h"

#include "options.h"
#include "gzip.h"
#include "scheme.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QSet>

namespace {

QJsonArray nodesToJson(const QList<SchemeNode*>& nodes)
{
    QJsonArray array;
    for (const SchemeNode* node : nodes)
        array.append(QJsonObject{{"id", node->id},
                                 {"name", node->name},
                                 {"group", node->isGroup},
                                 {"option", (node->isGroup || !node->option) ? QString() : node->option->name},
                                 {"value", node->value},
                                 {"enabled", node->enabled},
                                 {"children", nodesToJson(node->children)}});
    return array;
}

bool readTextFile(const QString& path, QString* text, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read the file \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    QByteArray bytes = file.readAll();
    if (path.endsWith(QLatin1String(".gz"), Qt::CaseInsensitive)) {
        QByteArray plain;
        if (!Gzip::decompress(bytes, &plain)) {
            *error = QStringLiteral("the file \"%1\" is not a valid gzip file").arg(path);
            return false;
        }
        bytes = plain;
    }
    // Byte for byte: the project writes these texts back out as 8-bit text.
    *text = QString::fromLatin1(bytes);
    return true;
}

class Builder
{
public:
    Builder(Scheme& scheme, QString* error)
        : m_scheme(scheme)
        , m_error(error)
    {
    }

    bool addNodes(const QJsonArray& array, SchemeNode* parent)
    {
        for (const QJsonValue& value : array) {
            const QJsonObject object = value.toObject();
            const int id = object.value("id").toInt();
            const QString name = object.value("name").toString();
            if (id <= 0)
                return fail(QStringLiteral("node \"%1\" has no positive id").arg(name));
            if (m_ids.contains(id))
                return fail(QStringLiteral("the node id %1 is used twice").arg(id));
            m_ids.insert(id);
            auto* node = new SchemeNode;
            node->id = id;
            node->name = name;
            node->isGroup = object.value("group").toBool();
            node->value = object.value("value").toString();
            node->enabled = object.value("enabled").toBool(node->isGroup);
            if (!node->isGroup) {
                const QString optionName = object.value("option").toString();
                node->option = m_scheme.findOption(optionName);
                if (!node->option) {
                    delete node;
                    return fail(QStringLiteral("node %1 names the unknown option \"%2\"").arg(id).arg(optionName));
                }
                if (m_scheme.isOptionUsed(node->option)) {
                    delete node;
                    return fail(QStringLiteral("the option \"%1\" is used by two nodes").arg(optionName));
                }
                if (!object.value("children").toArray().isEmpty()) {
                    delete node;
                    return fail(QStringLiteral("option node %1 cannot have children").arg(id));
                }
            }
            m_scheme.insertNode(node, parent, nullptr, true);
            if (node->isGroup && !addNodes(object.value("children").toArray(), node))
                return false;
        }
        return true;
    }

private:
    bool fail(const QString& message)
    {
        *m_error = message;
        return false;
    }

    Scheme& m_scheme;
    QString* m_error;
    QSet<int> m_ids;
};

} // namespace

QJsonObject SchemeJson::toJson(const Scheme& scheme)
{
    QJsonArray extras;
    for (const ExtraData* extra : scheme.extras())
        extras.append(QJsonObject{{"name", extra->name},
                                  {"detail", extra->detail},
                                  {"fileName", extra->fileName},
                                  {"flags", int(extra->flags)},
                                  {"text", extra->text}});
    return QJsonObject{{"name", scheme.name()},
                       {"description", scheme.description()},
                       {"species", QJsonArray::fromStringList(scheme.species())},
                       {"nodes", nodesToJson(scheme.nodes())},
                       {"extras", extras}};
}

std::unique_ptr<Scheme> SchemeJson::fromJson(const QJsonObject& object, Options* catalogue, const QString& baseDir,
                                             QString* error)
{
    auto scheme = std::make_unique<Scheme>(catalogue);
    const QString name = object.value("name").toString().trimmed();
    if (name.isEmpty()) {
        *error = QStringLiteral("a scheme has no name");
        return nullptr;
    }
    if (!scheme->setNameAndDescription(name, object.value("description").toString())) {
        *error = QStringLiteral("the scheme name \"%1\" is not valid").arg(name);
        return nullptr;
    }

    for (const QJsonValue& value : object.value("species").toArray()) {
        const QString species = value.toString();
        if (!scheme->addSpecies(species)) {
            const QString canonical = catalogue->speciesName(species.trimmed());
            if (scheme->hasSpecies(canonical))
                *error = QStringLiteral("the species \"%1\" is listed twice").arg(species);
            else if (!species.trimmed().isEmpty() && catalogue->isValidSpecies(species))
                *error = QStringLiteral("the species \"%1\" would take \"BC_%2\", an option of the catalogue")
                             .arg(species, canonical);
            else
                *error = QStringLiteral("the species \"%1\" is not built of the catalogue's elements").arg(species);
            return nullptr;
        }
    }

    Builder builder(*scheme, error);
    if (!builder.addNodes(object.value("nodes").toArray(), nullptr))
        return nullptr;

    QSet<QString> listed;
    for (const QJsonValue& value : object.value("extras").toArray()) {
        const QJsonObject extra = value.toObject();
        ExtraData record;
        record.name = extra.value("name").toString().trimmed().toUpper();
        if (record.name.isEmpty()) {
            *error = QStringLiteral("an extra of \"%1\" has no name").arg(name);
            return nullptr;
        }
        // The second would silently replace the first.
        if (listed.contains(record.name)) {
            *error = QStringLiteral("the extra \"%1\" is listed twice").arg(record.name);
            return nullptr;
        }
        listed.insert(record.name);
        // What the source leaves out comes from the catalogue's own entry.
        if (const ExtraData* existing = scheme->hasExtra(record.name) ? scheme->getExtra(record.name) : nullptr)
            record = *existing;
        record.detail = extra.value("detail").toString(record.detail);
        record.fileName = extra.value("fileName").toString(record.fileName);
        record.flags = quint16(extra.value("flags").toInt(record.flags));
        if (extra.contains("textFile")) {
            const QString path = QDir(baseDir).filePath(extra.value("textFile").toString());
            if (!readTextFile(path, &record.text, error))
                return nullptr;
        } else {
            record.text = extra.value("text").toString();
        }
        const bool stored = scheme->hasExtra(record.name) ? scheme->setExtra(record.name, record)
                                                          : scheme->addExtra(record);
        if (!stored) {
            *error = QStringLiteral("the extra \"%1\" cannot be stored").arg(record.name);
            return nullptr;
        }
    }
    return scheme;
}
