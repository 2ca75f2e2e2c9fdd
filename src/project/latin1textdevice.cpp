#include "latin1textdevice.h"

#include <algorithm>

Latin1TextDevice::Latin1TextDevice(QStringView text, QObject* parent)
    : QIODevice(parent)
    , m_text(text)
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 Latin1TextDevice::readData(char* data, qint64 maxSize)
{
    const qint64 from = pos();
    const qint64 count = std::max<qint64>(0, std::min(maxSize, qint64(m_text.size()) - from));
    const char16_t* source = m_text.utf16() + from;
    for (qint64 i = 0; i < count; ++i)
        data[i] = source[i] <= 0xFF ? char(source[i]) : '?';
    return count;
}
