#ifndef TARVEL_PLOTAXIS_H
#define TARVEL_PLOTAXIS_H

// One axis of the plot: the drawn range, its ticks and the power of ten
// that its labels are written with. Computed from a data range and the
// pixels available, with a tick about every 40 pixels on a 1-2-5 step.

#include <QString>

struct PlotAxis
{
    double min = 0.0;        // drawn minimum
    double max = 0.0;        // drawn maximum
    double first = 0.0;      // value of the first tick
    int intervals = 0;       // number of tick intervals
    double step = 0.0;       // tick step in data units
    int exponent = 0;        // labels carry "x10^exponent" when not 0
    double multiplier = 1.0; // label = value x multiplier

    // Fitting rounds the ends out to whole ticks; exact keeps lo and hi. A
    // range of width 0 (or one that is not finite) gives an invalid axis.
    static PlotAxis compute(double lo, double hi, int pixels, bool fitting);

    bool isValid() const { return step != 0.0 && max != min; }
    // One more tick interval below the minimum or above the maximum, so that
    // a curve does not run along the plot's border.
    void lowerByOneStep();
    void raiseByOneStep();
    // The headroom rule for one curve's extent.
    void makeRoomFor(double curveMin, double curveMax);

    double labelValue(int tick) const;
    QString labelText(int tick) const;
};

#endif
