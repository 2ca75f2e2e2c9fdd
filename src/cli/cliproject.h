#ifndef TARVEL_CLIPROJECT_H
#define TARVEL_CLIPROJECT_H

// The project the commands input, run, export and profiles work on, over the
// built-in catalogue: read from a project file, or made from a scheme of a
// schemes database as a new project would be.

#include "options.h"

#include <QString>
#include <QStringList>

#include <memory>

class Project;

class CliProject
{
public:
    // What names the project on the command line: "PROJECT.tarvel" (the
    // first plain argument), or "--scheme NAME [--db DB]".
    struct Source
    {
        QString projectFile;
        QString scheme;
        QString database;
    };

    CliProject();
    ~CliProject();
    CliProject(const CliProject&) = delete;
    CliProject& operator=(const CliProject&) = delete;

    // Takes "OPTION VALUE" out of `arguments`; false when it is not there.
    // Saves the project (into its own file when none is named), or says why
    // it could not.
    static bool save(const QString& command, Project& project, const QString& file = QString());
    static bool takeOption(QStringList& arguments, const QString& option, QString* value);
    // Takes the source out of `arguments`, leaving the command's own ones in
    // order; false, with a message naming `command`, when there is none, or two.
    static bool parseSource(const QString& command, QStringList& arguments, Source* source);

    // Loads the catalogue and opens the project; false with a message.
    bool open(const QString& command, const Source& source);

    Project& project() { return *m_project; }

private:
    Options m_catalogue;
    std::unique_ptr<Project> m_project;
};

#endif
