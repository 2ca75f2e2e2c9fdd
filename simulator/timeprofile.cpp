#include "timeprofile.h"

#include "strings.h"

#include <algorithm>

namespace tarvelsim {

size_t TimeProfile::segment(double time) const
{
    // The last point at or before the time.
    const auto after =
        std::upper_bound(m_points.begin(), m_points.end(), time,
                         [](double t, const std::pair<double, double>& point) { return t < point.first; });
    return static_cast<size_t>(after - m_points.begin()) - 1;
}

double TimeProfile::value(double time) const
{
    if (m_points.empty())
        return 0.0;
    if (time <= m_points.front().first)
        return m_points.front().second;
    if (time >= m_points.back().first)
        return m_points.back().second;
    const size_t i = segment(time);
    const auto& a = m_points[i];
    const auto& b = m_points[i + 1];
    // The fraction of the segment first: the product of the two differences
    // overflows for large times and values, where the fraction cannot.
    const double fraction = (time - a.first) / (b.first - a.first);
    return a.second + (b.second - a.second) * fraction;
}

double TimeProfile::slope(double time) const
{
    if (m_points.size() < 2 || time < m_points.front().first || time >= m_points.back().first)
        return 0.0;
    const size_t i = segment(time);
    const auto& a = m_points[i];
    const auto& b = m_points[i + 1];
    return (b.second - a.second) / (b.first - a.first);
}

bool TimeProfile::read(const std::vector<std::pair<std::string, int>>& lines, const std::string& file,
                       const std::string& block, const std::string& what, int firstLine, Diagnostic& error)
{
    // Filled aside: a block refused at any line leaves no points behind, so
    // empty() keeps meaning "nothing imposed".
    m_points.clear();
    std::vector<std::pair<double, double>> points;
    for (const auto& entry : lines) {
        const std::vector<std::string> words = Strings::words(Strings::withoutComment(entry.first));
        if (words.empty())
            continue;
        double time = 0.0, value = 0.0;
        if (words.size() != 2 || !Strings::toNumber(words[0], time) || !Strings::toNumber(words[1], value)) {
            error = Diagnostic(file, entry.second,
                               "a line of the " + block + " block must hold two numbers, the time in s and the " + what
                                   + ", not \"" + Strings::trimmed(entry.first) + "\"");
            return false;
        }
        if (time < 0) {
            error = Diagnostic(file, entry.second, "the times of the " + block + " block must not be negative");
            return false;
        }
        if (!(value > 0)) {
            error = Diagnostic(file, entry.second, "the " + what + " of the " + block + " block must be positive");
            return false;
        }
        if (!points.empty() && !(time > points.back().first)) {
            error =
                Diagnostic(file, entry.second, "the times of the " + block + " block must increase from line to line");
            return false;
        }
        points.emplace_back(time, value);
    }
    if (points.size() < 2) {
        error = Diagnostic(file, firstLine, "the " + block + " block needs at least two lines \"time " + what + "\"");
        return false;
    }
    m_points = std::move(points);
    return true;
}

} // namespace tarvelsim
