#include "plotaxis.h"

#include <cmath>

namespace {

// Ticks are whole multiples of the step; a quotient off a whole number by
// rounding noise (0.001 / 0.001 computed as 0.9999999999999998, or a float
// value read as 0.00100000005) must still land on it.
constexpr double kTickTolerance = 1e-6;

double floorTick(double quotient)
{
    return std::floor(quotient + kTickTolerance);
}

double ceilTick(double quotient)
{
    return std::ceil(quotient - kTickTolerance);
}

// Beyond any double's decade count: the loops below never run away.
constexpr int kMaxDecades = 400;

} // namespace

PlotAxis PlotAxis::compute(double lo, double hi, int pixels, bool fitting)
{
    PlotAxis axis;
    const double d = hi - lo;
    if (d == 0.0 || !std::isfinite(d) || !std::isfinite(lo) || !std::isfinite(hi))
        return axis;
    double step = std::fabs(d) * 40.0 / double(pixels > 0 ? pixels : 1);
    int e = 0;
    for (int i = 0; step > 10.0 && i < kMaxDecades; ++i) {
        step *= 0.1;
        ++e;
    }
    for (int i = 0; step < 1.0 && i < kMaxDecades; ++i) {
        step *= 10.0;
        --e;
    }
    double mantissa = std::round(step); // halves away from zero
    if (mantissa == 3.0 || mantissa == 4.0 || mantissa == 6.0 || mantissa == 7.0)
        mantissa = 5.0;
    else if (mantissa == 8.0 || mantissa == 9.0)
        mantissa = 10.0;
    // The power of ten from the exponent at once, not as a product of
    // tenths: 0.1 x 0.1 x 0.1 is not 0.001.
    const double power = std::pow(10.0, e);
    double m = 1.0 / power;
    axis.step = mantissa * power;

    double s = 0.0;
    if (fitting) {
        axis.min = axis.first = floorTick(lo / axis.step) * axis.step;
        axis.intervals = int(ceilTick((hi - axis.min) / axis.step));
        axis.max = axis.min + axis.intervals * axis.step;
        if (axis.max - hi >= axis.step * (1.0 - kTickTolerance)) {
            axis.max -= axis.step;
            --axis.intervals; // the ticks end where the axis ends
        }
        s = axis.min;
    } else {
        axis.first = ceilTick(lo / axis.step) * axis.step;
        axis.intervals = int(ceilTick(d / axis.step));
        axis.min = lo;
        axis.max = hi;
        s = lo;
    }

    double v = std::max(std::fabs(s + axis.intervals * axis.step), std::fabs(s)) * m;
    for (int i = 0; v > 100.0 && i < kMaxDecades; ++i) {
        v *= 0.1;
        m *= 0.1;
        ++e;
    }
    for (int i = 0; v > 0.0 && v < 0.01 && i < kMaxDecades; ++i) {
        v *= 10.0;
        m *= 10.0;
        --e;
    }
    // "x10^1" and "x10^-1" say less than one more digit on the labels.
    if (e == 1) {
        e = 0;
        m *= 10.0;
    } else if (e == -1) {
        e = 0;
        m *= 0.1;
    }
    axis.exponent = e;
    axis.multiplier = m;
    return axis;
}

void PlotAxis::lowerByOneStep()
{
    // The first tick stays: the labels stay on the even ticks counted from
    // it (0, 10, 20 rather than -5, 5, 15), and the extra interval's tick
    // falls on the axis end, where no tick is drawn.
    min -= step;
    ++intervals;
}

void PlotAxis::raiseByOneStep()
{
    max += step;
    ++intervals;
}

void PlotAxis::makeRoomFor(double curveMin, double curveMax)
{
    if (!isValid())
        return;
    if (curveMin - min < step * 0.25)
        lowerByOneStep();
    if (max - curveMax < step * 0.25)
        raiseByOneStep();
}

double PlotAxis::labelValue(int tick) const
{
    const double value = (first + tick * step) * multiplier;
    // The zero tick of a range across zero comes out as a rounding residue
    // such as -2.77556e-17; it is written as the 0 it is.
    if (std::fabs(value) < std::fabs(step * multiplier) * 1e-9)
        return 0.0;
    return value;
}

QString PlotAxis::labelText(int tick) const
{
    return QString::number(labelValue(tick), 'g', 6);
}
