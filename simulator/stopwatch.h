#pragma once

#include <chrono>

namespace tarvelsim {

// Adds the time between its construction and its destruction to a total in
// seconds: how the integrator tells where a run spends its time.
class Stopwatch
{
public:
    explicit Stopwatch(double& total)
        : m_total(total)
        , m_start(Clock::now())
    {
    }
    ~Stopwatch() { m_total += std::chrono::duration<double>(Clock::now() - m_start).count(); }
    Stopwatch(const Stopwatch&) = delete;
    Stopwatch& operator=(const Stopwatch&) = delete;

private:
    using Clock = std::chrono::steady_clock;
    double& m_total;
    Clock::time_point m_start;
};

} // namespace tarvelsim
