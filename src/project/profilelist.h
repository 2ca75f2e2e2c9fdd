#ifndef TARVEL_PROFILELIST_H
#define TARVEL_PROFILELIST_H

// The project's saved profiles, which one the next run applies, and their
// place in the project file: one extra per profile, named "PROFILES_DATA_<i>".

#include "profile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <utility>
#include <vector>

class ProfileList
{
public:
    static const QString ExtraPrefix;

    int size() const { return int(m_profiles.size()); }
    bool isEmpty() const { return m_profiles.empty(); }
    Profile* at(int index) const;
    QList<Profile*> all() const;
    QStringList names() const;

    void append(std::unique_ptr<Profile> profile);
    bool remove(int index);
    void clear();

    // -1 for none; false for an index that is no profile.
    [[nodiscard]] bool setCurrent(int index);
    int current() const { return m_current; }

    // The extras that hold the profiles, as (name, text) pairs.
    QList<std::pair<QString, QString>> encode() const;
    // Appends the profiles of one stored extra; how many were added.
    int decode(const QString& text);
    // Appends the profile's block to the computation file before the next
    // executable reads it.
    [[nodiscard]] bool appendTo(int index, const QString& file) const;

private:
    std::vector<std::unique_ptr<Profile>> m_profiles;
    int m_current = -1;
};

#endif
