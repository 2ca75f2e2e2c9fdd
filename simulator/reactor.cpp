#include "reactor.h"

#include "constants.h"

#include <cmath>

namespace tarvelsim {

Reactor::Reactor(const Mechanism &mechanism, bool constantVolume, bool isothermal)
    : m_mixture(mechanism), m_kinetics(mechanism), m_constantVolume(constantVolume), m_isothermal(isothermal)
{
    const size_t n = m_mixture.size();
    m_c.resize(n);
    m_rates.resize(n);
    m_shifted.resize(n);
    m_h.resize(n);
    m_cp.resize(n);
    m_dTdY.resize(n);
    m_drhodY.resize(n);
}

void Reactor::initialise(double temperature, double pressure, const double *y)
{
    m_temperature = temperature;
    m_pressure = pressure;
    m_density = m_mixture.density(temperature, pressure, y);
    m_energy = m_constantVolume ? m_mixture.internalEnergy(temperature, y) : m_mixture.enthalpy(temperature, y);
}

bool Reactor::temperature(const double *y, double &t)
{
    if (m_isothermal) {
        t = m_temperature;
        return true;
    }
    const bool solved = m_constantVolume ? m_mixture.temperatureFromEnergy(m_energy, y, m_temperature, t)
                                         : m_mixture.temperatureFromEnthalpy(m_energy, y, m_temperature, t);
    if (!solved || !(t > 0))
        return false;
    m_temperature = t;
    return true;
}

double Reactor::density(const double *y, double t) const
{
    return m_constantVolume ? m_density : m_mixture.density(t, m_pressure, y);
}

double Reactor::pressure(const double *y, double t) const
{
    return m_constantVolume ? m_mixture.pressure(t, m_density, y) : m_pressure;
}

void Reactor::concentrations(const double *y, double t, double *c) const
{
    const double rho = density(y, t);
    const std::vector<double> &w = m_mixture.weights();
    for (size_t k = 0; k < w.size(); ++k)
        c[k] = rho * y[k] / w[k];
}

bool Reactor::rightHandSide(const double *y, double *rates)
{
    double t = 0.0;
    if (!temperature(y, t))
        return false;
    const double rho = density(y, t);
    concentrations(y, t, m_c.data());
    m_kinetics.evaluate(t, m_c.data());
    const std::vector<double> &production = m_kinetics.productionRates();
    const std::vector<double> &w = m_mixture.weights();
    for (size_t k = 0; k < w.size(); ++k) {
        rates[k] = w[k] * production[k] / rho;
        if (!std::isfinite(rates[k]))
            return false;
    }
    return true;
}

bool Reactor::jacobian(const double *y, double *matrix)
{
    const size_t n = size();
    const std::vector<double> &w = m_mixture.weights();
    double t = 0.0;
    if (!temperature(y, t))
        return false;
    const double rho = density(y, t);
    concentrations(y, t, m_c.data());
    m_kinetics.evaluate(t, m_c.data());
    m_rates = m_kinetics.productionRates();
    m_kinetics.concentrationDerivatives(m_dwdc);

    // dT/dY_j at constant enthalpy or energy, and d rho/dY_j.
    std::fill(m_dTdY.begin(), m_dTdY.end(), 0.0);
    std::fill(m_drhodY.begin(), m_drhodY.end(), 0.0);
    if (!m_isothermal) {
        m_mixture.speciesEnthalpies(t, m_h.data(), m_cp.data());
        double capacity = 0.0;
        double moles = 0.0;
        for (size_t j = 0; j < n; ++j) {
            capacity += y[j] * m_cp[j];
            moles += y[j] / w[j];
        }
        if (m_constantVolume) {
            capacity -= constants::gasConstant * moles;
            for (size_t j = 0; j < n; ++j)
                m_dTdY[j] = -(m_h[j] - constants::gasConstant * t / w[j]) / capacity;
        } else {
            for (size_t j = 0; j < n; ++j)
                m_dTdY[j] = -m_h[j] / capacity;
        }
    }
    if (!m_constantVolume) {
        double moles = 0.0;
        for (size_t j = 0; j < n; ++j)
            moles += y[j] / w[j];
        for (size_t j = 0; j < n; ++j)
            m_drhodY[j] = rho * (-m_dTdY[j] / t - 1.0 / (moles * w[j]));
    }

    // The temperature derivative of the production rates by one forward
    // difference: one more rate evaluation per Jacobian, where the analytic
    // form (through every falloff centre and equilibrium constant) would cost
    // far more code for no measurable gain in the Newton iteration.
    std::vector<double> &a = m_shifted; // (W_k / rho) d omega_k / dT
    std::fill(a.begin(), a.end(), 0.0);
    if (!m_isothermal) {
        const double dt = 1e-7 * t;
        m_kinetics.evaluate(t + dt, m_c.data());
        const std::vector<double> &shifted = m_kinetics.productionRates();
        for (size_t k = 0; k < n; ++k)
            a[k] = w[k] / rho * (shifted[k] - m_rates[k]) / dt;
    }

    for (size_t k = 0; k < n; ++k) {
        const double *row = m_dwdc.data() + k * n;
        double b = 0.0;
        if (!m_constantVolume) {
            double sum = 0.0;
            for (size_t i = 0; i < n; ++i)
                sum += row[i] * m_c[i];
            b = w[k] / (rho * rho) * (sum - m_rates[k]);
        }
        for (size_t j = 0; j < n; ++j) {
            const double value = w[k] / w[j] * row[j] + a[k] * m_dTdY[j] + b * m_drhodY[j];
            if (!std::isfinite(value))
                return false;
            matrix[j * n + k] = value;
        }
    }
    return true;
}

} // namespace tarvelsim
