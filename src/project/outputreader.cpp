#include "outputreader.h"

#include "latin1textdevice.h"

#include <QIODevice>
#include <QString>

#include <fast_float/fast_float.h>

#include <algorithm>
#include <cfloat>
#include <cstring>
#include <limits>
#include <system_error>
#include <thread>

namespace {

// Read in large blocks: a whole run's file is hundreds of megabytes, and a
// line at a time through QIODevice::readLine costs more than the parsing.
constexpr qint64 kBlockSize = 4 * 1024 * 1024;

// The blanks a line is trimmed of to see whether it is empty (byte-wise, as
// QByteArray::trimmed).
inline bool isAsciiBlank(unsigned char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The blanks a cell is trimmed of. A cell is Latin-1 text, and QString's
// trimming also takes NEL and NO-BREAK SPACE for blanks.
inline bool isLatin1Blank(unsigned char c)
{
    return isAsciiBlank(c) || c == 0x85 || c == 0xA0;
}

// A cell's text ends at its first zero byte; what follows is padding.
inline const char* cellEnd(const char* begin, const char* end)
{
    const void* zero = std::memchr(begin, 0, size_t(end - begin));
    return zero ? static_cast<const char*>(zero) : end;
}

// The end of a line's text: before its LF or CRLF.
inline const char* withoutTerminator(const char* line, const char* end)
{
    if (end != line && end[-1] == '\n')
        --end;
    if (end != line && end[-1] == '\r')
        --end;
    return end;
}

// The conversion of OutputReader::toFloat, inlined into the reader's loop.
inline float numberOf(const char* begin, const char* end)
{
    while (begin != end && isLatin1Blank(static_cast<unsigned char>(*begin)))
        ++begin;
    bool negative = false;
    if (begin != end && (*begin == '+' || *begin == '-')) {
        negative = *begin == '-';
        ++begin;
    }
    // fast_float knows no leading '+' and takes "inf" and "nan", neither of
    // which is a number here: after the sign a digit or the point must come.
    if (begin == end || !((*begin >= '0' && *begin <= '9') || *begin == '.'))
        return 0.0f;
    // Through double, then checked against the float range, as Qt 4 did: a
    // value that rounds down to FLT_MAX in single precision is still too large.
    double value = 0.0;
    const fast_float::from_chars_result result = fast_float::from_chars(begin, end, value);
    if (result.ec != std::errc() || !(value <= double(FLT_MAX)))
        return 0.0f;
    // Only blanks may follow, up to the end of the text or its first zero
    // byte. Checked here rather than by cutting every cell at its first zero
    // beforehand: that second pass over every cell showed in the benchmark.
    for (const char* p = result.ptr; p != end && *p != '\0'; ++p) {
        if (!isLatin1Blank(static_cast<unsigned char>(*p)))
            return 0.0f;
    }
    const float single = float(value);
    return negative ? -single : single;
}

// One call of OutputReader::read: the fields being filled and the position
// after the last accepted line.
class Pass
{
public:
    Pass(std::vector<std::unique_ptr<OutputField>>& fields, int fieldsize, qint64 accepted, qint64 expectedBytes)
        : m_fields(fields)
        , m_fieldsize(fieldsize)
        , m_accepted(accepted)
        , m_expectedBytes(expectedBytes)
    {
        collectColumns();
    }

    qint64 accepted() const { return m_accepted; }
    bool refused() const { return m_refused; }
    // How many bytes the data lines fell short of one byte per field, in
    // all. Where it is no more than the heading's length, every line ended
    // at or beyond one byte per value so far: needsTooMuch() could not have
    // refused anywhere, however the lines were counted.
    qint64 shortfall() const { return m_shortfall; }

    // `line` holds the bytes of one line, its line feed included if it has
    // one; `next` is the file position after it.
    void take(const char* line, qsizetype length, qint64 next)
    {
        const char* const end = line + length;
        const char* p = line;
        while (p != end && isAsciiBlank(static_cast<unsigned char>(*p)))
            ++p;
        if (p == end || m_refused)
            return;
        if (*line == '<' || *line == '>')
            return;
        if (m_accepted == 0) {
            takeHeading(line, end);
        } else {
            takeData(line, end);
            m_shortfall += std::max<qint64>(0, qint64(m_columns.size()) - length);
            if (++m_lines % kCheckEvery == 0 && needsTooMuch(next))
                return;
        }
        m_accepted = next;
    }

private:
    // Every line gives every field a value, so a heading of many columns
    // over many short lines asks for memory the file does not hold: refused
    // as damaged, rather than ending the program for want of memory. A real
    // file spends a whole column's width on each value.
    bool needsTooMuch(qint64 fileBytes)
    {
        const qint64 values = qint64(m_columns.size()) * (m_columns.empty() ? 0 : m_columns.front()->size());
        const qint64 needed = values * qint64(sizeof(float));
        if (needed <= kFreeBytes || needed <= kBytesPerFileByte * fileBytes)
            return false;
        m_refused = true;
        return true;
    }

    void collectColumns()
    {
        m_columns.clear();
        m_columns.reserve(m_fields.size());
        for (const auto& field : m_fields)
            m_columns.push_back(&field->values);
        m_reserved = false;
    }

    void takeHeading(const char* line, const char* end)
    {
        m_fields.clear();
        // The line's terminator is no part of a field: a heading of 14 full
        // columns and its line feed is 14 fields, not 15 with a nameless last
        // one. A last column one byte short of the width still counts.
        end = withoutTerminator(line, end);
        const qsizetype length = end - line;
        const qsizetype count = (length + m_fieldsize - 1) / m_fieldsize;
        for (qsizetype i = 0; i < count; ++i) {
            const char* begin = line + i * m_fieldsize;
            const char* stop = cellEnd(begin, std::min(begin + m_fieldsize, end));
            auto field = std::make_unique<OutputField>();
            field->name = QString::fromLatin1(begin, stop - begin).trimmed();
            m_fields.push_back(std::move(field));
        }
        collectColumns();
    }

    // Room for the lines still to come, estimated from the bytes left, so a
    // whole file fills every vector without regrowing it. Never less than
    // double the old capacity: small polls then grow the vectors
    // geometrically instead of reallocating them on every poll.
    void reserve()
    {
        m_reserved = true;
        if (m_columns.empty() || m_expectedBytes <= 0)
            return;
        const qsizetype lines = qsizetype(m_expectedBytes / (qint64(m_fieldsize) * qint64(m_columns.size())));
        for (QList<float>* values : m_columns) {
            const qsizetype wanted = values->size() + lines;
            if (wanted > values->capacity())
                values->reserve(std::max(wanted, 2 * values->capacity()));
        }
    }

    void takeData(const char* line, const char* end)
    {
        if (!m_reserved)
            reserve();
        const char* begin = line;
        for (QList<float>* values : m_columns) {
            float value = 0.0f;
            if (begin < end) {
                const char* stop = std::min(begin + m_fieldsize, end);
                value = numberOf(begin, stop);
                begin = stop;
            }
            values->append(value);
        }
    }

    std::vector<std::unique_ptr<OutputField>>& m_fields;
    std::vector<QList<float>*> m_columns;
    const int m_fieldsize;
    qint64 m_accepted;
    const qint64 m_expectedBytes;
    bool m_reserved = false;
    bool m_refused = false;
    qint64 m_lines = 0;
    qint64 m_shortfall = 0;
    static constexpr qint64 kCheckEvery = 256;
    static constexpr qint64 kFreeBytes = qint64(64) << 20;
    static constexpr qint64 kBytesPerFileByte = 4;
};

} // namespace

namespace {

struct Outcome
{
    qint64 accepted = 0;
    bool refused = false;
    qint64 shortfall = 0;
};

Outcome readLines(QIODevice& device, qint64 readPos, int fieldsize, bool final,
                  std::vector<std::unique_ptr<OutputField>>& fields, qint64 maxBytes)
{
    if (fieldsize <= 0 || readPos < 0)
        return {readPos, false, 0};
    qint64 expected = 0;
    if (!device.isSequential()) {
        // QBuffer refuses, with a warning, to seek beyond its end; nothing
        // has been appended there anyway.
        expected = device.size() - readPos;
        if (expected <= 0 || !device.seek(readPos))
            return {readPos, false, 0};
    }
    const bool limited = maxBytes > 0 && !final;
    if (limited && (expected <= 0 || expected > maxBytes))
        expected = maxBytes;
    qint64 left = limited ? maxBytes : std::numeric_limits<qint64>::max();

    Pass pass(fields, fieldsize, readPos, expected);
    // Sized to what is there (a poll reads a few lines, not a block), grown
    // only for a line longer than the buffer.
    qint64 capacity = expected > 0 ? std::min(expected + 1, kBlockSize) : kBlockSize;
    std::unique_ptr<char[]> buffer(new char[size_t(capacity)]);
    qint64 kept = 0;            // bytes of an unfinished line at the buffer's start
    qint64 bufferPos = readPos; // the file position of buffer[0]
    for (;;) {
        if (kept == capacity) {
            std::unique_ptr<char[]> larger(new char[size_t(2 * capacity)]);
            std::memcpy(larger.get(), buffer.get(), size_t(kept));
            buffer = std::move(larger);
            capacity *= 2;
        }
        if (left <= 0)
            break;
        const qint64 got = device.read(buffer.get() + kept, std::min(capacity - kept, left));
        if (got <= 0)
            break;
        left -= got;

        const char* const data = buffer.get();
        const char* const end = data + kept + got;
        const char* line = data;
        while (const void* found = std::memchr(line, '\n', size_t(end - line))) {
            const char* next = static_cast<const char*>(found) + 1;
            pass.take(line, next - line, bufferPos + (next - data));
            line = next;
        }
        if (pass.refused())
            break;
        kept = end - line;
        std::memmove(buffer.get(), line, size_t(kept));
        bufferPos += line - data;
    }
    // What is left has no line feed: the last line, perhaps still being
    // written. A complete last line is taken at once; this one only at the
    // end of the run.
    if (final && kept > 0)
        pass.take(buffer.get(), kept, bufferPos + kept);
    if (pass.refused()) {
        fields.clear();
        return {readPos, true, pass.shortfall()};
    }
    return {pass.accepted(), false, pass.shortfall()};
}

} // namespace

qint64 OutputReader::read(QIODevice& device, qint64 readPos, int fieldsize, bool final,
                          std::vector<std::unique_ptr<OutputField>>& fields, bool* refused, qint64 maxBytes)
{
    const Outcome outcome = readLines(device, readPos, fieldsize, final, fields, maxBytes);
    if (refused)
        *refused = outcome.refused;
    return outcome.accepted;
}

qint64 OutputReader::readText(QStringView text, int fieldsize, std::vector<std::unique_ptr<OutputField>>& fields,
                              bool* refused)
{
    // Below this, a second thread costs more than it saves.
    constexpr qint64 kSplitFrom = qint64(4) << 20;
    // The heading and the first lines are read first: the second half needs
    // the fields the heading makes.
    constexpr qint64 kHead = qint64(64) << 10;
    Latin1TextDevice device(text);
    if (text.size() < kSplitFrom || fieldsize <= 0)
        return read(device, 0, fieldsize, true, fields, refused);
    const Outcome head = readLines(device, 0, fieldsize, false, fields, kHead);
    const qsizetype middle = text.indexOf(u'\n', head.accepted + (text.size() - head.accepted) / 2) + 1;
    if (head.refused || head.accepted == 0 || fields.empty() || middle <= 0)
        return read(device, 0, fieldsize, true, fields, refused);

    std::vector<std::unique_ptr<OutputField>> tail;
    for (const auto& field : fields) {
        tail.push_back(std::make_unique<OutputField>());
        tail.back()->name = field->name;
    }
    Outcome second{middle, false, 0};
    auto readSecond = [&] {
        Latin1TextDevice secondDevice(text);
        second = readLines(secondDevice, middle, fieldsize, true, tail, -1);
    };
    std::thread thread;
    try {
        thread = std::thread(readSecond);
    } catch (const std::system_error&) {
        // No thread to be had: both halves on this one.
    }
    const Outcome first = readLines(device, head.accepted, fieldsize, false, fields, middle - head.accepted);
    if (thread.joinable())
        thread.join();
    else
        readSecond();
    // Each half counts only its own lines against the memory the file
    // holds, so a refusal is only certain from a reading of the whole. A
    // heading of C fields is at least C bytes long: with no more shortfall
    // than that, no line anywhere could have been refused.
    const qint64 shortfall = head.shortfall + first.shortfall + second.shortfall;
    if (first.refused || second.refused || shortfall > qint64(fields.size()))
        return read(device, 0, fieldsize, true, fields, refused);
    if (refused)
        *refused = false;
    for (size_t i = 0; i < fields.size(); ++i)
        fields[i]->values.append(tail[i]->values);
    // The second half starts at a line's start: it accepted nothing if it
    // ends where it began.
    return second.accepted > middle ? second.accepted : first.accepted;
}

QString OutputReader::refusalText()
{
    return QStringLiteral("The output data is damaged: its columns and lines would need far more memory than the "
                          "file holds. It is not read.");
}

float OutputReader::toFloat(const char* begin, const char* end)
{
    return numberOf(begin, end);
}
