#include "simulation.h"

#include "constants.h"
#include "reactor.h"
#include "strings.h"

#include <cmath>

namespace tarvelsim {

namespace {

bool finite(const std::vector<double> &values)
{
    for (double value : values) {
        if (!std::isfinite(value))
            return false;
    }
    return true;
}

// Tracks the steepest rise of one species' mole fraction over the internal
// steps and refines it with a parabola through the three steps around it.
class InductionTracker
{
public:
    void add(double time, double slope)
    {
        m_times[0] = m_times[1];
        m_slopes[0] = m_slopes[1];
        m_times[1] = m_times[2];
        m_slopes[1] = m_slopes[2];
        m_times[2] = time;
        m_slopes[2] = slope;
        ++m_count;
        if (m_pendingRefinement) {
            refine();
            m_pendingRefinement = false;
        }
        if (slope > m_best) {
            m_best = slope;
            m_bestTime = time;
            m_pendingRefinement = true;
        }
    }

    bool found() const { return m_best > 0.0; }
    double time() const { return m_bestTime; }

private:
    void refine()
    {
        // The maximum was the middle one of the last three points.
        if (m_count < 3 || m_slopes[1] != m_best)
            return;
        const double t0 = m_times[0], t1 = m_times[1], t2 = m_times[2];
        const double s0 = m_slopes[0], s1 = m_slopes[1], s2 = m_slopes[2];
        const double denominator = (t0 - t1) * (t0 - t2) * (t1 - t2);
        if (denominator == 0.0)
            return;
        const double a = (t2 * (s1 - s0) + t1 * (s0 - s2) + t0 * (s2 - s1)) / denominator;
        const double b = (t2 * t2 * (s0 - s1) + t1 * t1 * (s2 - s0) + t0 * t0 * (s1 - s2)) / denominator;
        if (a >= 0.0)
            return;
        const double vertex = -b / (2.0 * a);
        if (vertex > t0 && vertex < t2)
            m_bestTime = vertex;
    }

    double m_times[3] = {0, 0, 0};
    double m_slopes[3] = {0, 0, 0};
    int m_count = 0;
    double m_best = 0.0;
    double m_bestTime = 0.0;
    bool m_pendingRefinement = false;
};

} // namespace

Simulation::Simulation(const Mechanism &mechanism, const SimulationSettings &settings)
    : m_mechanism(mechanism), m_settings(settings)
{
}

ReactorState Simulation::startingState(const ReactorState& initial, const ReactorModel& model)
{
    ReactorState state = initial;
    if (model.isothermal && !model.temperature.empty())
        state.temperature = model.temperature.value(0.0);
    if (model.constantVolume && !model.volume.empty())
        state.volume = model.volume.value(0.0);
    return state;
}

bool Simulation::run(const ReactorState& given, const Output& output, SimulationResult& result)
{
    result = SimulationResult();
    const SimulationSettings &s = m_settings;
    const size_t n = m_mechanism.species.size();
    const ReactorState initial = startingState(given, s.model);
    if (initial.massFractions.size() != n || !(initial.temperature > 0) || !(initial.pressure > 0)
        || !(initial.volume > 0)) {
        result.failure = "the initial state is incomplete";
        return false;
    }
    if (!(s.endTime > 0) || s.startTime < 0 || s.startTime >= s.endTime) {
        result.failure = "the times must satisfy 0 <= TSTA < TEND";
        return false;
    }
    std::vector<double> y = initial.massFractions;
    double total = 0.0;
    for (double value : y)
        total += value;
    if (!(total > 0)) {
        result.failure = "the initial composition is empty";
        return false;
    }
    for (double &value : y)
        value /= total;

    Reactor reactor(m_mechanism, s.model);
    reactor.initialise(initial.temperature, initial.pressure * constants::oneBar, y.data());
    const double mass =
        reactor.density(0.0, y.data(), initial.temperature) * initial.volume * constants::cubicCentimetresPerCubicMetre;
    const std::vector<double> &weights = reactor.mixture().weights();

    // From a state vector (mass fractions, perhaps the energy) at a time.
    auto stateOf = [&](double time, const std::vector<double>& x, ReactorState& state) {
        double t = 0.0;
        if (!reactor.temperature(time, x.data(), t))
            return false;
        state.temperature = t;
        state.pressure = reactor.pressure(time, x.data(), t) / constants::oneBar;
        state.volume = mass / reactor.density(time, x.data(), t) / constants::cubicCentimetresPerCubicMetre;
        state.massFractions.assign(x.begin(), x.begin() + static_cast<long>(n));
        return true;
    };
    auto emit = [&](double time, double lastStep, const std::vector<double>& x) {
        Sample sample;
        sample.time = time;
        sample.lastStep = lastStep;
        if (!stateOf(time, x, sample.state)) {
            result.failure = "no temperature matches the state's energy";
            return false;
        }
        ++result.samples;
        if (!output(sample)) {
            result.failure = "the output could not be written";
            return false;
        }
        return true;
    };

    Integrator integrator(reactor, s.jacobian, s.linearAlgebra);
    const std::vector<double> start = reactor.initialState(y.data());
    if (!integrator.start(start, s.relativeTolerance, s.absoluteTolerance, s.firstStep, s.endTime)) {
        result.failure = integrator.failure();
        return false;
    }

    std::vector<double> outputTimes;
    if (s.outputSteps > 0) {
        for (int i = 0; i <= s.outputSteps; ++i) {
            const double time = i == s.outputSteps
                ? s.endTime
                : s.startTime + (s.endTime - s.startTime) * static_cast<double>(i) / s.outputSteps;
            if (time > 0.0)
                outputTimes.push_back(time);
        }
    }
    if (!emit(0.0, 0.0, start))
        return false;

    const double ignitionTemperature = initial.temperature + ignitionRise;
    InductionTracker induction;
    std::vector<double> values, slopes;
    size_t nextOutput = 0;
    long steps = 0;
    double previousTime = 0.0;
    double time = 0.0;
    const int every = s.outputSteps < 0 ? -s.outputSteps : 0;
    while (time < s.endTime) {
        if (!integrator.step(time)) {
            result.failure = integrator.failure();
            result.statistics = integrator.statistics();
            return false;
        }
        ++steps;
        values.assign(integrator.state(), integrator.state() + reactor.size());
        if (!finite(values)) {
            result.failure = Strings::format("the solution is not a number (NaN) at t = %.6E s", time);
            result.statistics = integrator.statistics();
            return false;
        }
        double temperature = 0.0;
        if (!reactor.temperature(time, values.data(), temperature)) {
            result.failure = "no temperature matches the state's energy";
            return false;
        }

        if (!result.ignited && temperature > ignitionTemperature) {
            // Bisection on the solver's interpolant for the crossing time.
            double low = previousTime, high = time;
            std::vector<double> trial;
            for (int i = 0; i < 60 && high - low > 1e-14 * high; ++i) {
                const double middle = 0.5 * (low + high);
                double t = 0.0;
                if (!integrator.interpolate(middle, 0, trial) || !reactor.temperature(middle, trial.data(), t))
                    break;
                (t > ignitionTemperature ? high : low) = middle;
            }
            result.ignited = true;
            result.ignitionTime = 0.5 * (low + high);
        }

        if (s.inductionSpecies >= 0 && integrator.interpolate(time, 1, slopes)) {
            const size_t k = static_cast<size_t>(s.inductionSpecies);
            double moles = 0.0, molesRate = 0.0;
            for (size_t j = 0; j < n; ++j) {
                moles += values[j] / weights[j];
                molesRate += slopes[j] / weights[j];
            }
            const double slope = slopes[k] / (weights[k] * moles) - values[k] / weights[k] * molesRate / (moles * moles);
            induction.add(time, slope);
        }

        if (every > 0) {
            if (steps % every == 0 || time >= s.endTime) {
                if (!emit(time, integrator.lastStep(), values))
                    return false;
            }
        } else {
            while (nextOutput < outputTimes.size() && outputTimes[nextOutput] <= time) {
                const double at = outputTimes[nextOutput++];
                std::vector<double> x;
                if (at == time)
                    x = values;
                else if (!integrator.interpolate(at, 0, x)) {
                    result.failure = "cannot interpolate the solution";
                    return false;
                }
                if (!emit(at, integrator.lastStep(), x))
                    return false;
            }
        }
        previousTime = time;
    }

    result.statistics = integrator.statistics();
    result.induction = induction.found();
    result.inductionTime = induction.time();
    if (!stateOf(time, values, result.final)) {
        result.failure = "no temperature matches the final state's energy";
        return false;
    }
    return true;
}

} // namespace tarvelsim
