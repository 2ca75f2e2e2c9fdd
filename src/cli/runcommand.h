#ifndef TARVEL_RUNCOMMAND_H
#define TARVEL_RUNCOMMAND_H

// `tarvel run (PROJECT.tarvel | --scheme NAME [--db DB]) [--dir DIR]
// [--profile N] [--export FILE.tsv] [--save FILE.tarvel]`: runs the
// executables headless through the project's own run, printing their console
// output as it arrives and the progress on standard error. Ctrl+C stops the
// run. Exits 0 when every executable succeeded, 1 otherwise.

#include <QStringList>

class Project;

class RunCommand
{
public:
    static int run(const QStringList& arguments);

private:
    // Runs the project in an event loop until the run has ended; false when
    // it did not start or was interrupted.
    static bool follow(Project& project);
};

#endif
