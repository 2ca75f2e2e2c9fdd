#ifndef TARVEL_STREAMDEVICE_H
#define TARVEL_STREAMDEVICE_H

// The device a database is read from or written to: it passes everything on
// to the file in slices, reports the bytes done to a progress callback, and
// stops at once when asked to cancel. A record of hundreds of megabytes
// (a run's output data) thus goes straight between the stream and the file,
// never through a copy of the whole file, and a progress dialog moves while
// it does.
//
// Writing keeps the system's reason for a failed write: a write that fills
// the disk part-way returns what it wrote without a reason, so the rest is
// written again, and that attempt fails at once with the reason ("No space
// left on device", "File too large").

#include <QIODevice>

#include <atomic>
#include <functional>

class StreamDevice : public QIODevice
{
    Q_OBJECT

public:
    using Progress = std::function<void(qint64 done)>;

    StreamDevice(QIODevice* file, const Progress& progress, const std::atomic<bool>* cancelled);

    bool isSequential() const override { return true; }
    // What is left to read: known for a file, nothing promised otherwise.
    qint64 bytesAvailable() const override;
    bool isCancelled() const { return m_cancelled && *m_cancelled; }
    qint64 done() const { return m_done; }
    // Why the last write failed: the file's reason, or empty.
    QString failure() const { return m_failure; }
    // Writes out what small writes have gathered; false on failure.
    [[nodiscard]] bool flushWrites();

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    void advance(qint64 bytes);
    bool writeThrough(const char* data, qint64 size);

    QIODevice* m_file = nullptr;
    Progress m_progress;
    const std::atomic<bool>* m_cancelled = nullptr;
    qint64 m_done = 0;
    qint64 m_reported = 0;
    QString m_failure;
    // Small writes (the many counts and names of a database) are gathered
    // here, so that they cost no system call each.
    QByteArray m_gathered;
};

#endif
