#include "plotaxis.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

// Room a decade label needs along a logarithmic axis, in pixels ("10" and a
// two-digit power in the label font, with a gap).
constexpr double kLogLabelSpacing = 30.0;
// Below this many pixels a decade gets no 2..9 minor ticks: they would merge.
constexpr double kMinorTickDecade = 20.0;

const QChar kTimes(0x00D7);

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
    axis.pixels = pixels;
    return axis;
}

PlotAxis PlotAxis::computeLog(double lo, double hi, int pixels, bool fitting)
{
    PlotAxis axis;
    axis.logarithmic = true;
    if (!(lo > 0.0) || !(hi > lo) || !std::isfinite(hi))
        return axis;
    double a = std::log10(lo);
    double b = std::log10(hi);
    if (fitting) {
        a = floorTick(a);
        b = ceilTick(b);
        if (b <= a)
            b = a + 1.0;
    }
    const double perDecade = double(pixels > 0 ? pixels : 1) / (b - a);
    // Decades per major tick: 1, 2, 5, 10, 20, 50 ... as the room asks.
    double step = 1.0;
    for (int i = 0; step * perDecade < kLogLabelSpacing && i < kMaxDecades; ++i) {
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + kTickTolerance));
        step *= mantissa < 1.5 ? 2.0 : mantissa < 3.0 ? 2.5 : 2.0;
    }
    axis.min = a;
    axis.max = b;
    axis.step = step;
    axis.first = ceilTick(a / step) * step;
    axis.intervals = std::max(0, int(floorTick((b - axis.first) / step)));
    axis.pixels = pixels;
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
    if (!isValid() || !std::isfinite(curveMin) || !std::isfinite(curveMax))
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

double PlotAxis::toAxis(double value) const
{
    if (!logarithmic)
        return value;
    return value > 0.0 && std::isfinite(value) ? std::log10(value) : std::numeric_limits<double>::quiet_NaN();
}

double PlotAxis::fromAxis(double at) const
{
    return logarithmic ? std::pow(10.0, at) : at;
}

QList<PlotTick> PlotAxis::ticks() const
{
    if (!isValid())
        return {};
    return logarithmic ? logTicks() : linearTicks();
}

QList<PlotTick> PlotAxis::linearTicks() const
{
    // The last interval's end is the axis end, which carries the arrow or
    // the border: no tick there. Every other tick is labelled.
    QList<PlotTick> result;
    for (int k = 0; k < intervals; ++k) {
        PlotTick tick;
        tick.at = first + k * step;
        tick.grid = true;
        tick.halfLength = k % 2 == 0 ? 4 : 2;
        if (k % 2 == 0)
            tick.text = labelText(k);
        result.append(tick);
    }
    return result;
}

QList<PlotTick> PlotAxis::logTicks() const
{
    QList<PlotTick> result;
    const double tolerance = kTickTolerance * std::max(1.0, std::fabs(max - min));
    auto inside = [&](double at) { return at >= min - tolerance && at <= max + tolerance; };
    const double perDecade = double(pixels > 0 ? pixels : 1) / (max - min);
    int majors = 0;
    const double lowDecade = std::floor(min);
    const double highDecade = std::ceil(max);
    for (double decade = lowDecade; decade <= highDecade && result.size() < 10 * kMaxDecades; decade += 1.0) {
        const double multiple = std::remainder(decade, step);
        const bool major = std::fabs(multiple) < kTickTolerance;
        if (inside(decade)) {
            PlotTick tick;
            tick.at = decade;
            tick.halfLength = major ? 4 : 2;
            tick.grid = major;
            if (major) {
                tick.text = QStringLiteral("10");
                tick.superscript = QString::number(int(decade));
                ++majors;
            }
            result.append(tick);
        }
        if (step == 1.0 && perDecade >= kMinorTickDecade) {
            for (int m = 2; m <= 9; ++m) {
                PlotTick tick;
                tick.at = decade + std::log10(double(m));
                if (inside(tick.at))
                    result.append(tick);
            }
        }
    }
    std::sort(result.begin(), result.end(), [](const PlotTick& a, const PlotTick& b) { return a.at < b.at; });
    if (majors >= 2)
        return result;

    // Less than two decades to label: the minor ticks carry labels too, as
    // far as there is room between them...
    int labelled = majors;
    double lastLabel = -std::numeric_limits<double>::infinity();
    for (PlotTick& tick : result) {
        if (!tick.text.isEmpty()) {
            lastLabel = tick.at;
            continue;
        }
        if ((tick.at - lastLabel) * perDecade < kLogLabelSpacing)
            continue;
        const double decade = std::floor(tick.at + kTickTolerance);
        const long mantissa = std::lround(std::pow(10.0, tick.at - decade));
        tick.text = QString::number(mantissa) + kTimes + QStringLiteral("10");
        tick.superscript = QString::number(int(decade));
        lastLabel = tick.at;
        ++labelled;
    }
    if (labelled >= 2)
        return result;

    // ...and a range within one decade gets the ticks of a linear axis,
    // placed logarithmically.
    const PlotAxis linear = compute(std::pow(10.0, min), std::pow(10.0, max), pixels, false);
    result.clear();
    for (const PlotTick& plain : linear.linearTicks()) {
        const double value = plain.at;
        if (!(value > 0.0))
            continue;
        PlotTick tick = plain;
        tick.at = std::log10(value);
        if (!tick.text.isEmpty())
            tick.text = QString::number(value, 'g', 6);
        result.append(tick);
    }
    return result;
}
