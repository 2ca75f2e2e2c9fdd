#ifndef TARVEL_INPUTCOMMAND_H
#define TARVEL_INPUTCOMMAND_H

// `tarvel input (PROJECT.tarvel | --scheme NAME [--db DB])`: prints the input
// file text the project generates.

#include <QStringList>

class InputCommand
{
public:
    static int run(const QStringList& arguments);
};

#endif
