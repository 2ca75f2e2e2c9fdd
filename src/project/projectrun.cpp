// The run as the project sees it: readiness, the files written before the
// first executable, the output data polled while the executables run, and the
// end of the run, which stores the output files in the project. The
// executables themselves are run by the project's RunSequence.

#include "project.h"

#include "diagnostic.h"
#include "translation.h"
#include "options.h"
#include "inputgenerator.h"
#include "outputreader.h"
#include "runstorage.h"
#include "safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace {

QString filled(const char* tag, const QString& name)
{
    return translate(tag).replace(QLatin1String("%NAME"), name);
}

} // namespace

int Project::addExecutor(const QString& name, const QString& path, const QString& success, const QString& failure)
{
    return m_sequence->addExecutor(name, path, success, failure);
}

QString Project::notReadyReason() const
{
    if (m_sequence->runs().isEmpty())
        return translate("NO_PRJ_EXEC");
    if (m_path.isEmpty())
        return translate("NO_PRJ_PATH");
    const QString programs = m_sequence->notReadyReason();
    if (!programs.isEmpty())
        return programs;
    if (!QDir(m_path).exists())
        return filled("WRONG_PRJ_PATH", m_path);

    const ExtraData* input = hasExtra(QStringLiteral("CUSTOM_INP")) ? getExtra(QStringLiteral("CUSTOM_INP")) : nullptr;
    if (!input) {
        tCritical() << "Project::calculate(). Unexpected error: File \"CUSTOM_INP\" has not been found in the "
                       "project.";
        return translate("PRJ_NO_CONFIG");
    }
    if (input->text.isEmpty())
        return translate("PRJ_NO_CONFIG");
    // The input files are written there first: a folder that takes no file
    // would fail the run after the old results are gone.
    if (!QFileInfo(m_path).isWritable())
        return filled("FILE_OPEN", projectFile(input->fileName.isEmpty() ? input->name : input->fileName));
    // Without a species in the boundary conditions the input file has no
    // SPECIES and CONDITIONS blocks: the code cannot start from it.
    QString species;
    if (!nodes().isEmpty() && !InputGenerator::firstBoundarySpecies(nodes(), *options(), &species))
        return translate("GENF_NO_BC");
    return QString();
}

bool Project::checkReady(bool quiet) const
{
    const QString reason = notReadyReason();
    if (reason.isEmpty())
        return true;
    // The missing input file is reported as a programming error above.
    if (!quiet && hasExtra(QStringLiteral("CUSTOM_INP")))
        tWarning() << reason;
    return false;
}

void Project::start()
{
    // An executable that has been started but not reported yet runs too,
    // and a run whose results are still being stored has not ended.
    if (m_status == RunStatus::Running || m_sequence->processState() != QProcess::NotRunning || isStoring())
        return;
    // Checked before anything is cleared: a run that cannot start leaves
    // the previous results as they were.
    if (!checkReady(true))
        return;
    m_readPos = 0;
    m_outputRefused = false;
    // A project without the extra has no earlier output to forget.
    (void)setExtraData(QStringLiteral("OUTPUT_DATA"), QString());
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
    calculate();
}

void Project::calculate()
{
    if (m_status == RunStatus::Running || m_sequence->processState() != QProcess::NotRunning)
        return;
    if (!checkReady(false)) {
        setStatus(RunStatus::NoResults);
        return;
    }
    for (const ExtraData* extra : extras()) {
        if (!extra->fileName.isEmpty() && !_writeFile(extra->fileName, extra->text))
            return;
    }
    m_runVerdictText.clear();
    m_outputMissing = false;
    emit simulationStarted();
    m_sequence->start(m_path);
}

void Project::stop()
{
    if (m_status != RunStatus::Running)
        return;
    m_sequence->stop();
}

void Project::connectSequence()
{
    connect(m_sequence, &RunSequence::programStarted, this, &Project::programStarted);
    connect(m_sequence, &RunSequence::progUpdated, this, &Project::progUpdated);
    connect(m_sequence, &RunSequence::progFinished, this, &Project::progFinished);
    connect(m_sequence, &RunSequence::aboutToStartNext, this, &Project::beforeNextProgram);
    connect(m_sequence, &RunSequence::finished, this, &Project::sequenceFinished);
}

void Project::programStarted()
{
    setStatus(RunStatus::Running);
    m_timer->start(PollIntervalMs);
}

void Project::beforeNextProgram(int finished)
{
    // The profile goes into the computation file that the first executable
    // wrote and the next one reads.
    if (m_profiles.current() != -1 && finished == 0)
        _appendProfileToFort3(m_profiles.current());
    m_timer->stop(); // the next programStarted() starts it again
}

void Project::sequenceFinished(RunSequence::Verdict verdict)
{
    m_runVerdictText = m_sequence->verdictText();
    // Every executable said it succeeded, yet there is nothing to show: that
    // is no success.
    m_outputMissing = verdict == RunSequence::Verdict::Succeeded && !m_datafile.isEmpty()
                      && !SafeFile::isRegularFile(projectFile(m_datafile));
    if (m_outputMissing) {
        verdict = RunSequence::Verdict::Failed;
        m_runVerdictText = tr("%1 wrote no output data file (%2).").arg(runs().last().name, m_datafile);
    }
    if (!m_runVerdictText.isEmpty())
        tWarning() << fragment(m_runVerdictText);
    if (verdict == RunSequence::Verdict::Failed)
        emit simulationFailure();
    endRun();
}

void Project::endRun()
{
    tDebug() << fragment(QString(39, QLatin1Char('=')));
    tDebug() << "Computation is over.";
    m_timer->stop();
    // The rest of the data file and both files' texts are read by a worker;
    // the run ends when they are stored.
    RunStorage::Request request;
    if (!m_datafile.isEmpty())
        request.dataFile = projectFile(m_datafile);
    if (!m_compufile.isEmpty())
        request.computationFile = projectFile(m_compufile);
    request.readPos = m_readPos;
    request.fieldsize = m_fieldsize;
    for (const auto& field : m_outData)
        request.fields.push_back(*field);
    if (m_fieldsize <= 0) {
        if (!m_fieldsizeWarned)
            tWarning() << "Project::_readOutData(). The field size" << m_fieldsize
                       << "is not positive: the output data cannot be read.";
        m_fieldsizeWarned = true;
    }
    m_storage->start(request);
    emit storingChanged(true);
}

void Project::resultsStored()
{
    std::unique_ptr<RunStorage::Result> result = m_storage->takeResult();
    if (!result)
        return;
    if (result->refused) {
        if (!m_outputRefused)
            refuseOutput();
    } else if (m_outData.size() != result->fields.size()) {
        m_outData = std::move(result->fields);
    } else {
        // The fields stay (views hold them); their values are swapped for
        // the joined ones.
        for (size_t i = 0; i < m_outData.size(); ++i)
            m_outData[i]->values.swap(result->fields[i]->values);
    }
    m_readPos = result->readPos;
    _updateTime();
    // Stored before the status changes, so its listeners find the new data.
    if (result->hasData) {
        storeExtraText(QStringLiteral("OUTPUT_DATA"), result->dataText);
        result->dataText.clear();
    }
    if (result->hasComputation)
        storeExtraText(QStringLiteral("COMPUT_DATA"), result->computationText);
    emit storingChanged(false);
    setStatus(RunStatus::ResultsAvailable);
    emit simulationFinished();
}

void Project::_saveFileToExtra(const QString& extraName, const QString& fileName)
{
    if (fileName.isEmpty())
        return;
    QString text;
    if (!RunStorage::readText(projectFile(fileName), &text))
        return;
    storeExtraText(extraName, text);
}

void Project::storeExtraText(const QString& extraName, const QString& text)
{
    if (!hasExtra(extraName))
        addExtra(extraName, QString());
    (void)setExtraData(extraName, text); // the extra exists: it takes the text
    tDebug() << "Saved to Extra" << extraName << int(text.size()) << "bytes";
}
