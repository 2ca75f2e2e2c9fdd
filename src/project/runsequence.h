#ifndef TARVEL_RUNSEQUENCE_H
#define TARVEL_RUNSEQUENCE_H

// The run of the executables: one child process at a time, in order, in one
// working directory, each judged by the success and failure sentences of its
// console output. It knows nothing of schemes or output data; the project
// drives it and listens to its signals.
//
// A sequence ends exactly once, with finished(); stop() only ends the process,
// and no later executable starts after a stop.
//
// Each executable runs in a process group of its own, so that a stop ends
// whatever it started too (a wrapper script's children): first politely,
// then, after a grace time, by force. Nothing here waits on the process,
// so the event loop never stalls on an executable that ignores a stop.

#include "executorrun.h"

#include <QList>
#include <QObject>
#include <QProcess>
#include <QString>

class QTimer;

class RunSequence : public QObject
{
    Q_OBJECT

public:
    static constexpr int LogLimit = 40000; // characters kept of each executable's console output
    static constexpr int StopGraceMs = 3000; // from the polite stop to the forced one
    // The longest console line kept whole: output without line feeds is
    // passed on in pieces of this size, with a warning.
    static constexpr int PendingLineLimit = 1 << 20;

    enum class Verdict { Succeeded, Failed, Stopped };
    Q_ENUM(Verdict)

    explicit RunSequence(QObject* parent = nullptr);
    ~RunSequence() override;

    // Relative program paths are taken from this folder.
    void setProgramDirectory(const QString& dir) { m_programDirectory = dir; }
    QString programPath(const QString& path) const;
    // The path as the program is started: on Windows its short form.
    static QString longToShortPath(const QString& path);

    // Adds the executable, or updates the one of that name (compared
    // case-blind); -1 for a missing name or path. A program that is not
    // found is kept, and notReadyReason() names it.
    int addExecutor(const QString& name, const QString& path, const QString& success, const QString& failure);
    const QList<ExecutorRun>& runs() const { return m_runs; }
    // Why the sequence cannot start (the translated reason), or empty.
    QString notReadyReason() const;

    bool isActive() const { return m_currentRun >= 0 && m_active; }
    int currentRun() const { return m_currentRun; }
    bool isStopRequested() const { return m_stopRequested; }
    QProcess::ProcessState processState() const { return m_process->state(); }
    bool allSucceeded() const;
    // How the last sequence ended, in words for the user ("" while none has
    // ended, or when all succeeded).
    QString verdictText() const { return m_verdictText; }

    // Starts the first executable in the folder; the caller has checked
    // notReadyReason().
    void start(const QString& workingDirectory);
    // Ends the running executable and the sequence; returns at once, the
    // end comes through finished().
    void stop();
    // Forgets the sequence under way: kills its processes at once, and drops
    // every notification still queued for it.
    void reset();

    // The console output of the current executable: kept (capped), and judged.
    void appendOutput(const QByteArray& bytes);

signals:
    void programStarted(int index);
    void progUpdated(int index);
    void progFinished(int index);
    // Between a succeeded executable and the start of the next one, while
    // nothing runs.
    void aboutToStartNext(int finished);
    void finished(RunSequence::Verdict verdict);

private:
    void connectProcess();
    void queueForThisProcess(void (RunSequence::*slot)());
    void startProgram(int index);
    void terminateGroup();
    void killGroup();
    void procStarted();
    void procFinished();
    void procError(QProcess::ProcessError error);
    void failedToStart();
    void readLines();
    void readAvailable();
    void drainOutput();
    void flushPending(bool all);
    void end(Verdict verdict, const QString& text);
    bool hasCurrent() const { return m_currentRun >= 0 && m_currentRun < m_runs.size(); }

    QProcess* m_process = nullptr;
    QTimer* m_graceTimer = nullptr;
    // The group of the running executable (its process id), 0 for none.
    qint64 m_group = 0;
    QByteArray m_pendingLine;
    bool m_pendingWarned = false;
    QString m_verdictText;
    QString m_programDirectory;
    QList<ExecutorRun> m_runs;
    int m_currentRun = -1;
    bool m_active = false;
    bool m_stopRequested = false;
    // Counts process starts and resets: a notification queued for an earlier
    // executable or an earlier sequence is dropped.
    quint64 m_processSerial = 0;
    QProcess::ExitStatus m_exitStatus = QProcess::NormalExit;
    int m_exitCode = 0;
    bool m_failureSeen = false;
};

#endif
