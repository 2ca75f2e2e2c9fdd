#include "casedata.h"

#include "mechanismparser.h"
#include "textfile.h"

#include <QFileInfo>
#include <QRegularExpression>

using namespace tarvelsim;

QString CaseData::folder(const QString &name)
{
    return QStringLiteral(TARVEL_CHEMFOAM_DIR) + '/' + name + QStringLiteral("/chemkin");
}

bool CaseData::readText(const QString &name, const QString &file, std::string &text, QString &why)
{
    QString path = folder(name) + '/' + file;
    if (!QFileInfo::exists(path))
        path += QStringLiteral(".gz");
    Diagnostic error;
    if (!TextFile::readText(path.toStdString(), text, error)) {
        why = QString::fromStdString(error.text()) + QStringLiteral(" (is openfoam-examples installed?)");
        return false;
    }
    return true;
}

bool CaseData::readLines(const QString &name, const QString &file, std::vector<std::string> &lines, QString &why)
{
    std::string text;
    if (!readText(name, file, text, why))
        return false;
    lines.clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return true;
}

bool CaseData::thermo(const QString &name, std::vector<ThermoRecord> &records, QString &why)
{
    std::vector<std::string> lines;
    if (!readLines(name, QStringLiteral("therm.dat"), lines, why))
        return false;
    Diagnostic error;
    if (!ThermoParser::readFile(lines, "fort.9", records, error)) {
        why = QString::fromStdString(error.text());
        return false;
    }
    return true;
}

bool CaseData::mechanism(const QString &name, Mechanism &mechanism, QString &why)
{
    std::vector<ThermoRecord> records;
    std::vector<std::string> lines;
    if (!thermo(name, records, why) || !readLines(name, QStringLiteral("chem.inp"), lines, why))
        return false;
    MechanismParser parser;
    Diagnostic error;
    if (!parser.parse(lines, "fort.4", records, "fort.9", true, mechanism, error)) {
        why = QString::fromStdString(error.text());
        return false;
    }
    return true;
}

bool CaseData::reference(const QString &name, Reference &reference, QString &why)
{
    std::string text;
    if (!readText(name, QStringLiteral("senk.out"), text, why))
        return false;
    const QString output = QString::fromStdString(text);
    const QRegularExpression ignition(QStringLiteral("Ignition Time \\(sec\\) =\\s*(\\S+)"));
    const QRegularExpression step(QStringLiteral("Time \\(sec\\) =\\s*(\\S+)\\s+T \\(K\\) =\\s*(\\S+)"));
    const QRegularExpressionMatch ignitionMatch = ignition.match(output);
    if (!ignitionMatch.hasMatch()) {
        why = QStringLiteral("no ignition time in senk.out of ") + name;
        return false;
    }
    reference.ignitionTime = ignitionMatch.captured(1).toDouble();
    bool any = false;
    for (QRegularExpressionMatchIterator i = step.globalMatch(output); i.hasNext();) {
        const QRegularExpressionMatch match = i.next();
        reference.finalTime = match.captured(1).toDouble();
        reference.finalTemperature = match.captured(2).toDouble();
        any = true;
    }
    if (!any || reference.ignitionTime <= 0 || reference.finalTemperature <= 0) {
        why = QStringLiteral("no time steps in senk.out of ") + name;
        return false;
    }
    return true;
}

bool CaseData::reactorInput(const QString &name, ReactorInput &input, QString &why)
{
    std::vector<std::string> lines;
    if (!readLines(name, QStringLiteral("senk.inp"), lines, why))
        return false;
    input = ReactorInput();
    for (const std::string &raw : lines) {
        const QString line = QString::fromStdString(raw).section('!', 0, 0).trimmed();
        const QStringList words = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        if (words.size() >= 2 && words[0] == QStringLiteral("PRES"))
            input.pressureAtmospheres = words[1].toDouble();
        else if (words.size() >= 2 && words[0] == QStringLiteral("TEMP"))
            input.temperature = words[1].toDouble();
        else if (words.size() >= 2 && words[0] == QStringLiteral("TIME"))
            input.endTime = words[1].toDouble();
        else if (words.size() >= 3 && words[0] == QStringLiteral("REAC"))
            input.amounts.emplace_back(words[1].toStdString(), words[2].toDouble());
    }
    if (input.pressureAtmospheres <= 0 || input.temperature <= 0 || input.endTime <= 0 || input.amounts.empty()) {
        why = QStringLiteral("incomplete senk.inp of ") + name;
        return false;
    }
    return true;
}
