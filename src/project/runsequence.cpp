#include "runsequence.h"

#include "diagnostic.h"
#include "translation.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// Of the stop grace time, what is left for a killed process to be reaped.
constexpr int kKillWaitMs = 250;

QString filled(const char* tag, const QString& name)
{
    return translate(tag).replace(QLatin1String("%NAME"), name);
}

} // namespace

QString RunSequence::longToShortPath(const QString& path)
{
    // Short names hold no blanks, so a command line needs no quoting.
#ifdef Q_OS_WIN
    wchar_t longPath[2048];
    wchar_t shortName[1024];
    const QString native = QDir::toNativeSeparators(path);
    if (native.size() < 2048) {
        const int length = native.toWCharArray(longPath);
        longPath[length] = L'\0';
        const DWORD written = GetShortPathNameW(longPath, shortName, 1024);
        if (written > 0 && written < 1024)
            return QDir::fromNativeSeparators(QString::fromWCharArray(shortName, int(written)));
    }
    tWarning() << "Project::longToShortPath(). Failed to convert Long Path name" << path << "to Short.";
#endif
    return path;
}

RunSequence::RunSequence(QObject* parent)
    : QObject(parent)
    , m_process(new QProcess(this))
{
    connectProcess();
}

RunSequence::~RunSequence()
{
    // Nothing of a half-destroyed owner may run from a late notification.
    disconnect(m_process, nullptr, this, nullptr);
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(StopGraceMs);
    }
}

QString RunSequence::programPath(const QString& path) const
{
    return QDir(m_programDirectory).filePath(path);
}

int RunSequence::addExecutor(const QString& name, const QString& path, const QString& success,
                             const QString& failure)
{
    if (path.trimmed().isEmpty() || name.trimmed().isEmpty())
        return -1;
    if (!QFileInfo(programPath(path)).isFile()) {
        tWarning() << filled("WRONG_PRJ_EXEC", path);
        return -1;
    }
    const QString trimmed = name.trimmed();
    int index = -1;
    for (int i = 0; i < m_runs.size(); ++i) {
        if (m_runs.at(i).name.toUpper() == trimmed.toUpper()) {
            index = i;
            break;
        }
    }
    if (index < 0) {
        m_runs.append(ExecutorRun());
        index = int(m_runs.size()) - 1;
    }
    ExecutorRun& run = m_runs[index];
    run.name = trimmed;
    run.path = path;
    run.success = success;
    run.failure = failure;
    run.log.clear();
    run.received = 0;
    return index;
}

QString RunSequence::notReadyReason() const
{
    if (m_runs.isEmpty())
        return translate("NO_PRJ_EXEC");
    for (const ExecutorRun& run : m_runs) {
        if (!QFileInfo(programPath(run.path)).isFile())
            return filled("WRONG_PRJ_EXEC", run.path);
    }
    return QString();
}

bool RunSequence::allSucceeded() const
{
    for (const ExecutorRun& run : m_runs) {
        if (!run.succeeded)
            return false;
    }
    return true;
}

void RunSequence::connectProcess()
{
    // Direct: the error belongs to the call that caused it.
    connect(m_process, &QProcess::errorOccurred, this, &RunSequence::procError, Qt::DirectConnection);
    connect(m_process, &QProcess::started, this, [this] { queueForThisProcess(&RunSequence::procStarted); },
            Qt::DirectConnection);
    connect(
        m_process, &QProcess::finished, this,
        [this](int, QProcess::ExitStatus exitStatus) {
            const quint64 serial = m_processSerial;
            QMetaObject::invokeMethod(
                this,
                [this, serial, exitStatus] {
                    if (serial != m_processSerial)
                        return;
                    m_exitStatus = exitStatus;
                    procFinished();
                },
                Qt::QueuedConnection);
        },
        Qt::DirectConnection);
    connect(m_process, &QProcess::readyReadStandardError, this,
            [this] { queueForThisProcess(&RunSequence::readAvailable); }, Qt::DirectConnection);
    connect(m_process, &QProcess::readyRead, this, [this] { queueForThisProcess(&RunSequence::readLines); },
            Qt::DirectConnection);
}

void RunSequence::queueForThisProcess(void (RunSequence::*slot)())
{
    // Queued, as the process's notifications always were: the slots run from
    // the event loop, never inside a call that started or stopped a process.
    // The serial tells a notification of an executable that has since been
    // replaced, or of a sequence since reset, and drops it.
    const quint64 serial = m_processSerial;
    QMetaObject::invokeMethod(
        this,
        [this, serial, slot] {
            if (serial == m_processSerial)
                (this->*slot)();
        },
        Qt::QueuedConnection);
}

void RunSequence::start(const QString& workingDirectory)
{
    if (m_active || m_process->state() != QProcess::NotRunning || m_runs.isEmpty())
        return;
    for (ExecutorRun& run : m_runs) {
        run.succeeded = run.success.isEmpty();
        run.log.clear();
        run.received = 0;
    }
    m_stopRequested = false;
    m_active = true;
    m_currentRun = 0;
    m_process->setWorkingDirectory(workingDirectory);
    startProgram(0);
}

void RunSequence::startProgram(int index)
{
    const QString program = longToShortPath(programPath(m_runs.at(index).path));
    tDebug() << "Starting:" << fragment(program);
    ++m_processSerial;
    m_exitStatus = QProcess::NormalExit;
    // No arguments: the program path is never split at its blanks.
    m_process->setProgram(program);
    m_process->setArguments({});
    m_process->start(QIODevice::ReadWrite);
}

void RunSequence::stop()
{
    if (!m_active)
        return;
    // Also between two executables, when none runs: the sequence ends at the
    // finish that is on its way.
    m_stopRequested = true;
    endProcess();
}

void RunSequence::reset()
{
    if (m_active)
        m_stopRequested = true;
    endProcess();
    ++m_processSerial;
    m_active = false;
}

void RunSequence::endProcess()
{
    if (m_process->state() == QProcess::NotRunning)
        return;
    m_process->terminate();
    if (!m_process->waitForFinished(StopGraceMs - kKillWaitMs)) {
        m_process->kill();
        m_process->waitForFinished(kKillWaitMs);
    }
}

void RunSequence::procStarted()
{
    if (!m_active || !hasCurrent())
        return;
    tDebug() << "Started" << m_runs.at(m_currentRun).name;
    emit programStarted(m_currentRun);
}

void RunSequence::procFinished()
{
    if (!m_active || !hasCurrent())
        return;
    drainOutput();
    ExecutorRun& run = m_runs[m_currentRun];
    // A crash is a failure, whatever the output said before it.
    if (m_exitStatus == QProcess::CrashExit)
        run.succeeded = false;
    const bool succeeded = run.succeeded;
    tDebug() << fragment(QString(38, QLatin1Char('-')));
    if (succeeded)
        tDebug() << "Executor" << run.name << "has finished its work,";
    else
        tDebug() << "Executor" << run.name << "has failed to finish its work,";
    emit progFinished(m_currentRun);

    if (m_stopRequested) {
        end(Verdict::Stopped);
        return;
    }
    if (!succeeded) {
        end(Verdict::Failed);
        return;
    }
    // Past the last one when all have run.
    const int done = m_currentRun++;
    if (m_currentRun >= m_runs.size()) {
        end(Verdict::Succeeded);
        return;
    }
    emit aboutToStartNext(done);
    startProgram(m_currentRun);
}

void RunSequence::failedToStart()
{
    if (!m_active || !hasCurrent())
        return;
    // No finish follows a failed start: the sequence ends here, as a failure.
    m_runs[m_currentRun].succeeded = false;
    tDebug() << fragment(QString(38, QLatin1Char('-')));
    tDebug() << "Executor" << m_runs.at(m_currentRun).name << "has failed to finish its work,";
    emit progFinished(m_currentRun);
    end(m_stopRequested ? Verdict::Stopped : Verdict::Failed);
}

void RunSequence::end(Verdict verdict)
{
    m_active = false;
    emit finished(verdict);
}

void RunSequence::procError(QProcess::ProcessError error)
{
    const char* tag = "PRJ_UKNOWNERR";
    bool close = false;
    switch (error) {
    case QProcess::FailedToStart:
        tag = "PRJ_FAILED_2START";
        break;
    case QProcess::Crashed:
        tag = "PRJ_CRASHED";
        break;
    case QProcess::Timedout:
        tag = "PRJ_TIMEDOUT";
        close = true;
        break;
    case QProcess::ReadError:
        tag = "PRJ_READERR";
        break;
    case QProcess::WriteError:
        tag = "PRJ_WRITEERR";
        break;
    default:
        close = true;
        break;
    }
    tWarning() << "Error in" << (hasCurrent() ? m_runs.at(m_currentRun).path : QString()) << ":" << translate(tag);
    if (close)
        m_process->close();
    if (error == QProcess::FailedToStart)
        queueForThisProcess(&RunSequence::failedToStart);
}

void RunSequence::readAvailable()
{
    const QByteArray bytes = m_process->readAllStandardError();
    if (!bytes.isEmpty())
        appendOutput(bytes);
}

void RunSequence::readLines()
{
    if (!hasCurrent())
        return;
    // Whole lines only while the executable runs: a sentence written in two
    // pieces is judged once it is complete. The rest comes after the finish.
    while (m_process->canReadLine())
        appendOutput(m_process->readLine());
}

void RunSequence::drainOutput()
{
    while (m_process->canReadLine())
        appendOutput(m_process->readLine());
    const QByteArray rest = m_process->readAllStandardOutput();
    if (!rest.isEmpty())
        appendOutput(rest);
    const QByteArray errors = m_process->readAllStandardError();
    if (!errors.isEmpty())
        appendOutput(errors);
}

void RunSequence::appendOutput(const QByteArray& bytes)
{
    if (!hasCurrent())
        return;
    const qsizetype zero = bytes.indexOf('\0');
    const QString chunk = QString::fromLatin1(zero < 0 ? bytes : bytes.left(zero));
    ExecutorRun& run = m_runs[m_currentRun];
    run.log += chunk;
    run.received += chunk.size();
    if (run.log.size() > LogLimit)
        run.log.remove(0, run.log.size() - LogLimit);
    // Each chunk alone, the failure last: a failure sentence wins over a
    // success sentence in the same chunk.
    if (!run.success.isEmpty() && chunk.contains(run.success, Qt::CaseInsensitive))
        run.succeeded = true;
    if (!run.failure.isEmpty() && chunk.contains(run.failure, Qt::CaseInsensitive))
        run.succeeded = false;
    emit progUpdated(m_currentRun);
}
