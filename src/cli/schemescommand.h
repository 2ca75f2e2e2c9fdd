#ifndef TARVEL_SCHEMESCOMMAND_H
#define TARVEL_SCHEMESCOMMAND_H

// `tarvel schemes list|dump|build`: reads and writes schemes databases.

#include <QStringList>

class Options;

class SchemesCommand
{
public:
    static int run(const QStringList& arguments);

    // The schemes database beside the program.
    static QString defaultDatabase();

private:
    static int list(const QStringList& arguments, Options* catalogue);
    static int dump(const QStringList& arguments, Options* catalogue);
    static int build(const QStringList& arguments, Options* catalogue);
};

#endif
