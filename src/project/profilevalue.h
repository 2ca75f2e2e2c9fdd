#ifndef TARVEL_PROFILEVALUE_H
#define TARVEL_PROFILEVALUE_H

// The value of one output field at the time step a profile was taken from.

#include <QString>

struct ProfileValue
{
    QString name;
    float value = 0.0f;
};

#endif
