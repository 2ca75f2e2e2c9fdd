#include "ignitioncommand.h"

#include "cliout.h"
#include "cliproject.h"
#include "ignitiondelay.h"
#include "project.h"

namespace {

const char* const kUsage =
    "ignition: usage: tarvel ignition PROJECT.tarvel [--definition dTdt|deltaT:400|peak:OH|rise:OH]";

} // namespace

int IgnitionCommand::run(const QStringList& arguments)
{
    QStringList rest = arguments;
    QString text;
    const bool given = CliProject::takeOption(rest, QStringLiteral("--definition"), &text);
    IgnitionDefinition definition;
    if (rest.size() != 1 || rest.first().startsWith(QLatin1String("--"))
        || (given && !IgnitionDefinition::parse(text, &definition))) {
        CliOut::error(QString::fromLatin1(kUsage));
        return 2;
    }
    CliProject::Source source;
    source.projectFile = rest.first();
    CliProject cli;
    if (!cli.open(QStringLiteral("ignition"), source))
        return 1;
    Project& project = cli.project();
    if (project.fieldCount() == 0) {
        CliOut::error(QStringLiteral("ignition: \"%1\" holds no output data").arg(source.projectFile));
        return 1;
    }
    if (!given && project.hasExtra(QStringLiteral("SETTINGS"))) {
        IgnitionDefinition stored;
        if (IgnitionDefinition::parse(project.setting(QString::fromLatin1(IgnitionDefinition::SettingsKey)).toString(),
                                      &stored))
            definition = stored;
    }
    const IgnitionDelay::Result result = IgnitionDelay::compute(project.outData(), project.timefield(), definition);
    if (!result.problem.isEmpty()) {
        CliOut::error(QStringLiteral("ignition: %1").arg(result.problem));
        return 1;
    }
    if (!result.ignited) {
        CliOut::error(QStringLiteral("ignition: the run did not ignite (%1)").arg(definition.description()));
        return 1;
    }
    CliOut::print(QString::asprintf("%.5E\n", result.time));
    return 0;
}
