// The project's settings store: key and value pairs that travel in the
// project file (the graph definitions live there), in the extra "SETTINGS".

#include "project.h"

#include "diagnostic.h"

namespace {

const QString kSettings = QStringLiteral("SETTINGS");

} // namespace

QList<std::pair<QString, QVariant>> Project::settings() const
{
    const ExtraData* extra = getExtra(kSettings);
    return extra ? SettingsStore::decode(extra->text) : SettingsStore::Pairs();
}

bool Project::hasSetting(const QString& key) const
{
    for (const auto& pair : settings()) {
        if (pair.first == key)
            return true;
    }
    return false;
}

QVariant Project::setting(const QString& key) const
{
    for (const auto& pair : settings()) {
        if (pair.first == key)
            return pair.second;
    }
    return QVariant();
}

bool Project::setSetting(const QString& key, const QVariant& value)
{
    return setSettings({{key, value}});
}

bool Project::setSettings(const QList<std::pair<QString, QVariant>>& changes)
{
    SettingsStore::Pairs pairs = settings();
    bool stored = true;
    for (const auto& change : changes) {
        if (!isStorableSetting(change.second)) {
            tWarning() << "Project::setSetting(). The value of" << change.first << "is of type"
                       << QString::fromLatin1(change.second.typeName()) << ", which is not stored. Skipped.";
            stored = false;
            continue;
        }
        SettingsStore::assign(pairs, change.first, change.second);
    }
    if (!hasExtra(kSettings))
        addExtra(kSettings, QString());
    return setExtraData(kSettings, SettingsStore::encode(pairs)) && stored;
}
