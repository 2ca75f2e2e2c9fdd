// The input files: the OPTIONS, SPECIES and CONDITIONS blocks of the input
// file text, regenerated in place whenever an option changes, and the writing
// of the project's files into its directory before a run.

#include "project.h"

#include "diagnostic.h"
#include "translation.h"
#include "options.h"
#include "inputgenerator.h"
#include "safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kInputFile = QStringLiteral("CUSTOM_INP");
const QString kEnd = QStringLiteral("END");

// Whether `fileName` names a file inside `dir`. A project file may come from
// anyone; its extras must not reach a file elsewhere, whether by an absolute
// name or by climbing out with "..".
bool staysInside(const QString& dir, const QString& fileName)
{
    if (dir.isEmpty() || fileName.trimmed().isEmpty() || QDir::isAbsolutePath(fileName))
        return false;
    QString base = QDir::cleanPath(QDir(dir).absolutePath());
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    if (!QDir::cleanPath(base + fileName).startsWith(base))
        return false;
    // Nor through a linked folder on the way.
    const QString folder = QFileInfo(QDir::cleanPath(base + fileName)).absolutePath();
    const QString real = QFileInfo(folder).canonicalFilePath();
    const QString realBase = QFileInfo(dir).canonicalFilePath();
    return !real.isEmpty() && (real == realBase || real.startsWith(realBase + QLatin1Char('/')));
}

} // namespace

int Project::_removeStdBlock(QString& text, const QString& prefix, const QString& suffix) const
{
    return InputGenerator::removeBlock(text, prefix, suffix);
}

void Project::generateFiles()
{
    if (nodes().isEmpty())
        return;
    if (!hasExtra(kInputFile))
        addExtra(kInputFile, QString());
    QString* text = pointerToExtra(kInputFile);
    if (!text) {
        tCritical() << "Project::generateFiles(). Unexpected error: File \"CUSTOM_INP\" has not been found in the "
                       "project.";
        return;
    }
    const QString on = translate("ON");
    const QString off = translate("OFF");

    // A new text starts with the banner; blocks that are not there yet go
    // after it, the others are replaced where they stand.
    QString head;
    // The banner, then a blank line before the first block.
    if (text->isEmpty())
        head = InputGenerator::banner() + QLatin1Char('\n');
    auto place = [&](const QString& keyword, const QString& block) {
        const int at = _removeStdBlock(*text, keyword, kEnd);
        if (at >= 0)
            text->insert(at, block);
        else
            head += block;
    };

    place(QStringLiteral("OPTIONS"),
          InputGenerator::block(QStringLiteral("OPTIONS"), InputGenerator::entries(nodes(), 1, on, off),
                                InputGenerator::EntriesPerRow));

    QString first;
    if (!InputGenerator::firstBoundarySpecies(nodes(), *options(), &first)) {
        tWarning() << translate("GENF_NO_BC");
        return;
    }
    const int firstIndex = indexOfSpecies(first);
    if (firstIndex < 0) {
        tWarning() << "Project::generateFiles(). Unexpected error: Cannot find species" << first
                   << "from boundary conditions in species list.";
        return;
    }
    // The code takes the first species for the one its boundary conditions
    // refer to.
    QStringList speciesEntries{InputGenerator::speciesEntry(species().at(firstIndex))};
    for (int i = 0; i < species().size(); ++i) {
        if (i != firstIndex)
            speciesEntries.append(InputGenerator::speciesEntry(species().at(i)));
    }
    place(QStringLiteral("SPECIES"),
          InputGenerator::block(QStringLiteral("SPECIES"), speciesEntries, InputGenerator::EntriesPerRow));

    const QStringList conditions =
        InputGenerator::entries(nodes(), 2, on, off) + InputGenerator::entries(nodes(), 3, on, off);
    place(QStringLiteral("CONDITIONS"),
          InputGenerator::block(QStringLiteral("CONDITIONS"), conditions, InputGenerator::ConditionsPerRow));

    text->insert(0, head);
}

bool Project::_writeFile(const QString& fileName, const QString& text) const
{
    if (!staysInside(m_path, fileName)) {
        tWarning() << translate("FILE_OPEN").replace(QLatin1String("%NAME"), projectFile(fileName));
        return false;
    }
    // Cleaned: "sub/../fort.2" is fort.2, whether or not there is a "sub".
    const QString fullName = QDir::cleanPath(projectFile(fileName));
    // The code reads 8-bit text; Latin-1 keeps one byte per character.
    QString error;
    if (!SafeFile::write(fullName, text.toLatin1(), SafeFile::Mode::Replace, &error)) {
        tWarning() << translate("FILE_WRITE").replace(QLatin1String("%NAME"), fullName) << fragment(error);
        return false;
    }
    return true;
}
