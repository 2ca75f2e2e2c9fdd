#include "profile.h"

#include "diagnostic.h"

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>

namespace {

// Ends every record, so a record cut short or shifted is told from a whole one.
constexpr qint32 kEndMarker = 65535;

// The code starts a run from the block's time, so a profile restarts at zero.
const char* const kTimeReset = " (S)  0.000E+00     0.000E+00";

void prepare(QDataStream& stream)
{
    // Qt 4.6 and later wrote floats as 8-byte doubles at this version; project
    // files keep that layout.
    stream.setVersion(QDataStream::Qt_4_8);
    stream.setByteOrder(QDataStream::BigEndian);
}

qsizetype lineEnd(const QString& text, qsizetype from)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\r') || text.at(i) == QLatin1Char('\n'))
            return i;
    }
    return -1;
}

// The block of time step `step`: from its start marker (every occurrence
// counts, wherever it stands in a line) through the end of the first stop
// marker after it; empty when there is none.
QString findBlock(const QString& text, int step, const QString& start, const QString& stop)
{
    if (start.isEmpty() || stop.isEmpty())
        return QString();
    qsizetype from = 0;
    for (int occurrence = 0;; ++occurrence) {
        const qsizetype begin = text.indexOf(start, from);
        if (begin < 0)
            return QString();
        if (occurrence == step) {
            tDebug() << "The profile #" << step << "has been found:";
            const qsizetype end = text.indexOf(stop, begin + start.size());
            if (end < 0)
                return QString();
            return text.mid(begin, end + stop.size() - begin);
        }
        from = begin + start.size();
    }
}

void resetTime(QString& block)
{
    const qsizetype time = block.indexOf(QLatin1String("TIME"), 0, Qt::CaseInsensitive);
    if (time < 0)
        return;
    const qsizetype after = time + 4;
    if (after >= block.size() || block.at(after) == QLatin1Char('\r') || block.at(after) == QLatin1Char('\n'))
        return;
    const qsizetype end = lineEnd(block, after);
    if (end < 0)
        return;
    block.replace(after, end - after, QLatin1String(kTimeReset));
}

} // namespace

ProfileResult Profile::create(const QString& name, const std::vector<std::unique_ptr<OutputField>>* outData,
                              const QString* computationText, int step, const QString& start, const QString& stop)
{
    if (!outData || !computationText)
        return ProfileResult::MissingInput;
    if (outData->empty() || outData->front()->values.isEmpty() || computationText->isEmpty())
        return ProfileResult::NoData;
    if (step < 0 || step >= outData->front()->values.size())
        return ProfileResult::StepNotFound;

    tDebug() << "Searching time step #" << step << ", Start with" << start << ", Stop with" << stop;
    QString block = findBlock(*computationText, step, start, stop);
    if (block.isEmpty()) {
        tDebug() << "I was unable to find the profile #" << step;
        return ProfileResult::StepNotFound;
    }
    resetTime(block);

    clearProfile();
    m_name = name.trimmed();
    m_data = block;
    m_values.reserve(qsizetype(outData->size()));
    for (const auto& field : *outData) {
        const float value = step < field->values.size() ? field->values.at(step) : 0.0f;
        m_values.append(ProfileValue{field->name, value});
    }
    return ProfileResult::Created;
}

QString Profile::encode() const
{
    if (m_name.isEmpty()) {
        tWarning() << "Profile::encode(). Cannot Encode profile: No profile name has been specified.";
        return QString();
    }
    if (m_data.isEmpty() || m_values.isEmpty())
        return QString();

    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    prepare(out);
    out << m_name << m_data << qint32(m_values.size());
    for (const ProfileValue& value : m_values)
        out << value.name << value.value;
    out << kEndMarker;
    return QString::fromLatin1(bytes.toBase64());
}

std::vector<std::unique_ptr<Profile>> Profile::decode(const QString& text)
{
    std::vector<std::unique_ptr<Profile>> result;
    const QByteArray bytes = QByteArray::fromBase64(text.toLatin1());
    QDataStream in(bytes);
    prepare(in);
    // Every count comes from the file: nothing is reserved from it, and each
    // pair either consumes bytes or fails the stream, so a damaged count ends
    // at the end of the data.
    while (!in.atEnd()) {
        QString name;
        QString data;
        qint32 count = 0;
        in >> name >> data >> count;
        if (in.status() != QDataStream::Ok || name.isEmpty() || data.isEmpty()) {
            tWarning() << "Profile::decode(). Cannot decode, Source is corrupted (header).";
            return result;
        }
        auto profile = std::make_unique<Profile>();
        profile->m_name = name;
        profile->m_data = data;
        for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
            ProfileValue value;
            in >> value.name >> value.value;
            if (in.status() == QDataStream::Ok)
                profile->m_values.append(value);
        }
        qint32 marker = 0;
        in >> marker;
        if (in.status() != QDataStream::Ok || marker != kEndMarker) {
            tWarning() << "Profile::decode(). Cannot decode, Source is corrupted (end marker).";
            return result;
        }
        result.push_back(std::move(profile));
    }
    tDebug() << "Loaded" << int(result.size()) << "profiles.";
    return result;
}

void Profile::setName(const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return;
    tDebug() << "Profile name has been changed from" << m_name << "to" << trimmed;
    m_name = trimmed;
}

void Profile::clearProfile()
{
    m_name.clear();
    m_data.clear();
    m_values.clear();
}

bool Profile::operator==(const Profile& other) const
{
    if (m_name != other.m_name || m_data != other.m_data || m_values.size() != other.m_values.size())
        return false;
    for (qsizetype i = 0; i < m_values.size(); ++i) {
        if (m_values.at(i).name != other.m_values.at(i).name || m_values.at(i).value != other.m_values.at(i).value)
            return false;
    }
    return true;
}
