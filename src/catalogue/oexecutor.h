#ifndef TARVEL_OEXECUTOR_H
#define TARVEL_OEXECUTOR_H

#include <QString>

// One executable of a run, with the console sentences that judge it.
struct OExecutor
{
    QString name;
    QString path;
    QString success;
    QString failure;
};

#endif
