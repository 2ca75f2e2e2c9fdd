// The project's profiles: saved time steps of the computation file, the one
// the next run applies, and their place in the project file.

#include "project.h"

#include "diagnostic.h"
#include "options.h"
#include "profile.h"

#include <QDir>
#include <QFile>

ProfileResult Project::saveProfile(const QString& name, int step)
{
    if (m_status == RunStatus::Running)
        return ProfileResult::RunInProgress;
    const QString start = options()->profilestart();
    const QString stop = options()->profileend();
    if (start.isEmpty() || stop.isEmpty() || start == stop)
        return ProfileResult::MarkersNotSet;
    if (name.trimmed().isEmpty())
        return ProfileResult::EmptyName;
    const QString* text = pointerToExtra(QStringLiteral("COMPUT_DATA"));
    if (!text)
        return ProfileResult::NoComputationData;
    auto profile = std::make_unique<Profile>();
    const ProfileResult result = profile->create(name, &m_outData, text, step, start, stop);
    if (result != ProfileResult::Created)
        return result;
    m_profiles.append(std::move(profile));
    // Unsaved, or closing the window would lose the profile without a word.
    setUnsaved();
    emit profilesChanged();
    return result;
}

void Project::removeProfile(int index)
{
    if (!m_profiles.remove(index))
        return;
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

bool Project::setCurrentProfile(int index)
{
    return m_profiles.setCurrent(index);
}

void Project::_appendProfileToFort3(int index)
{
    const QString name = m_compufile.trimmed().isEmpty() ? QStringLiteral("fort.3") : m_compufile;
    // A failure is in the log; the run goes on without the profile, as the
    // executable would start from its own initial state.
    (void)m_profiles.appendTo(index, projectFile(name));
}

void Project::_storeProfiles()
{
    const QString prefix = ProfileList::ExtraPrefix;
    for (const QString& name : extraNames()) {
        if (name.startsWith(prefix))
            removeExtra(name);
    }
    for (const auto& [name, text] : m_profiles.encode())
        addExtra(name, text);
}

void Project::_loadProfiles()
{
    int appended = 0;
    for (const QString& name : extraNames()) {
        if (name.startsWith(ProfileList::ExtraPrefix))
            appended += m_profiles.decode(getExtra(name)->text);
    }
    if (appended > 0)
        emit profilesChanged();
}
