#ifndef TARVEL_TESTS_STREAMVALUE_H
#define TARVEL_TESTS_STREAMVALUE_H

// The value the test double's "stream" command writes in `column` at the
// fraction `f` (0 to 1) of a run: the time, then smooth curves with a steep
// rise half-way, as an ignition gives. Plain C++: the test double uses no
// Qt, and the benchmarks that rebuild its files must get the same numbers.

#include <cmath>

inline double streamValue(long column, double time, double f)
{
    const double rise = 1.0 / (1.0 + std::exp(-(f - 0.5) * 60.0));
    if (column == 0)
        return time;
    if (column == 1)
        return 1000.0 + 1500.0 * rise;
    if (column == 2)
        return 1.0 + 2.5 * rise;
    return 1.0e-3 * double(column % 7 + 1) * (1.0 + std::sin(double(column) + 6.0 * f) * (1.0 - rise))
           + 1.0e-6 * double(column) * rise;
}

#endif
