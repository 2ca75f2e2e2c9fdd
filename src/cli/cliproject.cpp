#include "cliproject.h"

#include "cliout.h"
#include "schemescommand.h"
#include "project.h"

#include <QFileInfo>

CliProject::CliProject() = default;

CliProject::~CliProject() = default;

bool CliProject::takeOption(QStringList& arguments, const QString& option, QString* value)
{
    const qsizetype at = arguments.indexOf(option);
    if (at < 0 || at + 1 >= arguments.size())
        return false;
    *value = arguments.at(at + 1);
    arguments.remove(at, 2);
    return true;
}

bool CliProject::parseSource(const QString& command, QStringList& arguments, Source* source)
{
    QStringList rest;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if ((argument == QLatin1String("--scheme") || argument == QLatin1String("--db")) && i + 1 < arguments.size()) {
            (argument == QLatin1String("--scheme") ? source->scheme : source->database) = arguments.at(++i);
        } else if (!argument.startsWith(QLatin1String("--")) && source->projectFile.isEmpty()) {
            source->projectFile = argument;
        } else {
            rest.append(argument);
        }
    }
    arguments = rest;
    if (source->projectFile.isEmpty() == source->scheme.isEmpty()) {
        CliOut::error(QStringLiteral("%1: name either a project file or --scheme NAME").arg(command));
        return false;
    }
    if (!source->database.isEmpty() && source->scheme.isEmpty()) {
        CliOut::error(QStringLiteral("%1: --db goes with --scheme").arg(command));
        return false;
    }
    return true;
}

bool CliProject::open(const QString& command, const Source& source)
{
    if (!m_catalogue.loadBuiltIn())
        return false;
    m_project = std::make_unique<Project>(&m_catalogue);
    if (!source.projectFile.isEmpty()) {
        if (!QFileInfo::exists(source.projectFile)) {
            CliOut::error(QStringLiteral("%1: no such file \"%2\"").arg(command, source.projectFile));
            return false;
        }
        if (!m_project->load(QFileInfo(source.projectFile).absoluteFilePath())) {
            CliOut::error(QStringLiteral("%1: %2").arg(command, m_project->errorString()));
            return false;
        }
        return true;
    }
    const QString database = source.database.isEmpty() ? SchemesCommand::defaultDatabase() : source.database;
    if (!QFileInfo::exists(database)) {
        CliOut::error(QStringLiteral("%1: no such file \"%2\"").arg(command, database));
        return false;
    }
    QString error;
    const QList<Scheme*> stored = Scheme::loadAll(database, &m_catalogue, &error);
    if (stored.isEmpty() && !error.isEmpty()) {
        CliOut::error(QStringLiteral("%1: %2").arg(command, error));
        return false;
    }
    const Scheme* chosen = nullptr;
    QStringList names;
    for (const Scheme* scheme : stored) {
        names.append(scheme->name());
        if (scheme->name() == source.scheme)
            chosen = scheme;
    }
    if (chosen)
        m_project->setScheme(chosen);
    qDeleteAll(stored);
    if (!chosen) {
        CliOut::error(QStringLiteral("%1: no scheme \"%2\" in \"%3\"; it holds %4")
                          .arg(command, source.scheme, database,
                               names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "))));
        return false;
    }
    return true;
}

bool CliProject::save(const QString& command, Project& project, const QString& file)
{
    if (project.save(file))
        return true;
    CliOut::error(QStringLiteral("%1: %2").arg(command, project.errorString()));
    return false;
}
