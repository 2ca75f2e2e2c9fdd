#include "settingsstore.h"

#include "diagnostic.h"

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>

namespace {

// Type ids of Qt 4's variant stream (float was an extended core type).
enum StreamType : quint32 {
    Invalid = 0,
    Bool = 1,
    Int = 2,
    UInt = 3,
    Double = 6,
    String = 10,
    ByteArray = 12,
    Float = 135,
};

quint32 streamType(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return Bool;
    case QMetaType::Int:
        return Int;
    case QMetaType::UInt:
        return UInt;
    case QMetaType::Float:
        return Float;
    case QMetaType::Double:
        return Double;
    case QMetaType::QString:
        return String;
    case QMetaType::QByteArray:
        return ByteArray;
    default:
        return Invalid;
    }
}

void prepare(QDataStream& stream)
{
    // Floats as 8-byte doubles, as Qt 4.6 and later wrote them.
    stream.setVersion(QDataStream::Qt_4_8);
    stream.setByteOrder(QDataStream::BigEndian);
}

void writeValue(QDataStream& out, const QVariant& value)
{
    const quint32 type = streamType(value);
    out << type << qint8(0);
    switch (type) {
    case Bool:
        out << value.toBool();
        break;
    case Int:
        out << qint32(value.toInt());
        break;
    case UInt:
        out << quint32(value.toUInt());
        break;
    case Float:
        out << value.toFloat();
        break;
    case Double:
        out << value.toDouble();
        break;
    case String:
        out << value.toString();
        break;
    case ByteArray:
        out << value.toByteArray();
        break;
    default:
        break;
    }
}

enum class ReadResult { Value, Skipped, Unreadable };

// Reads one value. An invalid variant (written with an empty string after
// it) is skipped; any other type has a layout of its own, so nothing after
// it can be found.
ReadResult readValue(QDataStream& in, QVariant* value, quint32* typeOut)
{
    quint32 type = 0;
    qint8 isNull = 0;
    in >> type >> isNull;
    *typeOut = type;
    switch (type) {
    case Invalid: {
        QString ignored;
        in >> ignored;
        return ReadResult::Skipped;
    }
    case Bool: {
        bool v = false;
        in >> v;
        *value = v;
        return ReadResult::Value;
    }
    case Int: {
        qint32 v = 0;
        in >> v;
        *value = int(v);
        return ReadResult::Value;
    }
    case UInt: {
        quint32 v = 0;
        in >> v;
        *value = uint(v);
        return ReadResult::Value;
    }
    case Float: {
        float v = 0.0f;
        in >> v;
        *value = v;
        return ReadResult::Value;
    }
    case Double: {
        double v = 0.0;
        in >> v;
        *value = v;
        return ReadResult::Value;
    }
    case String: {
        QString v;
        in >> v;
        *value = v;
        return ReadResult::Value;
    }
    case ByteArray: {
        QByteArray v;
        in >> v;
        *value = v;
        return ReadResult::Value;
    }
    default:
        return ReadResult::Unreadable;
    }
}

} // namespace

bool SettingsStore::isStorable(const QVariant& value)
{
    return streamType(value) != Invalid;
}

SettingsStore::Pairs SettingsStore::decode(const QString& text)
{
    Pairs pairs;
    const QByteArray bytes = QByteArray::fromBase64(text.toLatin1());
    if (bytes.isEmpty())
        return pairs;
    QDataStream in(bytes);
    prepare(in);
    // Until the end of the data or the first damage; the pairs before it stay.
    while (!in.atEnd()) {
        QString key;
        in >> key;
        QVariant value;
        quint32 type = 0;
        const ReadResult result = readValue(in, &value, &type);
        if (in.status() != QDataStream::Ok)
            break;
        if (result == ReadResult::Unreadable) {
            tWarning() << "Project::settings(). The setting" << key << "has a value of type" << type
                       << "that is not stored; it and the settings after it are skipped.";
            break;
        }
        if (result == ReadResult::Skipped) {
            tWarning() << "Project::settings(). The setting" << key << "has no value. Skipped.";
            continue;
        }
        pairs.append({key, value});
    }
    return pairs;
}

QString SettingsStore::encode(const Pairs& pairs)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    prepare(out);
    for (const auto& pair : pairs) {
        out << pair.first;
        writeValue(out, pair.second);
    }
    return QString::fromLatin1(bytes.toBase64());
}

void SettingsStore::assign(Pairs& pairs, const QString& key, const QVariant& value)
{
    for (auto& pair : pairs) {
        if (pair.first == key) {
            pair.second = value;
            return;
        }
    }
    pairs.append({key, value});
}
