#ifndef TARVEL_CLIOUT_H
#define TARVEL_CLIOUT_H

// Output of the command-line tool: results on standard output, messages for
// the user on standard error, both UTF-8.

#include <QString>

class CliOut
{
public:
    static void print(const QString& text);
    static void error(const QString& text);
};

#endif
