#ifndef TARVEL_LOG_H
#define TARVEL_LOG_H

// The one receiver of every diagnostic of the process: keeps each message as
// a time-stamped entry in memory, appends each completed line to the log file
// (opened and closed per line, so a line is on disk even if the process dies
// right after), can echo to the console, and turns a fatal report into an
// orderly record followed by termination.

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>

#include <functional>
#include <QList>
#include <QObject>
#include <QRecursiveMutex>
#include <QString>

class QTextStream;

struct LogEntry
{
    int level = 1;
    QString text;
    QDateTime time;
};

class Log : public QObject
{
    Q_OBJECT

public:
    enum Level { Information = 1, Warning = 2, Error = 3 };

    explicit Log(const QString& path = QString(), QObject* parent = nullptr);
    ~Log() override;

    // The application-wide log, constructed before start-up runs.
    static Log& instance();
    // The process-wide message handler: installed by start-up.
    static void messageReceiver(QtMsgType type, const QMessageLogContext& context, const QString& message);
    // Qt 6 filters debug messages by logging rules before any handler sees
    // them; this keeps the default category's debug and info messages on.
    static void installCategoryFilter();

    void setFile(const QString& path);
    QString file() const { return m_path; }
    void setEcho(bool on);
    bool echo() const { return m_echo; }
    // Milliseconds on a steady clock, for the throttle of logUpdated();
    // tests put their own clock in.
    using Clock = std::function<qint64()>;
    void setClock(const Clock& clock);

    void writeInfo(const QString& text) { appendText(Information, text); }
    void writeInfo(QTextStream& stream);
    void writeInfo(const char* bytes) { appendBytes(Information, QByteArray(bytes)); }
    void writeInfo(const QByteArray& bytes) { appendBytes(Information, bytes); }
    void writeInfo(int number) { appendBytes(Information, QByteArray::number(number)); }
    void writeInfo(double number) { appendBytes(Information, formatReal(number)); }
    void writeInfo(char c) { appendBytes(Information, QByteArray(1, c)); }

    void writeWarning(const QString& text) { appendText(Warning, text); }
    void writeWarning(QTextStream& stream);
    void writeWarning(const char* bytes) { appendBytes(Warning, QByteArray(bytes)); }
    void writeWarning(const QByteArray& bytes) { appendBytes(Warning, bytes); }
    void writeWarning(int number) { appendBytes(Warning, QByteArray::number(number)); }
    void writeWarning(double number) { appendBytes(Warning, formatReal(number)); }
    void writeWarning(char c) { appendBytes(Warning, QByteArray(1, c)); }

    void writeError(const QString& text) { appendText(Error, text); }
    void writeError(QTextStream& stream);
    void writeError(const char* bytes) { appendBytes(Error, QByteArray(bytes)); }
    void writeError(const QByteArray& bytes) { appendBytes(Error, bytes); }
    void writeError(int number) { appendBytes(Error, QByteArray::number(number)); }
    void writeError(double number) { appendBytes(Error, formatReal(number)); }
    void writeError(char c) { appendBytes(Error, QByteArray(1, c)); }

    // Stream insertion goes to the information family.
    template<typename T>
    Log& operator<<(const T& value)
    {
        writeInfo(value);
        return *this;
    }
    Log& operator<<(QTextStream& stream)
    {
        writeInfo(stream);
        return *this;
    }

    QList<LogEntry> entries() const;
    int openPosition(int level) const;

    static QString levelTag(int level);
    // One file line: "yyMMdd hh:mm:ss TAG<tab>text" ended by CR LF.
    static QString fileLine(const LogEntry& entry);

public slots:
    void clear();

signals:
    void logUpdated();
    void warning();

private:
    static QByteArray formatReal(double number);
    void appendText(int level, const QString& text);
    void appendBytes(int level, const QByteArray& bytes);
    void process(int level, bool flush);
    void writeEntry(const LogEntry& entry) const;
    static int bufferIndex(int level);

    mutable QRecursiveMutex m_mutex;
    bool m_echo = true;
    QString m_path;
    QByteArray m_buffers[3];
    QList<LogEntry> m_entries;
    int m_open[3] = {-1, -1, -1};
    Clock m_clock;
    qint64 m_lastUpdate = 0;
};

#endif
