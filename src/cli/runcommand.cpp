#include "runcommand.h"

#include "cliout.h"
#include "cliproject.h"
#include "project.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void onInterrupt(int)
{
    g_interrupted = 1;
    // A second Ctrl+C ends the tool at once.
    std::signal(SIGINT, SIG_DFL);
}

QString absolute(const QString& file)
{
    return QFileInfo(file).absoluteFilePath();
}

} // namespace

int RunCommand::run(const QStringList& argumentList)
{
    const QString command = QStringLiteral("run");
    QStringList arguments = argumentList;
    QString dir;
    QString profile;
    QString exportFile;
    QString saveFile;
    const bool hasDir = CliProject::takeOption(arguments, QStringLiteral("--dir"), &dir);
    const bool hasProfile = CliProject::takeOption(arguments, QStringLiteral("--profile"), &profile);
    CliProject::takeOption(arguments, QStringLiteral("--export"), &exportFile);
    CliProject::takeOption(arguments, QStringLiteral("--save"), &saveFile);
    CliProject::Source source;
    if (!CliProject::parseSource(command, arguments, &source))
        return 2;
    if (!arguments.isEmpty()) {
        CliOut::error(QStringLiteral("run: unexpected argument \"%1\"").arg(arguments.first()));
        return 2;
    }
    CliProject cli;
    if (!cli.open(command, source))
        return 1;
    Project& project = cli.project();

    // A private directory of its own unless one is given; it goes with the
    // command, after the results have been exported and saved.
    QTemporaryDir temporary;
    if (hasDir) {
        if (!project.setPath(dir)) {
            CliOut::error(QStringLiteral("run: cannot create the directory \"%1\"").arg(dir));
            return 1;
        }
    } else if (!temporary.isValid() || !project.setPath(temporary.path())) {
        CliOut::error(QStringLiteral("run: cannot create a temporary directory: %1").arg(temporary.errorString()));
        return 1;
    }
    if (hasProfile) {
        bool ok = false;
        const int index = profile.toInt(&ok);
        if (!ok || index < 0 || !project.setCurrentProfile(index)) {
            CliOut::error(QStringLiteral("run: there is no profile \"%1\"").arg(profile));
            return 1;
        }
    }

    const bool completed = follow(project);
    bool written = true;
    if (!exportFile.isEmpty() && !project.exportOutData(absolute(exportFile))) {
        CliOut::error(QStringLiteral("run: %1").arg(project.errorString()));
        written = false;
    }
    if (!saveFile.isEmpty())
        written = CliProject::save(command, project, absolute(saveFile)) && written;
    if (!project.runVerdictText().isEmpty())
        CliOut::error(QStringLiteral("run: %1").arg(project.runVerdictText()));
    return completed && written && project.allSucceeded() ? 0 : 1;
}

bool RunCommand::follow(Project& project)
{
    // start() checks quietly; say why a project cannot run.
    if (!project.checkReady(false))
        return false;

    bool started = false;
    bool finished = false;
    QEventLoop loop;
    QObject::connect(&project, &Project::simulationStarted, &loop, [&] { started = true; });
    QObject::connect(&project, &Project::simulationFinished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    // The log keeps only its last characters; what is new is what arrived
    // since the last time.
    QHash<int, qint64> printed;
    QObject::connect(&project, &Project::progUpdated, &loop, [&](int index) {
        const ExecutorRun& run = project.runs().at(index);
        const qint64 fresh = qMin<qint64>(run.received - printed.value(index), run.log.size());
        printed[index] = run.received;
        if (fresh > 0)
            CliOut::print(run.log.right(fresh));
    });
    QObject::connect(&project, &Project::progFinished, &loop, [&](int index) {
        const ExecutorRun& run = project.runs().at(index);
        CliOut::error(QStringLiteral("run: %1 %2").arg(run.name, run.succeeded ? QStringLiteral("succeeded")
                                                                               : QStringLiteral("failed")));
    });
    int steps = 0;
    QObject::connect(&project, &Project::outDataUpdated, &loop, [&] {
        if (project.timeStepCount() == steps)
            return;
        steps = project.timeStepCount();
        const int permille = project.progress();
        CliOut::error(QStringLiteral("run: %1 steps, progress %2/1000, time %3")
                          .arg(steps)
                          .arg(permille < 0 ? QStringLiteral("?") : QString::number(permille))
                          .arg(QString::number(double(project.currentTime()), 'g', 6)));
    });

    g_interrupted = 0;
    std::signal(SIGINT, onInterrupt);
    bool interrupted = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
        if (!g_interrupted)
            return;
        if (!interrupted)
            CliOut::error(QStringLiteral("run: interrupted, stopping"));
        interrupted = true;
        // Until it takes: before the first executable has started, there is
        // nothing to stop yet.
        project.stop();
    });
    watch.start(100);

    project.start();
    if (started && !finished)
        loop.exec();
    std::signal(SIGINT, SIG_DFL);
    if (!started) {
        CliOut::error(QStringLiteral("run: the run did not start"));
        return false;
    }
    return !interrupted;
}
