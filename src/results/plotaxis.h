#ifndef TARVEL_PLOTAXIS_H
#define TARVEL_PLOTAXIS_H

// One axis of the plot: the drawn range, its ticks and the power of ten
// that its labels are written with. A linear axis gets a tick about every 40
// pixels on a 1-2-5 step; a logarithmic one has its major ticks on decades,
// labelled as powers of ten, and minor ticks at 2 to 9 times a decade.
//
// A logarithmic axis works in log10 units: min, max, first and step are
// decades, so that mapping, zoom and headroom are the same arithmetic on
// both kinds. toAxis() and fromAxis() convert between values and the axis.

#include <QList>
#include <QString>

struct PlotTick
{
    double at = 0.0; // position in axis units
    int halfLength = 2; // 4 for a major tick, 2 for a minor one
    bool grid = false; // a grid line runs from it
    QString text; // label, empty for none
    QString superscript; // raised after the text: the power of "10"
};

struct PlotAxis
{
    double min = 0.0;        // drawn minimum
    double max = 0.0;        // drawn maximum
    double first = 0.0;      // value of the first tick
    int intervals = 0;       // number of tick intervals
    double step = 0.0; // tick step in axis units
    int exponent = 0;        // labels carry "x10^exponent" when not 0
    double multiplier = 1.0; // label = value x multiplier
    bool logarithmic = false;
    int pixels = 0; // the length it was computed for

    // Fitting rounds the ends out to whole ticks; exact keeps lo and hi. A
    // range of width 0 (or one that is not finite) gives an invalid axis.
    static PlotAxis compute(double lo, double hi, int pixels, bool fitting);
    // lo and hi are values (not decades), both positive; fitting rounds out
    // to whole decades.
    static PlotAxis computeLog(double lo, double hi, int pixels, bool fitting);

    bool isValid() const { return step != 0.0 && max != min; }
    // One more tick interval below the minimum or above the maximum, so that
    // a curve does not run along the plot's border.
    void lowerByOneStep();
    void raiseByOneStep();
    // The headroom rule for one curve's extent, in axis units.
    void makeRoomFor(double curveMin, double curveMax);

    // Axis units of a value: its log10 on a logarithmic axis, where a value
    // that is not positive has none (NaN).
    double toAxis(double value) const;
    double fromAxis(double at) const;

    double labelValue(int tick) const;
    QString labelText(int tick) const;
    // Every tick to draw, in ascending order.
    QList<PlotTick> ticks() const;

private:
    QList<PlotTick> linearTicks() const;
    QList<PlotTick> logTicks() const;
};

#endif
