#include "profilescommand.h"

#include "cliout.h"
#include "cliproject.h"
#include "profile.h"
#include "project.h"

namespace {

const char* const kUsage = "profiles: usage: tarvel profiles PROJECT.tarvel [add STEP NAME | remove INDEX]";

} // namespace

int ProfilesCommand::run(const QStringList& arguments)
{
    if (arguments.isEmpty() || arguments.first().startsWith(QLatin1String("--"))) {
        CliOut::error(QString::fromLatin1(kUsage));
        return 2;
    }
    const QStringList rest = arguments.mid(1);
    const QString verb = rest.value(0);
    const bool listing = rest.isEmpty();
    const bool adding = verb == QLatin1String("add") && rest.size() == 3;
    const bool removing = verb == QLatin1String("remove") && rest.size() == 2;
    if (!listing && !adding && !removing) {
        CliOut::error(QString::fromLatin1(kUsage));
        return 2;
    }
    CliProject::Source source;
    source.projectFile = arguments.first();
    CliProject cli;
    if (!cli.open(QStringLiteral("profiles"), source))
        return 1;
    if (adding)
        return add(cli.project(), rest.at(1), rest.at(2));
    if (removing)
        return remove(cli.project(), rest.at(1));
    return list(cli.project());
}

int ProfilesCommand::list(Project& project)
{
    QString out;
    for (int i = 0; i < project.profiles().size(); ++i) {
        const Profile* profile = project.profiles().at(i);
        out += QStringLiteral("%1\t%2\t%3\n").arg(i).arg(profile->name()).arg(profile->values().size());
    }
    CliOut::print(out);
    return 0;
}

int ProfilesCommand::add(Project& project, const QString& stepText, const QString& name)
{
    bool ok = false;
    const int step = stepText.toInt(&ok);
    if (!ok || step < 0) {
        CliOut::error(QStringLiteral("profiles add: \"%1\" is not a time step").arg(stepText));
        return 2;
    }
    const ProfileResult result = project.saveProfile(name, step);
    if (result != ProfileResult::Created) {
        CliOut::error(QStringLiteral("profiles add: %1: %2").arg(int(result)).arg(profileResultMessage(result)));
        return 1;
    }
    return CliProject::save(QStringLiteral("profiles"), project) ? 0 : 1;
}

int ProfilesCommand::remove(Project& project, const QString& indexText)
{
    bool ok = false;
    const int index = indexText.toInt(&ok);
    if (!ok || index < 0 || index >= project.profiles().size()) {
        CliOut::error(QStringLiteral("profiles remove: there is no profile \"%1\"").arg(indexText));
        return 1;
    }
    project.removeProfile(index);
    return CliProject::save(QStringLiteral("profiles"), project) ? 0 : 1;
}
