#pragma once

#include "diagnostic.h"

#include <string>
#include <utility>
#include <vector>

namespace tarvelsim {

// A quantity imposed over time as points (time, value): linear between the
// points, held at the first value before them and at the last after them.
class TimeProfile
{
public:
    bool empty() const { return m_points.empty(); }
    const std::vector<std::pair<double, double>>& points() const { return m_points; }
    double value(double time) const;
    // The slope of the segment the time falls in; at a point, the slope of
    // the segment that starts there; 0 outside the points.
    double slope(double time) const;

    // The lines of a profile block, each "time value" (a "!" starts a
    // comment): at least two points, times increasing, no time negative and
    // every value positive. what names the quantity for the messages
    // ("volume"), firstLine is the block's keyword line.
    [[nodiscard]] bool read(const std::vector<std::pair<std::string, int>>& lines, const std::string& file,
                            const std::string& block, const std::string& what, int firstLine, Diagnostic& error);

private:
    size_t segment(double time) const;

    std::vector<std::pair<double, double>> m_points;
};

} // namespace tarvelsim
