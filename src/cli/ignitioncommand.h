#ifndef TARVEL_IGNITIONCOMMAND_H
#define TARVEL_IGNITIONCOMMAND_H

// `tarvel ignition PROJECT.tarvel [--definition dTdt|deltaT:400|peak:OH|rise:OH]`:
// prints the ignition delay of the project's run in seconds, by the given
// definition or else the one stored with the project; exits 1 with a plain
// message when the run did not ignite.

#include <QStringList>

class IgnitionCommand
{
public:
    static int run(const QStringList& arguments);
};

#endif
