#include "mixture.h"

#include "constants.h"

#include <cmath>

namespace tarvelsim {

Mixture::Mixture(const Mechanism &mechanism)
{
    for (const Species &species : mechanism.species) {
        m_weights.push_back(species.weight);
        m_thermo.push_back(species.thermo);
    }
    m_h.resize(m_weights.size());
    m_cp.resize(m_weights.size());
}

double Mixture::meanWeight(const double *y) const
{
    double sum = 0.0;
    for (size_t k = 0; k < m_weights.size(); ++k)
        sum += y[k] / m_weights[k];
    return 1.0 / sum;
}

void Mixture::moleFractions(const double *y, double *x) const
{
    const double w = meanWeight(y);
    for (size_t k = 0; k < m_weights.size(); ++k)
        x[k] = y[k] * w / m_weights[k];
}

void Mixture::massFractionsFromMoles(const double *x, double *y) const
{
    double mass = 0.0;
    for (size_t k = 0; k < m_weights.size(); ++k)
        mass += x[k] * m_weights[k];
    for (size_t k = 0; k < m_weights.size(); ++k)
        y[k] = x[k] * m_weights[k] / mass;
}

double Mixture::density(double temperature, double pressure, const double *y) const
{
    return pressure * meanWeight(y) / (constants::gasConstant * temperature);
}

double Mixture::pressure(double temperature, double density, const double *y) const
{
    return density * constants::gasConstant * temperature / meanWeight(y);
}

void Mixture::speciesEnthalpies(double temperature, double *h, double *cp) const
{
    for (size_t k = 0; k < m_weights.size(); ++k) {
        double cpR = 0, hRT = 0, sR = 0;
        m_thermo[k].evaluate(temperature, cpR, hRT, sR);
        const double perMass = constants::gasConstant / m_weights[k];
        h[k] = hRT * perMass * temperature;
        cp[k] = cpR * perMass;
    }
}

double Mixture::enthalpy(double temperature, const double *y) const
{
    speciesEnthalpies(temperature, m_h.data(), m_cp.data());
    double sum = 0.0;
    for (size_t k = 0; k < m_weights.size(); ++k)
        sum += y[k] * m_h[k];
    return sum;
}

double Mixture::internalEnergy(double temperature, const double *y) const
{
    return enthalpy(temperature, y) - constants::gasConstant * temperature / meanWeight(y);
}

double Mixture::cp(double temperature, const double *y) const
{
    speciesEnthalpies(temperature, m_h.data(), m_cp.data());
    double sum = 0.0;
    for (size_t k = 0; k < m_weights.size(); ++k)
        sum += y[k] * m_cp[k];
    return sum;
}

double Mixture::cv(double temperature, const double *y) const
{
    return cp(temperature, y) - constants::gasConstant / meanWeight(y);
}

bool Mixture::temperatureFromEnthalpy(double enthalpy, const double *y, double guess, double &temperature) const
{
    return solveTemperature(enthalpy, false, y, guess, temperature);
}

bool Mixture::temperatureFromEnergy(double energy, const double *y, double guess, double &temperature) const
{
    return solveTemperature(energy, true, y, guess, temperature);
}

bool Mixture::solveTemperature(double target, bool energy, const double *y, double guess, double &temperature) const
{
    // The gas-constant term of u = h - R T / W is linear in T, so both cases
    // are one Newton iteration on h(T) with a shifted slope.
    double sumMoles = 0.0;
    for (size_t k = 0; k < m_weights.size(); ++k)
        sumMoles += y[k] / m_weights[k];
    const double r = energy ? constants::gasConstant * sumMoles : 0.0;
    auto residual = [&](double t, double &slope) {
        speciesEnthalpies(t, m_h.data(), m_cp.data());
        double value = -r * t;
        slope = -r;
        for (size_t k = 0; k < m_weights.size(); ++k) {
            value += y[k] * m_h[k];
            slope += y[k] * m_cp[k];
        }
        return value - target;
    };
    double t = guess > 0 && std::isfinite(guess) ? guess : 1000.0;
    for (int iteration = 0; iteration < 20; ++iteration) {
        double slope = 0.0;
        const double f = residual(t, slope);
        if (!(slope > 0) || !std::isfinite(f))
            return false;
        double step = -f / slope;
        // Keep far-off trial states (a solver's first guesses) from jumping
        // to a negative temperature.
        if (step < -0.5 * t)
            step = -0.5 * t;
        else if (step > 2.0 * t)
            step = 2.0 * t;
        t += step;
        if (std::fabs(step) <= 1e-12 * t) {
            temperature = t;
            return true;
        }
    }
    // The two ranges of a fit meet at the common temperature only to the
    // digits they were printed with. A target inside that small jump makes
    // Newton's method flip between the ranges; bisection settles on the joint.
    double slope = 0.0;
    double low = t, high = t;
    for (int widen = 0; residual(low, slope) > 0; ++widen) {
        low *= 0.9;
        if (widen > 60)
            return false;
    }
    for (int widen = 0; residual(high, slope) < 0; ++widen) {
        high *= 1.1;
        if (widen > 60)
            return false;
    }
    for (int iteration = 0; iteration < 200 && high - low > 1e-12 * high; ++iteration) {
        const double middle = 0.5 * (low + high);
        if (residual(middle, slope) < 0)
            low = middle;
        else
            high = middle;
    }
    temperature = 0.5 * (low + high);
    return std::isfinite(temperature);
}

} // namespace tarvelsim
