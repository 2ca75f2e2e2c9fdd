#include "projectfileprogress.h"

#include "projectfilejob.h"

#include <QEventLoop>
#include <QProgressDialog>

namespace {

// Progress in steps of 1/1000: byte counts of several gigabytes do not fit
// the dialog's int range.
constexpr int kSteps = 1000;

} // namespace

bool ProjectFileProgress::wait(QWidget* parent, ProjectFileJob& job, const QString& label)
{
    QProgressDialog dialog(label, QString(), 0, kSteps, parent);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(400);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    if (job.kind() == ProjectFileJob::Kind::Open) {
        dialog.setCancelButtonText(QObject::tr("Cancel"));
        QObject::connect(&dialog, &QProgressDialog::canceled, &job, &ProjectFileJob::cancel);
    }
    QObject::connect(&job, &ProjectFileJob::progress, &dialog, [&dialog](qint64 done, qint64 total) {
        dialog.setValue(total > 0 ? int(done * kSteps / total) : 0);
    });
    QEventLoop loop;
    QObject::connect(&job, &ProjectFileJob::finished, &loop, &QEventLoop::quit);
    // The dialog is window-modal: while the loop runs, the window repaints
    // but takes no input, so nothing changes the project under the job.
    dialog.setValue(0);
    loop.exec();
    dialog.reset();
    return job.succeeded();
}
