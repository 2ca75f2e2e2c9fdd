#include "exportcommand.h"

#include "cliout.h"
#include "cliproject.h"
#include "project.h"

#include <QFileInfo>

int ExportCommand::run(const QStringList& arguments)
{
    if (arguments.size() != 2 || arguments.at(0).startsWith(QLatin1String("--"))) {
        CliOut::error(QStringLiteral("export: usage: tarvel export PROJECT.tarvel FILE.tsv"));
        return 2;
    }
    CliProject::Source source;
    source.projectFile = arguments.at(0);
    CliProject cli;
    if (!cli.open(QStringLiteral("export"), source))
        return 1;
    if (cli.project().fieldCount() == 0) {
        CliOut::error(QStringLiteral("export: \"%1\" holds no output data").arg(arguments.at(0)));
        return 1;
    }
    // Relative to where the command runs, not to the project directory.
    if (!cli.project().exportOutData(QFileInfo(arguments.at(1)).absoluteFilePath())) {
        CliOut::error(QStringLiteral("export: %1").arg(cli.project().errorString()));
        return 1;
    }
    return 0;
}
