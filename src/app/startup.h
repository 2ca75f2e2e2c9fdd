#ifndef TARVEL_STARTUP_H
#define TARVEL_STARTUP_H

// Start-up and shutdown of the GUI: prepares the process-wide services in a
// fixed order, refuses to run without the schemes database, and hands over
// to the main window and the event loop.

#include <QString>

class QApplication;

class Startup
{
public:
    static constexpr const char* schemesFileName = "schemes.dat";

    // Creates the application object and runs exec() on it.
    static int run(int argc, char** argv);
    // Everything after the application object exists; returns the exit code.
    static int exec(QApplication& app);

    // Application-wide texts kept for the whole run.
    static QString& styleSheet();
    static QString& versionDate();

private:
    static void prepareServices(QApplication& app);
    static int refuseWithoutSchemes();
    static int runMainWindow(QApplication& app);
};

#endif
