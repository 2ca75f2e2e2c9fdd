// The output data: the growing data file read on from where reading stopped,
// the time column, and the export as a tab-separated table.

#include "project.h"

#include "diagnostic.h"
#include "translation.h"
#include "outputreader.h"
#include "safefile.h"

#include <QFile>
#include <QTimer>

void Project::_readOutData(QIODevice& device, bool final)
{
    if (m_fieldsize <= 0) {
        if (!m_fieldsizeWarned)
            tWarning() << "Project::_readOutData(). The field size" << m_fieldsize
                       << "is not positive: the output data cannot be read.";
        m_fieldsizeWarned = true;
        return;
    }
    if (m_outputRefused)
        return;
    bool refused = false;
    m_readPos = OutputReader::read(device, m_readPos, m_fieldsize, final, m_outData, &refused, PollBytes);
    if (refused)
        refuseOutput();
}

void Project::_readDataFile(bool final)
{
    if (m_datafile.isEmpty())
        return;
    m_timer->stop();
    // A FIFO at the name would block the reading for ever; a link could
    // lead anywhere.
    const QString path = projectFile(m_datafile);
    QFile file(path);
    if (!SafeFile::isRegularFile(path) || !file.open(QIODevice::ReadOnly)) {
        if (m_status == RunStatus::Running)
            m_timer->start(PollIntervalMs); // polled again while the run goes on
        return;
    }
    _readOutData(file, final);
    if (m_status == RunStatus::Running)
        m_timer->start(PollIntervalMs);
    file.close();
}

void Project::readOutput()
{
    _readDataFile(false);
    _updateTime();
}

void Project::refuseOutput()
{
    // Views hold the fields just dropped: told at once.
    m_outputRefused = true;
    m_outData.clear();
    tWarning() << fragment(OutputReader::refusalText());
    emit outDataUpdated();
}

void Project::testRead()
{
    _readDataFile(true);
    (void)exportOutData(QStringLiteral("test87.txt"));
}

int Project::timeColumn() const
{
    if (m_timefield.isEmpty())
        return -1;
    for (size_t i = 0; i < m_outData.size(); ++i) {
        if (m_outData[i]->name.compare(m_timefield, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

void Project::_updateTime()
{
    const int column = timeColumn();
    if (column < 0 || m_outData[size_t(column)]->values.isEmpty())
        return;
    m_currentTime = m_outData[size_t(column)]->values.last();
    emit outDataUpdated();
}

const OutputField* Project::field(int index) const
{
    if (index < 0 || size_t(index) >= m_outData.size())
        return nullptr;
    return m_outData[size_t(index)].get();
}

int Project::timeStepCount() const
{
    return m_outData.empty() ? 0 : int(m_outData.front()->values.size());
}

bool Project::exportOutData(const QString& fileName)
{
    setErrorString(QString());
    if (m_outData.empty()) {
        tWarning() << "Project::exportOutData(). There is no output data to export.";
        setErrorString(QStringLiteral("There is no output data to export."));
        return false;
    }
    tDebug() << "Exporting Simulation Data to" << fileName;
    const QString fullName = projectFile(fileName);
    QFile file(fullName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        tWarning() << "Project::exportOutData()." << translate("FILE_OPEN").replace(QLatin1String("%NAME"), fullName);
        setErrorString(writeError(fullName, file.errorString()));
        return false;
    }
    QByteArray line;
    for (const auto& field : m_outData)
        line += field->name.toLatin1() + '\t';
    line += '\n';
    bool written = file.write(line) == line.size();
    const int steps = timeStepCount();
    for (int t = 0; t < steps; ++t) {
        line.clear();
        for (const auto& field : m_outData) {
            const float value = t < field->values.size() ? field->values.at(t) : 0.0f;
            // printf's %g: six significant digits, plain or exponent, whichever
            // is shorter; QByteArray's does not depend on the C locale.
            line += QByteArray::number(double(value), 'g', 6) + '\t';
        }
        line += '\n';
        written = written && file.write(line) == line.size();
    }
    written = written && file.flush();
    const QString reason = file.errorString();
    file.close();
    if (!written) {
        setErrorString(writeError(fullName, reason));
        tWarning() << "Project::exportOutData()." << translate("FILE_WRITE").replace(QLatin1String("%NAME"), fullName);
        return false;
    }
    tDebug() << "Simulation data has been exported successfully.";
    return true;
}
