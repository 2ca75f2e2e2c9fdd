// The run: the catalogue's executables one after the other as child processes
// in the project directory, their console output judged by the success and
// failure sentences, and the end of the run, which stores the output files in
// the project.
//
// A run ends exactly once, in procFinished() (or, for an executable that
// cannot be started, in failedToStart()); stop() only ends the process. A
// stop ends the whole sequence: no later executable starts after it, even
// when the stopped one still counted as succeeded.

#include "project/project.h"

#include "app/diagnostic.h"
#include "app/translation.h"
#include "catalogue/options.h"
#include "project/outputreader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace {

// Of the stop grace time, what is left for a killed process to be reaped.
constexpr int kKillWaitMs = 250;

QString programPath(const QString& path)
{
    return QDir(Options::programDirectory()).filePath(path);
}

QString filled(const char* tag, const QString& name)
{
    return translate(tag).replace(QLatin1String("%NAME"), name);
}

} // namespace

int Project::addExecutor(const QString& name, const QString& path, const QString& success, const QString& failure)
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

bool Project::checkReady(bool quiet) const
{
    auto refuse = [quiet](const QString& text) {
        if (!quiet)
            tWarning() << text;
        return false;
    };
    if (m_runs.isEmpty())
        return refuse(translate("NO_PRJ_EXEC"));
    if (m_path.isEmpty())
        return refuse(translate("NO_PRJ_PATH"));
    for (const ExecutorRun& run : m_runs) {
        if (!QFileInfo(programPath(run.path)).isFile())
            return refuse(filled("WRONG_PRJ_EXEC", run.path));
    }
    if (!QDir(m_path).exists())
        return refuse(filled("WRONG_PRJ_PATH", m_path));
    const ExtraData* input = hasExtra(QStringLiteral("CUSTOM_INP")) ? getExtra(QStringLiteral("CUSTOM_INP")) : nullptr;
    if (!input) {
        tCritical() << "Project::calculate(). Unexpected error: File \"CUSTOM_INP\" has not been found in the "
                       "project.";
        return false;
    }
    if (input->text.isEmpty())
        return refuse(translate("PRJ_NO_CONFIG"));
    return true;
}

void Project::start()
{
    // An executable that has been started but not reported yet runs too.
    if (m_status == 2 || m_process->state() != QProcess::NotRunning)
        return;
    m_readPos = 0;
    m_stopRequested = false;
    setExtraData(QStringLiteral("OUTPUT_DATA"), QString());
    emptyOutData();
    m_currentTime = 0.0f;
    emit outDataUpdated();
    if (!m_path.isEmpty()) {
        if (!m_datafile.isEmpty())
            QFile::remove(projectFile(m_datafile));
        // A block left from an earlier run must never be cut out as a
        // profile of this one.
        if (!m_compufile.isEmpty())
            QFile::remove(projectFile(m_compufile));
    }
    const QString duration = optionValue(m_duroption);
    tDebug() << "Duration:" << duration << m_duroption;
    const QByteArray number = duration.trimmed().toLatin1();
    m_endTime = OutputReader::toFloat(number.constData(), number.constData() + number.size());
    if (checkReady(true))
        calculate();
    else
        setStatus(0); // the output data is gone: no results to claim
}

void Project::calculate()
{
    if (m_status == 2 || m_process->state() != QProcess::NotRunning)
        return;
    if (!checkReady(false)) {
        setStatus(0);
        return;
    }
    for (const ExtraData* extra : extras()) {
        if (!extra->fileName.isEmpty() && !_writeFile(extra->fileName, extra->text))
            return;
    }
    for (ExecutorRun& run : m_runs) {
        run.succeeded = run.success.isEmpty();
        run.log.clear();
        run.received = 0;
    }
    emit simulationStarted();
    m_currentRun = 0;
    m_process->setWorkingDirectory(m_path);
    startProgram(0);
}

void Project::startProgram(int index)
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

void Project::stop()
{
    if (m_status != 2)
        return;
    // Also between two executables, when none runs: the sequence ends at the
    // finish that is on its way.
    m_stopRequested = true;
    endProcess();
}

void Project::endProcess()
{
    if (m_process->state() == QProcess::NotRunning)
        return;
    m_process->terminate();
    if (!m_process->waitForFinished(StopGraceMs - kKillWaitMs)) {
        m_process->kill();
        m_process->waitForFinished(kKillWaitMs);
    }
}

void Project::pause()
{
}

void Project::onProcessStateChange(QProcess::ProcessState)
{
}

void Project::procStarted()
{
    if (m_currentRun < 0 || m_currentRun >= m_runs.size())
        return;
    tDebug() << "Started" << m_runs.at(m_currentRun).name;
    setStatus(2);
    m_timer->start(PollIntervalMs);
}

void Project::procFinished()
{
    if (m_status != 2 || m_currentRun < 0 || m_currentRun >= m_runs.size())
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
        endRun();
        return;
    }
    if (!succeeded) {
        emit simulationFailure();
        endRun();
        return;
    }
    const int finished = m_currentRun;
    ++m_currentRun;
    if (m_currentRun >= m_runs.size()) {
        endRun();
        return;
    }
    if (m_currentProfile != -1 && finished == 0)
        _appendProfileToFort3(m_currentProfile);
    startProgram(m_currentRun);
    m_timer->stop(); // the next procStarted() starts it again
}

void Project::failedToStart()
{
    if (m_currentRun < 0 || m_currentRun >= m_runs.size())
        return;
    // No finish follows a failed start: the run ends here, as a failure.
    m_runs[m_currentRun].succeeded = false;
    tDebug() << fragment(QString(38, QLatin1Char('-')));
    tDebug() << "Executor" << m_runs.at(m_currentRun).name << "has failed to finish its work,";
    emit progFinished(m_currentRun);
    if (!m_stopRequested)
        emit simulationFailure();
    endRun();
}

void Project::endRun()
{
    tDebug() << fragment(QString(39, QLatin1Char('=')));
    tDebug() << "Computaion is over.";
    _readDataFile(true);
    _updateTime();
    // Stored before the status changes, so its listeners find the new data.
    _saveFileToExtra(QStringLiteral("OUTPUT_DATA"), m_datafile);
    _saveFileToExtra(QStringLiteral("COMPUT_DATA"), m_compufile);
    setStatus(1);
    emit simulationFinished();
    m_timer->stop();
}

void Project::procError(QProcess::ProcessError error)
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
    const bool valid = m_currentRun >= 0 && m_currentRun < m_runs.size();
    tWarning() << "Error in" << (valid ? m_runs.at(m_currentRun).path : QString()) << ":" << translate(tag);
    if (close)
        m_process->close();
    if (error == QProcess::FailedToStart)
        queueForThisProcess(&Project::failedToStart);
}

void Project::readyStd()
{
    const QByteArray bytes = m_process->readAllStandardError();
    if (!bytes.isEmpty())
        appendOutput(bytes);
}

void Project::readyErr()
{
    const QByteArray bytes = m_process->readAllStandardError();
    if (!bytes.isEmpty())
        appendOutput(bytes);
}

void Project::procReadRead()
{
    if (m_currentRun < 0 || m_currentRun >= m_runs.size())
        return;
    // Whole lines only while the executable runs: a sentence written in two
    // pieces is judged once it is complete. The rest comes after the finish.
    while (m_process->canReadLine())
        appendOutput(m_process->readLine());
}

void Project::drainOutput()
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

void Project::appendOutput(const QByteArray& bytes)
{
    if (m_currentRun < 0 || m_currentRun >= m_runs.size())
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

void Project::_saveFileToExtra(const QString& extraName, const QString& fileName)
{
    if (fileName.isEmpty())
        return;
    QFile file(projectFile(fileName));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    file.close();
    // Each line as 8-bit text up to its first zero byte, line ends kept.
    QString text;
    if (!bytes.contains('\0')) {
        text = QString::fromLatin1(bytes);
    } else {
        qsizetype from = 0;
        while (from < bytes.size()) {
            qsizetype next = bytes.indexOf('\n', from);
            next = next < 0 ? bytes.size() : next + 1;
            const QByteArray line = bytes.mid(from, next - from);
            const qsizetype zero = line.indexOf('\0');
            text += QString::fromLatin1(zero < 0 ? line : line.left(zero));
            from = next;
        }
    }
    if (hasExtra(extraName))
        setExtraData(extraName, text);
    else
        addExtra(extraName, text);
    tDebug() << "Saved to Extra" << extraName << int(text.size()) << "bytes";
}
