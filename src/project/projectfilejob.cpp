#include "projectfilejob.h"

#include "project.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>

// What the worker and the job share: filled by the worker, read by the job
// once the worker has ended.
struct ProjectFileData
{
    // save
    std::unique_ptr<Scheme> snapshot;
    Scheme::WriteResult result = Scheme::WriteResult::CannotCreate;
    QString error;
    // open
    Project::LoadedFile loaded;
};

ProjectFileJob::ProjectFileJob(Kind kind, Project* project, const QString& file)
    : m_kind(kind)
    , m_project(project)
    , m_file(file.trimmed())
    , m_cancelled(std::make_shared<std::atomic<bool>>(false))
    , m_data(std::make_shared<ProjectFileData>())
{
}

ProjectFileJob::~ProjectFileJob()
{
    if (m_thread) {
        *m_cancelled = m_kind == Kind::Open;
        disconnect(m_thread, nullptr, this, nullptr);
        m_thread->wait();
        delete m_thread;
    }
}

std::unique_ptr<ProjectFileJob> ProjectFileJob::save(Project* project, const QString& file)
{
    std::unique_ptr<ProjectFileJob> job(new ProjectFileJob(Kind::Save, project, file));
    QString target;
    if (!project->prepareSave(file, &target)) {
        // Reported from the event loop, as every other ending is.
        QMetaObject::invokeMethod(job.get(), &ProjectFileJob::complete, Qt::QueuedConnection);
        return job;
    }
    job->m_file = target;
    job->m_data->snapshot = project->snapshot();
    const qint64 total = project->storedSizeEstimate();
    std::shared_ptr<ProjectFileData> data = job->m_data;
    // The job outlives its worker (its destructor waits), and a report
    // queued to a job since deleted is dropped with it.
    ProjectFileJob* self = job.get();
    job->run([data, target, total, self] {
        data->result = Scheme::writeDatabase(target, {data->snapshot.get()}, &data->error, [self, total](qint64 done) {
            QMetaObject::invokeMethod(self, [self, done, total] { emit self->progress(qMin(done, total), total); });
        });
    });
    return job;
}

std::unique_ptr<ProjectFileJob> ProjectFileJob::open(Project* project, const QString& file)
{
    std::unique_ptr<ProjectFileJob> job(new ProjectFileJob(Kind::Open, project, file));
    const qint64 total = QFileInfo(job->m_file).size();
    std::shared_ptr<ProjectFileData> data = job->m_data;
    std::shared_ptr<std::atomic<bool>> cancelled = job->m_cancelled;
    Options* catalogue = project->options();
    const int fieldsize = project->fieldsize();
    QThread* home = project->thread();
    ProjectFileJob* self = job.get();
    const QString name = job->m_file;
    job->run([data, cancelled, catalogue, fieldsize, home, name, total, self] {
        auto report = [self, total](qint64 done) {
            QMetaObject::invokeMethod(self, [self, done, total] { emit self->progress(qMin(done, total), total); });
        };
        data->loaded = Project::readFile(name, catalogue, fieldsize, report, cancelled.get(), home);
    });
    return job;
}

void ProjectFileJob::run(std::function<void()> work)
{
    m_thread = QThread::create(std::move(work));
    connect(m_thread, &QThread::finished, this, &ProjectFileJob::complete);
    m_thread->start();
}

void ProjectFileJob::cancel()
{
    if (m_kind == Kind::Open && !m_finished) {
        m_cancelRequested = true;
        *m_cancelled = true;
    }
}

void ProjectFileJob::complete()
{
    if (m_finished)
        return;
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
        m_thread = nullptr;
    }
    m_finished = true;
    if (m_kind == Kind::Save) {
        m_succeeded = m_data->snapshot && m_project->finishSave(m_file, m_data->result, m_data->error);
    } else if (m_cancelRequested) {
        m_succeeded = false; // the project stays as it was
    } else {
        m_succeeded = m_project->adopt(m_file, std::move(m_data->loaded));
    }
    m_data.reset();
    emit finished();
}

void ProjectFileJob::waitForFinished()
{
    while (!m_finished)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
