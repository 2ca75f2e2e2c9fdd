#ifndef TARVEL_TESTS_SCHEME_RECORDWRITER_H
#define TARVEL_TESTS_SCHEME_RECORDWRITER_H

// Builds schemes database bytes by hand, field by field, without QDataStream:
// big-endian integers, strings as a 32-bit byte count and UTF-16BE code units
// (0xFFFFFFFF alone for a null string). Tests write files the program never
// wrote with it (version 2, damaged records) and spell out expected bytes.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class RecordWriter
{
public:
    // The record checksum of a string: its code units summed, wrapping.
    static quint32 sum(const QString& text)
    {
        quint32 total = 0;
        for (const QChar c : text)
            total += c.unicode();
        return total;
    }

    RecordWriter& u8(quint8 value)
    {
        m_bytes.append(char(value));
        return *this;
    }
    RecordWriter& boolean(bool value) { return u8(value ? 1 : 0); }
    RecordWriter& i16(quint16 value)
    {
        m_bytes.append(char(value >> 8));
        m_bytes.append(char(value & 0xFF));
        return *this;
    }
    RecordWriter& i32(quint32 value)
    {
        for (int shift = 24; shift >= 0; shift -= 8)
            m_bytes.append(char((value >> shift) & 0xFF));
        return *this;
    }
    RecordWriter& string(const QString& text)
    {
        i32(quint32(text.size() * 2));
        for (const QChar c : text)
            i16(c.unicode());
        return *this;
    }
    RecordWriter& nullString() { return i32(0xFFFFFFFFu); }
    RecordWriter& raw(const QByteArray& bytes)
    {
        m_bytes.append(bytes);
        return *this;
    }

    // The file header: marker, version, scheme count.
    RecordWriter& header(quint32 version, quint32 count)
    {
        return string(QStringLiteral("VORDANT")).i32(version).i32(count);
    }
    // A scheme header with its true checksum, plus `damage` added to it.
    RecordWriter& scheme(const QString& name, const QString& description, qint32 species, qint32 nodes,
                         qint32 extras, quint32 damage = 0)
    {
        string(name).string(description).i32(quint32(species)).i32(quint32(nodes)).i32(quint32(extras));
        return i32(quint32(species) + quint32(nodes) + quint32(extras) + sum(name) + sum(description) + damage);
    }
    RecordWriter& species(const QString& name, quint32 damage = 0) { return string(name).i32(sum(name) + damage); }
    RecordWriter& node(qint32 id, const QString& name, bool group, qint32 parent, const QString& option,
                       const QString& value, bool enabled, quint32 damage = 0)
    {
        i32(quint32(id)).string(name).boolean(group).i32(quint32(parent)).string(option).string(value);
        boolean(enabled);
        return i32(quint32(enabled) + quint32(id) + quint32(group) + quint32(parent) + sum(name) + sum(option)
                   + sum(value) + damage);
    }
    // A version-3 extra record; `length` < 0 means the true text length.
    RecordWriter& extra3(const QString& name, const QString& detail, const QString& fileName, quint16 flags,
                         const QString& text, qint32 length = -1, quint32 damage = 0)
    {
        const qint32 stated = length < 0 ? qint32(text.size()) : length;
        string(name).string(detail).string(fileName).i16(flags).i32(quint32(stated)).string(text);
        return i32(quint32(flags) + quint32(stated) + sum(name) + sum(detail) + sum(fileName) + sum(text) + damage);
    }
    // A version-2 extra record: name, length, text.
    RecordWriter& extra2(const QString& name, const QString& text, qint32 length = -1, quint32 damage = 0)
    {
        const qint32 stated = length < 0 ? qint32(text.size()) : length;
        string(name).i32(quint32(stated)).string(text);
        return i32(sum(name) + quint32(stated) + sum(text) + damage);
    }

    QByteArray bytes() const { return m_bytes; }
    qsizetype size() const { return m_bytes.size(); }

private:
    QByteArray m_bytes;
};

#endif
