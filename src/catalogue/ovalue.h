#ifndef TARVEL_OVALUE_H
#define TARVEL_OVALUE_H

#include <QString>

// One choice of a menu option: the text written to the input file, and the
// name and comment shown to the user.
struct OValue
{
    int index = 0;
    QString value;
    QString text;
    QString detail;
};

#endif
