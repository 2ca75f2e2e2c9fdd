#ifndef TARVEL_OGROUP_H
#define TARVEL_OGROUP_H

#include "ooption.h"

#include <QString>

#include <memory>
#include <vector>

// A group of options in the catalogue. Options are held by pointer so that
// the addresses handed to schemes and pages never move.
struct OGroup
{
    int index = 0;
    QString name;
    QString text;
    std::vector<std::unique_ptr<OOption>> options;
};

#endif
