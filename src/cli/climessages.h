#ifndef TARVEL_CLIMESSAGES_H
#define TARVEL_CLIMESSAGES_H

// Diagnostics of the core in the command-line tool go to standard error:
// warnings and errors always, debug messages only when asked for.

class CliMessages
{
public:
    static void install(bool verbose);
    static bool verbose();
};

#endif
