// The project's profiles: saved time steps of the computation file, the one
// the next run applies, and their place in the project file.

#include "project/project.h"

#include "app/diagnostic.h"
#include "catalogue/options.h"
#include "project/profile.h"

#include <QDir>
#include <QFile>

namespace {

const QString kProfilesPrefix = QStringLiteral("PROFILES_DATA");

} // namespace

int Project::saveProfile(const QString& name, int step)
{
    const QString start = options()->profilestart();
    const QString stop = options()->profileend();
    if (start.isEmpty() || stop.isEmpty() || start == stop)
        return 10;
    if (name.trimmed().isEmpty())
        return 11;
    const QString* text = pointerToExtra(QStringLiteral("COMPUT_DATA"));
    if (!text)
        return 2;
    auto* profile = new Profile;
    const int result = profile->create(name, &m_outData, text, step, start, stop);
    if (result != 0) {
        delete profile;
        return result;
    }
    m_profiles.append(profile);
    // Unsaved, or closing the window would lose the profile without a word.
    setUnsaved();
    emit profilesChanged();
    return 0;
}

void Project::removeProfile(int index)
{
    if (index < 0 || index >= m_profiles.size())
        return;
    if (m_currentProfile == index)
        m_currentProfile = -1;
    else if (m_currentProfile > index)
        --m_currentProfile;
    delete m_profiles.takeAt(index);
    if (m_currentProfile >= m_profiles.size())
        m_currentProfile = -1;
    setUnsaved();
    emit profilesChanged();
}

bool Project::renameProfile(int index, const QString& name)
{
    Profile* profile = profileAt(index);
    if (!profile || name.trimmed().isEmpty())
        return false;
    if (profile->name() == name.trimmed())
        return true;
    profile->setName(name);
    setUnsaved();
    emit profilesChanged();
    return true;
}

Profile* Project::profileAt(int index) const
{
    if (index < 0 || index >= m_profiles.size())
        return nullptr;
    return m_profiles.at(index);
}

QStringList Project::profileNames() const
{
    QStringList names;
    for (const Profile* profile : m_profiles)
        names.append(profile->name());
    return names;
}

bool Project::setCurrentProfile(int index)
{
    if (m_profiles.isEmpty()) {
        m_currentProfile = -1;
        return false;
    }
    if (index < 0) {
        m_currentProfile = -1;
        return true;
    }
    if (index >= m_profiles.size())
        return false;
    m_currentProfile = index;
    return true;
}

void Project::_appendProfileToFort3(int index)
{
    if (index < 0 || index >= m_profiles.size())
        return;
    const Profile* profile = m_profiles.at(index);
    tDebug() << "Applying profile #" << index << ", " << profile->name();
    const QString name = m_compufile.trimmed().isEmpty() ? QStringLiteral("fort.3") : m_compufile;
    QFile file(projectFile(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        tWarning() << "Project::_appendProfileToFort3(). Failed to open fort.3";
        return;
    }
    // The block was read from the file as Latin-1; written back the same way.
    file.write(profile->data().toLatin1() + '\n');
    file.close();
}

void Project::_storeProfiles()
{
    if (hasExtra(kProfilesPrefix))
        removeExtra(kProfilesPrefix);
    for (const QString& name : extraNames()) {
        if (name.startsWith(kProfilesPrefix))
            removeExtra(name);
    }
    for (int i = 0; i < m_profiles.size(); ++i)
        addExtra(QStringLiteral("%1_%2").arg(kProfilesPrefix).arg(i), m_profiles.at(i)->encode());
}

void Project::_loadProfiles()
{
    bool appended = false;
    for (const QString& name : extraNames()) {
        if (!name.startsWith(kProfilesPrefix))
            continue;
        const QList<Profile*> decoded = Profile::decode(getExtra(name)->text);
        m_profiles.append(decoded);
        appended = appended || !decoded.isEmpty();
    }
    if (appended)
        emit profilesChanged();
}
