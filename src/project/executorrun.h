#ifndef TARVEL_EXECUTORRUN_H
#define TARVEL_EXECUTORRUN_H

// The project's record of one executable of a run: what to start, the
// sentences that judge its console output, and what the last run gave.

#include <QString>
#include <QtGlobal>

struct ExecutorRun
{
    QString name;
    QString path;
    QString log; // the console output of the last run, its last 40000 characters
    QString success;
    QString failure;
    bool succeeded = false;
    // Characters received in the last run, the ones the capped log dropped
    // included: tells a follower of the log how much of it is new.
    qint64 received = 0;
};

#endif
