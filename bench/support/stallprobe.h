#ifndef TARVEL_BENCH_STALLPROBE_H
#define TARVEL_BENCH_STALLPROBE_H

// The event loop's responsiveness as a user feels it: a timer due every 5 ms
// on the user-interface thread. Its timeouts come every 5 ms while the loop
// is free; the gap between two of them is how long the thread was busy (or
// kept from running) in between. The largest gap is kept for each phase of
// a measurement, counted in the phase current when the gap ends.

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <vector>

class StallProbe
{
public:
    static constexpr int IntervalMs = 5;

    explicit StallProbe(int phases = 1)
        : m_worst(size_t(std::max(phases, 1)), 0)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(IntervalMs);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { tick(); });
    }

    void start()
    {
        std::fill(m_worst.begin(), m_worst.end(), 0);
        m_phase = 0;
        m_ticks = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }

    void stop()
    {
        tick();
        m_timer.stop();
    }

    void setPhase(int phase)
    {
        // The gap under way belongs to the phase it ends in: a stall caused
        // by what starts the new phase is counted there.
        m_phase = std::clamp(phase, 0, int(m_worst.size()) - 1);
    }
    int phase() const { return m_phase; }

    double worstMs(int phase) const { return double(m_worst.at(size_t(phase))) / 1.0e6; }
    double worstMs() const { return double(*std::max_element(m_worst.begin(), m_worst.end())) / 1.0e6; }
    long ticks() const { return m_ticks; }

private:
    void tick()
    {
        const qint64 now = m_clock.nsecsElapsed();
        qint64& worst = m_worst[size_t(m_phase)];
        worst = std::max(worst, now - m_last);
        m_last = now;
        ++m_ticks;
    }

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    std::vector<qint64> m_worst;
    int m_phase = 0;
    long m_ticks = 0;
};

#endif
