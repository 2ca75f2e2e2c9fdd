#include "profilelist.h"

#include "diagnostic.h"

#include "safefile.h"

const QString ProfileList::ExtraPrefix = QStringLiteral("PROFILES_DATA");

Profile* ProfileList::at(int index) const
{
    if (index < 0 || index >= size())
        return nullptr;
    return m_profiles[size_t(index)].get();
}

QList<Profile*> ProfileList::all() const
{
    QList<Profile*> result;
    for (const auto& profile : m_profiles)
        result.append(profile.get());
    return result;
}

QStringList ProfileList::names() const
{
    QStringList result;
    for (const auto& profile : m_profiles)
        result.append(profile->name());
    return result;
}

void ProfileList::append(std::unique_ptr<Profile> profile)
{
    if (profile)
        m_profiles.push_back(std::move(profile));
}

bool ProfileList::remove(int index)
{
    if (index < 0 || index >= size())
        return false;
    if (m_current == index)
        m_current = -1;
    else if (m_current > index)
        --m_current;
    m_profiles.erase(m_profiles.begin() + index);
    if (m_current >= size())
        m_current = -1;
    return true;
}

void ProfileList::clear()
{
    m_profiles.clear();
    m_current = -1;
}

bool ProfileList::setCurrent(int index)
{
    if (m_profiles.empty()) {
        m_current = -1;
        return false;
    }
    if (index < 0) {
        m_current = -1;
        return true;
    }
    if (index >= size())
        return false;
    m_current = index;
    return true;
}

QList<std::pair<QString, QString>> ProfileList::encode() const
{
    QList<std::pair<QString, QString>> extras;
    for (int i = 0; i < size(); ++i)
        extras.append({QStringLiteral("%1_%2").arg(ExtraPrefix).arg(i), m_profiles[size_t(i)]->encode()});
    return extras;
}

int ProfileList::decode(const QString& text)
{
    std::vector<std::unique_ptr<Profile>> decoded = Profile::decode(text);
    for (auto& profile : decoded)
        m_profiles.push_back(std::move(profile));
    return int(decoded.size());
}

bool ProfileList::appendTo(int index, const QString& fileName) const
{
    const Profile* profile = at(index);
    if (!profile)
        return false;
    tDebug() << "Applying profile #" << index << ", " << profile->name();
    // The block was read from the file as Latin-1; written back the same way.
    QString error;
    if (!SafeFile::write(fileName, profile->data().toLatin1() + '\n', SafeFile::Mode::Append, &error)) {
        tWarning() << "Project::_appendProfileToFort3(). Failed to open fort.3" << fragment(error);
        return false;
    }
    return true;
}
