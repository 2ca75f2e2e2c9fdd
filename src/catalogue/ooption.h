#ifndef TARVEL_OOPTION_H
#define TARVEL_OOPTION_H

#include "ovalue.h"

#include <QList>
#include <QString>

// One option, numerical condition or boundary condition of the catalogue.
// Pointers to it are handed out and stay valid while its owner lives.
struct OOption
{
    enum Type { Menu = 1, Field = 2 };
    enum Kind { Option = 1, Condition = 2, BoundaryCondition = 3 };

    int type = Menu;
    int kind = Option;
    int index = 0;
    QString name;
    QString text;
    QString detail;
    QString value;
    QString defaultValue;
    QString inputMask;
    QList<OValue> values;
};

#endif
