#include "inputcommand.h"

#include "cliout.h"
#include "cliproject.h"
#include "project.h"

int InputCommand::run(const QStringList& argumentList)
{
    const QString command = QStringLiteral("input");
    QStringList arguments = argumentList;
    CliProject::Source source;
    if (!CliProject::parseSource(command, arguments, &source))
        return 2;
    if (!arguments.isEmpty()) {
        CliOut::error(QStringLiteral("input: unexpected argument \"%1\"").arg(arguments.first()));
        return 2;
    }
    CliProject cli;
    if (!cli.open(command, source))
        return 1;
    // Opening regenerated the blocks, as a new or loaded project does.
    const ExtraData* input = cli.project().hasExtra(QStringLiteral("CUSTOM_INP"))
                                 ? cli.project().getExtra(QStringLiteral("CUSTOM_INP"))
                                 : nullptr;
    if (!input) {
        CliOut::error(QStringLiteral("input: the project has no input file"));
        return 1;
    }
    CliOut::print(input->text);
    return 0;
}
