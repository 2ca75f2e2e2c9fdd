#ifndef TARVEL_OFILE_H
#define TARVEL_OFILE_H

#include <QString>

// A file a project holds and writes into its directory (e.g. the input file).
struct OFile
{
    QString id;
    QString name;
    QString detail;
    QString defaultText;
    QString text;
};

#endif
