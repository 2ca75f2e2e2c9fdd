#include "log.h"

#include <QFile>
#include <QLoggingCategory>
#include <QMutexLocker>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

const char* const kSeparatorTail = "\r\n";

// Length of the leading part of a UTF-8 buffer that holds only complete
// sequences; an incomplete sequence at the very end waits for more bytes.
qsizetype completeUtf8Length(const QByteArray& bytes)
{
    const qsizetype size = bytes.size();
    for (qsizetype back = 1; back <= 4 && back <= size; ++back) {
        const uchar c = uchar(bytes.at(size - back));
        if ((c & 0xC0) == 0x80)
            continue; // continuation byte: look further back for its lead
        int needed = 1;
        if ((c & 0xE0) == 0xC0)
            needed = 2;
        else if ((c & 0xF0) == 0xE0)
            needed = 3;
        else if ((c & 0xF8) == 0xF0)
            needed = 4;
        return needed > back ? size - back : size;
    }
    return size;
}

void openForLine(QFile& file)
{
    // Binary mode: a text-mode write on Windows would turn CR LF into CR CR LF.
    file.open(file.exists() ? (QIODevice::WriteOnly | QIODevice::Append) : QIODevice::WriteOnly);
}

QRecursiveMutex g_receiverMutex;
QString g_previousMessage;
QLoggingCategory::CategoryFilter g_previousFilter = nullptr;

void keepDefaultDebugOn(QLoggingCategory* category)
{
    if (g_previousFilter)
        g_previousFilter(category);
    if (qstrcmp(category->categoryName(), "default") == 0) {
        category->setEnabled(QtDebugMsg, true);
        category->setEnabled(QtInfoMsg, true);
    }
}

void echoToConsole(const QString& text)
{
#ifdef Q_OS_WIN
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    WriteConsoleW(out, reinterpret_cast<const wchar_t*>(text.utf16()), DWORD(text.size()), &written, nullptr);
#else
    const QByteArray utf8 = text.toUtf8();
    std::fwrite(utf8.constData(), 1, size_t(utf8.size()), stdout);
    std::fflush(stdout);
#endif
}

} // namespace

Log::Log(const QString& path, QObject* parent)
    : QObject(parent)
{
    if (!path.trimmed().isEmpty())
        setFile(path);
    auto steady = std::make_shared<QElapsedTimer>();
    steady->start();
    setClock([steady] { return steady->elapsed(); });
}

void Log::setClock(const Clock& clock)
{
    QMutexLocker lock(&m_mutex);
    m_clock = clock;
    m_lastUpdate = m_clock();
}

Log::~Log()
{
    QMutexLocker lock(&m_mutex);
    process(Information, true);
    process(Warning, true);
    process(Error, true);
    m_entries.clear();
}

Log& Log::instance()
{
    static Log log;
    return log;
}

void Log::installCategoryFilter()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    g_previousFilter = QLoggingCategory::installFilter(keepDefaultDebugOn);
}

void Log::messageReceiver(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    QMutexLocker lock(&g_receiverMutex);
    // A fatal report is never dropped as a repeat: its abnormal-termination
    // line must reach the file before the process ends.
    if (type != QtFatalMsg && message == g_previousMessage)
        return;
    g_previousMessage = message;
    const QString line = message + QLatin1Char('\n');
    Log& log = instance();
    switch (type) {
    case QtDebugMsg:
    case QtInfoMsg:
        log.writeInfo(line);
        break;
    case QtWarningMsg:
        log.writeWarning(line);
        break;
    case QtCriticalMsg:
        log.writeError(line);
        break;
    case QtFatalMsg:
        log.writeError(line);
        log.writeError("< Abnormal Termination >\r\n");
        lock.unlock();
        std::abort();
    }
    if (log.echo())
        echoToConsole(line);
}

void Log::setFile(const QString& path)
{
    QMutexLocker lock(&m_mutex);
    const QString trimmed = path.trimmed();
    if (trimmed == m_path)
        return;
    m_path = trimmed;
    if (m_path.isEmpty())
        return;
    QFile file(m_path);
    openForLine(file);
    if (!file.isOpen())
        return;
    file.write(QByteArray(100, '-') + kSeparatorTail);
    file.close();
    for (const LogEntry& entry : std::as_const(m_entries))
        writeEntry(entry);
}

void Log::setEcho(bool on)
{
    m_echo = on;
}

void Log::writeInfo(QTextStream& stream)
{
    appendText(Information, stream.readAll());
}

void Log::writeWarning(QTextStream& stream)
{
    appendText(Warning, stream.readAll());
}

void Log::writeError(QTextStream& stream)
{
    appendText(Error, stream.readAll());
}

QByteArray Log::formatReal(double number)
{
    return QByteArray::number(number, 'g', 6);
}

void Log::appendText(int level, const QString& text)
{
    appendBytes(level, text.toUtf8());
}

void Log::appendBytes(int level, const QByteArray& bytes)
{
    QMutexLocker lock(&m_mutex);
    m_buffers[bufferIndex(level)].append(bytes);
    process(level, false);
}

int Log::bufferIndex(int level)
{
    if (level == Warning)
        return 1;
    if (level == Error)
        return 2;
    return 0;
}

void Log::process(int level, bool flush)
{
    if (level == Warning || level == Error)
        emit warning();
    const int b = bufferIndex(level);
    LogEntry pattern;
    pattern.level = level;
    pattern.time = QDateTime::currentDateTime();

    QByteArray& buffer = m_buffers[b];
    const qsizetype complete = completeUtf8Length(buffer);
    const QString text = QString::fromUtf8(buffer.constData(), complete);
    bool lineCompleted = false;
    for (const QChar c : text) {
        if (m_open[b] == -1) {
            m_entries.append(pattern);
            m_open[b] = int(m_entries.size()) - 1;
        }
        if (c == QLatin1Char('\n')) {
            writeEntry(m_entries.at(m_open[b]));
            m_open[b] = -1;
            lineCompleted = true;
        } else if (c != QLatin1Char('\r')) {
            m_entries[m_open[b]].text.append(c);
        }
    }
    if (flush && m_open[b] != -1)
        writeEntry(m_entries.at(m_open[b]));
    buffer.remove(0, complete);

    const qint64 now = m_clock();
    if (now - m_lastUpdate > 500 || lineCompleted) {
        emit logUpdated();
        m_lastUpdate = now;
    }
}

QString Log::levelTag(int level)
{
    if (level == Warning)
        return QStringLiteral("WRN");
    if (level == Error)
        return QStringLiteral("ERR");
    return QStringLiteral("INF");
}

QString Log::fileLine(const LogEntry& entry)
{
    // Substituted in order, so a percent sign in the text stays as it is.
    return QStringLiteral("%1 %2\t%3\r\n")
        .arg(entry.time.toString(QStringLiteral("yyMMdd hh:mm:ss")), levelTag(entry.level), entry.text);
}

void Log::writeEntry(const LogEntry& entry) const
{
    if (m_path.isEmpty() || entry.text.isEmpty())
        return;
    QFile file(m_path);
    openForLine(file);
    if (!file.isOpen())
        return;
    file.write(fileLine(entry).toUtf8());
    file.close();
}

void Log::clear()
{
    QMutexLocker lock(&m_mutex);
    m_entries.clear();
    m_open[0] = m_open[1] = m_open[2] = -1;
}

QList<LogEntry> Log::entries() const
{
    QMutexLocker lock(&m_mutex);
    return m_entries;
}

int Log::openPosition(int level) const
{
    QMutexLocker lock(&m_mutex);
    return m_open[bufferIndex(level)];
}
