#include "streamdevice.h"

#include <algorithm>

namespace {

// Slices small enough for the progress to move and a cancel to take, large
// enough that the per-call cost never shows.
constexpr qint64 kSlice = 1 << 20;
// Progress is reported at most once per this many bytes.
constexpr qint64 kReportStep = 1 << 20;
// Writes below this size are gathered, and written out once this much is.
constexpr qint64 kGather = 1 << 16;

} // namespace

StreamDevice::StreamDevice(QIODevice* file, const Progress& progress, const std::atomic<bool>* cancelled)
    : m_file(file)
    , m_progress(progress)
    , m_cancelled(cancelled)
{
    open((file->openMode() & (QIODevice::ReadOnly | QIODevice::WriteOnly)) | QIODevice::Unbuffered);
}

qint64 StreamDevice::bytesAvailable() const
{
    qint64 left = QIODevice::bytesAvailable();
    if (m_file->isReadable() && !m_file->isSequential())
        left += std::max<qint64>(0, m_file->size() - m_file->pos());
    return left;
}

void StreamDevice::advance(qint64 bytes)
{
    m_done += bytes;
    if (m_progress && m_done - m_reported >= kReportStep) {
        m_reported = m_done;
        m_progress(m_done);
    }
}

qint64 StreamDevice::readData(char* data, qint64 maxSize)
{
    qint64 total = 0;
    while (total < maxSize) {
        if (isCancelled())
            return -1;
        const qint64 got = m_file->read(data + total, qMin(kSlice, maxSize - total));
        if (got < 0)
            return total > 0 ? total : -1;
        if (got == 0)
            break;
        total += got;
        advance(got);
    }
    return total;
}

qint64 StreamDevice::writeData(const char* data, qint64 size)
{
    if (size < kGather) {
        m_gathered.append(data, size);
        if (m_gathered.size() >= kGather && !flushWrites())
            return -1;
        return size;
    }
    if (!flushWrites() || !writeThrough(data, size))
        return -1;
    return size;
}

bool StreamDevice::flushWrites()
{
    if (m_gathered.isEmpty())
        return m_failure.isEmpty();
    const bool written = writeThrough(m_gathered.constData(), m_gathered.size());
    m_gathered.clear();
    return written;
}

bool StreamDevice::writeThrough(const char* data, qint64 size)
{
    qint64 left = size;
    while (left > 0) {
        if (isCancelled()) {
            m_failure = tr("Cancelled");
            return false;
        }
        const qint64 written = m_file->write(data, qMin(kSlice, left));
        if (written <= 0) {
            m_failure = m_file->errorString();
            return false;
        }
        data += written;
        left -= written;
        advance(written);
    }
    return true;
}
