#ifndef TARVEL_PLOTMARKER_H
#define TARVEL_PLOTMARKER_H

// A vertical dashed line across the plot at an x value, with a label at its
// top: the ignition delay on graphs over time.

#include <QString>

struct PlotMarker
{
    double x = 0.0;
    QString label;

    bool operator==(const PlotMarker& other) const { return x == other.x && label == other.label; }
};

#endif
