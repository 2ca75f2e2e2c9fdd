#ifndef TARVEL_PROFILESCOMMAND_H
#define TARVEL_PROFILESCOMMAND_H

// `tarvel profiles PROJECT.tarvel [add STEP NAME | remove INDEX]`: lists,
// saves and removes the profiles of a project file.

#include <QStringList>

class Project;

class ProfilesCommand
{
public:
    static int run(const QStringList& arguments);

private:
    static int list(Project& project);
    static int add(Project& project, const QString& step, const QString& name);
    static int remove(Project& project, const QString& index);
};

#endif
