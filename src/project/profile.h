#ifndef TARVEL_PROFILE_H
#define TARVEL_PROFILE_H

// A saved time step: the block of the computation file that holds the code's
// whole state at that step, from which a later run can start, together with
// the output values of the step. Kept in the project file in an encoded form.

#include "outputfield.h"
#include "profileresult.h"
#include "profilevalue.h"

#include <QList>
#include <QString>

#include <memory>
#include <vector>

class Profile
{
public:
    QString name() const { return m_name; }
    QString data() const { return m_data; }
    const QList<ProfileValue>& values() const { return m_values; }

    // Cuts time step `step` out of the computation text: the block from the
    // step's `start` marker through the next `stop` marker, with its time
    // reset to zero, and the output values of that step. Unless it is
    // created, the profile is unchanged.
    [[nodiscard]] ProfileResult create(const QString& name, const std::vector<std::unique_ptr<OutputField>>* outData,
                                       const QString* computationText, int step, const QString& start,
                                       const QString& stop);

    // Base64 of the profile's record, "" when it has no name, data or values.
    QString encode() const;
    // The profiles of a text of records one after the other. Stops at the
    // first damaged record, keeping those before it.
    static std::vector<std::unique_ptr<Profile>> decode(const QString& text);

    void setName(const QString& name);
    void clearProfile();

    bool operator==(const Profile& other) const;
    bool operator!=(const Profile& other) const { return !(*this == other); }

private:
    QString m_name;
    QString m_data;
    QList<ProfileValue> m_values;
};

#endif
