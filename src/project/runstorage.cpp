#include "runstorage.h"

#include "largebuffer.h"
#include "outputreader.h"
#include "safefile.h"

#include <QFile>
#include <QThread>

#include <cstring>

RunStorage::RunStorage(QObject* parent)
    : QObject(parent)
{
}

RunStorage::~RunStorage()
{
    abandon();
}

void RunStorage::start(const Request& request)
{
    abandon();
    m_result.reset();
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    auto result = std::make_shared<Result>();
    m_cancelled = cancelled;
    m_running = result;
    m_thread = QThread::create([request, cancelled, result] {
        // The rest of the output data, appended to the worker's own copy of
        // the fields.
        for (const OutputField& field : request.fields)
            result->fields.push_back(std::make_unique<OutputField>(field));
        result->readPos = request.readPos;
        if (!request.dataFile.isEmpty() && SafeFile::isRegularFile(request.dataFile)) {
            QFile file(request.dataFile);
            if (file.open(QIODevice::ReadOnly))
                result->readPos = OutputReader::read(file, request.readPos, request.fieldsize, true, result->fields,
                                                     &result->refused);
        }
        if (*cancelled)
            return;
        if (!request.dataFile.isEmpty())
            result->hasData = readText(request.dataFile, &result->dataText, cancelled.get());
        if (!request.computationFile.isEmpty() && !*cancelled)
            result->hasComputation = readText(request.computationFile, &result->computationText, cancelled.get());
    });
    QThread* thread = m_thread;
    connect(thread, &QThread::finished, this, [this, thread] {
        thread->deleteLater();
        if (thread == m_thread)
            finish();
    });
    m_thread->start();
}

void RunStorage::finish()
{
    m_thread = nullptr;
    if (*m_cancelled)
        return;
    // The worker has ended: the result is the owner's alone now.
    m_result = std::make_unique<Result>(std::move(*m_running));
    m_running.reset();
    emit stored();
}

std::unique_ptr<RunStorage::Result> RunStorage::takeResult()
{
    return std::move(m_result);
}

void RunStorage::abandon()
{
    if (!m_thread)
        return;
    *m_cancelled = true;
    // Reading stops at the next block; the thread is reaped here so that
    // nothing of it outlives its owner.
    QThread* thread = m_thread;
    m_thread = nullptr;
    disconnect(thread, nullptr, this, nullptr);
    thread->wait();
    delete thread;
    m_running.reset();
}

bool RunStorage::readText(const QString& path, QString* text, const std::atomic<bool>* cancelled)
{
    if (!SafeFile::isRegularFile(path))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    text->clear();
    const qint64 size = file.size();
    if (size > 0) {
        text->reserve(qsizetype(size));
        LargeBuffer::preferLargePages(text->data(), qint64(text->capacity()) * qint64(sizeof(QChar)));
    }
    // In blocks, each converted once; a zero byte ends its line's text.
    constexpr qint64 kBlock = 1 << 20;
    QByteArray block;
    bool skipping = false; // after a zero byte, up to the line's end
    while (!file.atEnd()) {
        if (cancelled && *cancelled)
            return false;
        block = file.read(kBlock);
        if (block.isEmpty())
            break;
        const char* data = block.constData();
        const qsizetype length = block.size();
        qsizetype from = 0;
        while (from < length) {
            if (skipping) {
                const void* lineFeed = std::memchr(data + from, '\n', size_t(length - from));
                if (!lineFeed) {
                    from = length;
                    break;
                }
                // The line's text ended at its zero byte, its line feed too.
                from = static_cast<const char*>(lineFeed) - data + 1;
                skipping = false;
                continue;
            }
            const void* zero = std::memchr(data + from, '\0', size_t(length - from));
            const qsizetype to = zero ? static_cast<const char*>(zero) - data : length;
            text->append(QLatin1String(data + from, to - from));
            from = to;
            if (zero) {
                skipping = true;
                ++from;
            }
        }
    }
    return true;
}
