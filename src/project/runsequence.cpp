#include "runsequence.h"

#include "diagnostic.h"
#include "translation.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <csignal>
#include <cstring>
#include <unistd.h>
#endif

namespace {

// How long a killed process may take to be reaped when the sequence is
// forgotten (SIGKILL acts at once; this only covers the kernel's work).
constexpr int kKillWaitMs = 250;

QString signalName(int number)
{
#ifdef Q_OS_WIN
    return QString::number(number);
#else
    const char* name = strsignal(number);
    return name ? QStringLiteral("%1, %2").arg(number).arg(QString::fromLocal8Bit(name)) : QString::number(number);
#endif
}

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
    , m_graceTimer(new QTimer(this))
{
    m_graceTimer->setSingleShot(true);
    m_graceTimer->setInterval(StopGraceMs);
    connect(m_graceTimer, &QTimer::timeout, this, &RunSequence::killGroup);
#ifndef Q_OS_WIN
    // A group of its own: a stop reaches everything the executable started.
    m_process->setChildProcessModifier([] { ::setpgid(0, 0); });
#endif
    connectProcess();
}

RunSequence::~RunSequence()
{
    // Nothing of a half-destroyed owner may run from a late notification.
    disconnect(m_process, nullptr, this, nullptr);
    killGroup();
    if (m_process->state() != QProcess::NotRunning)
        m_process->waitForFinished(kKillWaitMs);
}

QString RunSequence::programPath(const QString& path) const
{
    return QDir(m_programDirectory).filePath(path);
}

int RunSequence::addExecutor(const QString& name, const QString& path, const QString& success, const QString& failure)
{
    if (path.trimmed().isEmpty() || name.trimmed().isEmpty())
        return -1;
    // Kept all the same: a run must be refused naming the program, never
    // run without it.
    if (!QFileInfo(programPath(path)).isFile())
        tWarning() << filled("WRONG_PRJ_EXEC", path);
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
        const QFileInfo program(programPath(run.path));
        if (!program.isFile() || !program.isExecutable())
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
    connect(
        m_process, &QProcess::started, this, [this] { queueForThisProcess(&RunSequence::procStarted); },
        Qt::DirectConnection);
    connect(
        m_process, &QProcess::finished, this,
        [this](int exitCode, QProcess::ExitStatus exitStatus) {
            const quint64 serial = m_processSerial;
            QMetaObject::invokeMethod(
                this,
                [this, serial, exitCode, exitStatus] {
                    if (serial != m_processSerial)
                        return;
                    m_exitStatus = exitStatus;
                    m_exitCode = exitCode;
                    procFinished();
                },
                Qt::QueuedConnection);
        },
        Qt::DirectConnection);
    connect(
        m_process, &QProcess::readyReadStandardError, this,
        [this] { queueForThisProcess(&RunSequence::readAvailable); }, Qt::DirectConnection);
    connect(
        m_process, &QProcess::readyReadStandardOutput, this, [this] { queueForThisProcess(&RunSequence::readLines); },
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
    m_verdictText.clear();
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
    m_exitCode = 0;
    m_failureSeen = false;
    m_pendingLine.clear();
    m_pendingWarned = false;
    m_graceTimer->stop();
    // No arguments: the program path is never split at its blanks.
    m_process->setProgram(program);
    m_process->setArguments({});
    m_process->start(QIODevice::ReadWrite);
    m_group = m_process->processId();
}

void RunSequence::stop()
{
    if (!m_active)
        return;
    // Also between two executables, when none runs: the sequence ends at the
    // finish that is on its way.
    m_stopRequested = true;
    terminateGroup();
}

void RunSequence::reset()
{
    if (m_active)
        m_stopRequested = true;
    killGroup();
    // Reaped here, so that the next run never shares its folder with it.
    if (m_process->state() != QProcess::NotRunning)
        m_process->waitForFinished(kKillWaitMs);
    ++m_processSerial;
    m_active = false;
}

void RunSequence::terminateGroup()
{
    if (m_process->state() == QProcess::NotRunning)
        return;
#ifdef Q_OS_WIN
    m_process->terminate();
#else
    if (m_group > 0)
        ::kill(pid_t(-m_group), SIGTERM);
#endif
    // By force once the grace time is over, whatever answered the request.
    m_graceTimer->start();
}

void RunSequence::killGroup()
{
    m_graceTimer->stop();
#ifdef Q_OS_WIN
    if (m_process->state() != QProcess::NotRunning)
        m_process->kill();
#else
    // The group may outlive its first process: a wrapper's children.
    if (m_group > 0)
        ::kill(pid_t(-m_group), SIGKILL);
#endif
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
    const bool crashed = m_exitStatus == QProcess::CrashExit;
    if (crashed)
        run.succeeded = false;
    const bool succeeded = run.succeeded;
    tDebug() << fragment(QString(38, QLatin1Char('-')));
    if (succeeded)
        tDebug() << "Executor" << run.name << "has finished its work,";
    else
        tDebug() << "Executor" << run.name << "has failed to finish its work,";
    emit progFinished(m_currentRun);

    if (m_stopRequested) {
        // What the stop left behind goes too, once the grace time is over.
        end(Verdict::Stopped, tr("The run was stopped during %1.").arg(run.name));
        return;
    }
    if (crashed) {
        end(Verdict::Failed, tr("%1 crashed (signal %2).").arg(run.name, signalName(m_exitCode)));
        return;
    }
    if (!succeeded) {
        const QString text = m_failureSeen ? tr("%1 reported a failure in its console output.")
                                           : tr("%1 ended without reporting success in its console output.");
        end(Verdict::Failed, text.arg(run.name));
        return;
    }
    // Past the last one when all have run.
    const int done = m_currentRun++;
    if (m_currentRun >= m_runs.size()) {
        end(Verdict::Succeeded, QString());
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
    const ExecutorRun& run = m_runs.at(m_currentRun);
    if (m_stopRequested)
        end(Verdict::Stopped, tr("The run was stopped before %1 started.").arg(run.name));
    else
        end(Verdict::Failed, tr("%1 could not be started: %2").arg(run.name, m_process->errorString()));
}

void RunSequence::end(Verdict verdict, const QString& text)
{
    m_active = false;
    m_verdictText = text;
    m_group = 0;
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
    m_pendingLine += m_process->readAllStandardOutput();
    flushPending(false);
}

void RunSequence::flushPending(bool all)
{
    // Whole lines only while the executable runs: a sentence written in two
    // pieces is judged once it is complete. The rest comes after the finish.
    // Output without line feeds must not grow without end: past the limit it
    // goes on in pieces.
    qsizetype from = 0;
    while (from < m_pendingLine.size()) {
        const qsizetype lineFeed = m_pendingLine.indexOf('\n', from);
        qsizetype end = lineFeed < 0 ? m_pendingLine.size() : lineFeed + 1;
        if (end - from > PendingLineLimit) {
            end = from + PendingLineLimit;
            if (!m_pendingWarned && hasCurrent())
                tWarning() << "The console output of" << m_runs.at(m_currentRun).name << "has no line feed in"
                           << PendingLineLimit << "bytes; it is shown in pieces.";
            m_pendingWarned = true;
        } else if (lineFeed < 0 && !all) {
            break;
        }
        appendOutput(m_pendingLine.mid(from, end - from));
        from = end;
    }
    m_pendingLine.remove(0, from);
}

void RunSequence::drainOutput()
{
    m_pendingLine += m_process->readAllStandardOutput();
    flushPending(true);
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
    if (!run.failure.isEmpty() && chunk.contains(run.failure, Qt::CaseInsensitive)) {
        run.succeeded = false;
        m_failureSeen = true;
    }
    emit progUpdated(m_currentRun);
}
