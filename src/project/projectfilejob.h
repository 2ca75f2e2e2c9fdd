#ifndef TARVEL_PROJECTFILEJOB_H
#define TARVEL_PROJECTFILEJOB_H

// Saving or opening a project in a worker thread, so that the window goes on
// painting while hundreds of megabytes of results go to or come from the
// disk. A save writes a copy of the project taken when it starts (the texts
// are shared, not copied); an open reads the file and parses its output data
// into a project of its own, which the project takes over only when the job
// has succeeded: a failed or cancelled open leaves the project as it was.
//
//   auto job = ProjectFileJob::open(project, file);
//   connect(job.get(), &ProjectFileJob::progress, dialog, ...);
//   connect(job.get(), &ProjectFileJob::finished, ...);  // then job->succeeded()

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class Project;
class QThread;
struct ProjectFileData;

class ProjectFileJob : public QObject
{
    Q_OBJECT

public:
    enum class Kind { Save, Open };

    // A job that has already failed (a file name missing, results still
    // being stored) finishes at once, from the event loop.
    static std::unique_ptr<ProjectFileJob> save(Project* project, const QString& file);
    static std::unique_ptr<ProjectFileJob> open(Project* project, const QString& file);
    ~ProjectFileJob() override;

    Kind kind() const { return m_kind; }
    QString file() const { return m_file; }
    bool isRunning() const { return m_thread != nullptr; }
    bool succeeded() const { return m_succeeded; }
    bool wasCancelled() const { return m_cancelRequested; }
    // Ends an open as soon as the reader notices; the project stays as it
    // was. A save is not cancelled: it is short next to its risk.
    void cancel();
    // For callers without an event loop of their own.
    void waitForFinished();

signals:
    void progress(qint64 done, qint64 total);
    void finished();

private:
    ProjectFileJob(Kind kind, Project* project, const QString& file);
    void run(std::function<void()> work);
    void complete();

    Kind m_kind;
    Project* m_project = nullptr;
    QString m_file;
    QThread* m_thread = nullptr;
    std::shared_ptr<std::atomic<bool>> m_cancelled;
    std::shared_ptr<ProjectFileData> m_data;
    bool m_cancelRequested = false;
    bool m_succeeded = false;
    bool m_finished = false;
};

#endif
