#ifndef TARVEL_OUTPUTFIELD_H
#define TARVEL_OUTPUTFIELD_H

// One column of the output data: its heading and one value per time step.
// Held by pointer in the project's output data, so the vector keeps its
// address while the data grows: tables and plots keep pointers to it.

#include <QList>
#include <QString>

struct OutputField
{
    QString name;        // the column heading, trimmed
    QList<float> values; // one value per time step (data line), in file order
};

#endif
