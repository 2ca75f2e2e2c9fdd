// tarvel: the command-line face of Tarvel GUI's core, for scripts and tests.

#include "translation.h"
#include "cataloguecommand.h"
#include "climessages.h"
#include "cliout.h"
#include "exportcommand.h"
#include "inputcommand.h"
#include "profilescommand.h"
#include "runcommand.h"
#include "schemescommand.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

const char* const kUsage =
    "Usage: tarvel [--verbose] <command> [arguments]\n"
    "\n"
    "Commands:\n"
    "  catalogue [--json]          Print the built-in option catalogue, readable or as JSON.\n"
    "  schemes list [DB]           One line per scheme of a schemes database (default: schemes.dat\n"
    "                              beside the program): name, description, species, nodes, extras.\n"
    "  schemes dump [DB] [--scheme NAME]\n"
    "                              The schemes of a database as JSON.\n"
    "  schemes build SOURCE.json... -o DB\n"
    "                              Write a schemes database from JSON sources.\n"
    "  input (PROJECT.tarvel | --scheme NAME [--db DB])\n"
    "                              Print the input file the project generates.\n"
    "  run (PROJECT.tarvel | --scheme NAME [--db DB]) [--dir DIR] [--profile N]\n"
    "      [--export FILE.tsv] [--save FILE.tarvel]\n"
    "                              Run the simulation headless in DIR (default: a fresh\n"
    "                              temporary folder); exit 0 when every executable succeeded.\n"
    "  export PROJECT.tarvel FILE.tsv\n"
    "                              Write the project's output data as a tab-separated table.\n"
    "  profiles PROJECT.tarvel [add STEP NAME | remove INDEX]\n"
    "                              List the profiles (index, name, values), or save one of\n"
    "                              time step STEP, or remove one; both save the project.\n"
    "\n"
    "Options:\n"
    "  --verbose                   Also print debug diagnostics on standard error.\n"
    "  --help                      Show this help.\n";

// The lines of the usage that describe one command: from the line that names
// it to the next command's line.
QString commandUsage(const QString& command)
{
    const QStringList lines = QString::fromLatin1(kUsage).split(QLatin1Char('\n'));
    QString text;
    bool inside = false;
    for (const QString& line : lines) {
        const bool commandLine = line.startsWith(QLatin1String("  ")) && !line.startsWith(QLatin1String("   "));
        if (commandLine || line.isEmpty())
            inside = commandLine && line.mid(2).startsWith(command + QLatin1Char(' '));
        if (inside)
            text += line + QLatin1Char('\n');
    }
    return text.isEmpty() ? QString() : QStringLiteral("Usage: tarvel [--verbose]\n") + text;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("ZDL"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvel GUI"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.4"));

    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool verbose = arguments.removeAll(QStringLiteral("--verbose")) > 0;
    CliMessages::install(verbose);

    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help")
        || arguments.first() == QLatin1String("-h") || arguments.first() == QLatin1String("help")) {
        if (arguments.isEmpty()) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        CliOut::print(QString::fromLatin1(kUsage));
        return 0;
    }

    // Built in; a failure is in the log, and messages then show their tags.
    (void)Translation::instance().load(QStringLiteral(":/translate.xml"));

    const QString command = arguments.takeFirst();
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        const QString usage = commandUsage(command);
        if (!usage.isEmpty()) {
            CliOut::print(usage);
            return 0;
        }
    }
    if (command == QLatin1String("catalogue"))
        return CatalogueCommand::run(arguments);
    if (command == QLatin1String("schemes"))
        return SchemesCommand::run(arguments);
    if (command == QLatin1String("input"))
        return InputCommand::run(arguments);
    if (command == QLatin1String("run"))
        return RunCommand::run(arguments);
    if (command == QLatin1String("export"))
        return ExportCommand::run(arguments);
    if (command == QLatin1String("profiles"))
        return ProfilesCommand::run(arguments);

    CliOut::error(QStringLiteral("unknown command \"%1\"").arg(command));
    std::fputs(kUsage, stderr);
    return 2;
}
