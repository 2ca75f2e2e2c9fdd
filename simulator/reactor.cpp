#include "reactor.h"

#include "constants.h"

#include <algorithm>
#include <cmath>

namespace tarvelsim {

namespace {

// 1 W/(m^2 K) is 1e3 erg/(s cm^2 K), 1/m is 1e-2 /cm.
constexpr double wallUnits = 1.0e3 * 1.0e-2;

} // namespace

Reactor::Reactor(const Mechanism& mechanism, const ReactorModel& model)
    : m_mixture(mechanism)
    , m_kinetics(mechanism)
    , m_model(model)
{
    m_energyInState = !model.isothermal && (model.wallHeatLoss || (model.constantVolume && !model.volume.empty()));
    const size_t n = m_mixture.size();
    m_pattern = SparsePattern(size(), m_kinetics.derivativeEntries());
    m_c.resize(n);
    m_rates.resize(n);
    m_mixtureColumn.resize(n);
    m_rowSums.resize(n);
    m_h.resize(n);
    m_cp.resize(n);
}

void Reactor::initialise(double temperature, double pressure, const double *y)
{
    m_initialTemperature = m_temperature = temperature;
    m_pressure = pressure;
    m_density = m_mixture.density(temperature, pressure, y);
    m_energy = m_model.constantVolume ? m_mixture.internalEnergy(temperature, y) : m_mixture.enthalpy(temperature, y);
}

std::vector<double> Reactor::initialState(const double* y) const
{
    std::vector<double> state(y, y + m_mixture.size());
    if (m_energyInState)
        state.push_back(m_energy);
    return state;
}

double Reactor::moles(const double* y) const
{
    const std::vector<double>& w = m_mixture.weights();
    double sum = 0.0;
    for (size_t j = 0; j < w.size(); ++j)
        sum += y[j] / w[j];
    return sum;
}

bool Reactor::temperature(double time, const double* x, double& t)
{
    if (m_model.isothermal) {
        t = m_model.temperature.empty() ? m_initialTemperature : m_model.temperature.value(time);
        return true;
    }
    const double energy = m_energyInState ? x[m_mixture.size()] : m_energy;
    const bool solved = m_model.constantVolume ? m_mixture.temperatureFromEnergy(energy, x, m_temperature, t)
                                               : m_mixture.temperatureFromEnthalpy(energy, x, m_temperature, t);
    if (!solved || !(t > 0))
        return false;
    m_temperature = t;
    return true;
}

double Reactor::density(double time, const double* x, double t) const
{
    if (!m_model.constantVolume)
        return m_mixture.density(t, m_pressure, x);
    if (m_model.volume.empty())
        return m_density;
    return m_density * m_model.volume.value(0.0) / m_model.volume.value(time);
}

double Reactor::pressure(double time, const double* x, double t) const
{
    return m_model.constantVolume ? m_mixture.pressure(t, density(time, x, t), x) : m_pressure;
}

void Reactor::concentrations(double time, const double* x, double t, double* c) const
{
    const double rho = density(time, x, t);
    const std::vector<double> &w = m_mixture.weights();
    for (size_t k = 0; k < w.size(); ++k)
        c[k] = rho * x[k] / w[k];
}

double Reactor::wallLossFactor() const
{
    return m_model.wallHeatLoss ? m_model.heatTransferCoefficient * m_model.surfaceToVolume * wallUnits : 0.0;
}

double Reactor::energySource(double time, double t, double rho, double molesPerMass, double derivatives[3]) const
{
    // The wall takes K (T - TSURR) per unit volume; a volume that changes
    // does the work p dV, per unit mass R T (moles per mass) V'/V.
    const double k = wallLossFactor();
    const double excess = t - m_model.surroundingTemperature;
    double rate = 0.0;
    if (m_model.constantVolume && !m_model.volume.empty())
        rate = m_model.volume.slope(time) / m_model.volume.value(time);
    const double r = constants::gasConstant;
    derivatives[0] = -k / rho - r * molesPerMass * rate;
    derivatives[1] = k * excess / (rho * rho);
    derivatives[2] = -r * t * rate;
    return -k * excess / rho - r * t * molesPerMass * rate;
}

bool Reactor::rightHandSide(double time, const double* x, double* rates)
{
    double t = 0.0;
    if (!temperature(time, x, t))
        return false;
    const double rho = density(time, x, t);
    concentrations(time, x, t, m_c.data());
    m_kinetics.evaluate(t, m_c.data());
    const std::vector<double> &production = m_kinetics.productionRates();
    const std::vector<double> &w = m_mixture.weights();
    for (size_t k = 0; k < w.size(); ++k) {
        rates[k] = w[k] * production[k] / rho;
        if (!std::isfinite(rates[k]))
            return false;
    }
    if (m_energyInState) {
        double unused[3];
        rates[w.size()] = energySource(time, t, rho, moles(x), unused);
    }
    return true;
}

bool Reactor::jacobian(double time, const double* x, double* values, double* u, double* v)
{
    const size_t n = m_mixture.size();
    const size_t size = this->size();
    const std::vector<double> &w = m_mixture.weights();
    const bool constantPressure = !m_model.constantVolume;
    double t = 0.0;
    if (!temperature(time, x, t))
        return false;
    const double rho = density(time, x, t);
    const double molesPerMass = moles(x);
    concentrations(time, x, t, m_c.data());
    m_kinetics.evaluate(t, m_c.data());
    m_rates = m_kinetics.productionRates();

    // The sparse part, first as d omega / d C ...
    std::fill(values, values + m_pattern.nonZeros(), 0.0);
    std::fill(m_mixtureColumn.begin(), m_mixtureColumn.end(), 0.0);
    m_kinetics.sparseDerivatives(m_pattern.positions(), values, m_mixtureColumn.data());
    const std::vector<std::int64_t>& starts = m_pattern.starts();
    const std::vector<std::int64_t>& rows = m_pattern.rows();
    // ... whose products with C give the density derivative at constant
    // pressure, then scaled to d rate_k / d Y_j = W_k / W_j d omega_k / d C_j.
    if (constantPressure) {
        double total = 0.0;
        for (size_t k = 0; k < n; ++k)
            total += m_c[k];
        for (size_t k = 0; k < n; ++k)
            m_rowSums[k] = m_mixtureColumn[k] * total;
        for (size_t j = 0; j < n; ++j) {
            for (std::int64_t p = starts[j]; p < starts[j + 1]; ++p)
                m_rowSums[static_cast<size_t>(rows[static_cast<size_t>(p)])] += values[p] * m_c[j];
        }
    }
    for (size_t j = 0; j < n; ++j) {
        for (std::int64_t p = starts[j]; p < starts[j + 1]; ++p) {
            const size_t k = static_cast<size_t>(rows[static_cast<size_t>(p)]);
            if (k < n)
                values[p] *= w[k] / w[j];
        }
    }

    // V: the temperature's and the moles' derivatives by the state.
    double* dT = v;
    double* dMoles = v + size;
    std::fill(v, v + lowRank * size, 0.0);
    for (size_t j = 0; j < n; ++j)
        dMoles[j] = 1.0 / w[j];
    if (!m_model.isothermal) {
        m_mixture.speciesEnthalpies(t, m_h.data(), m_cp.data());
        double capacity = 0.0;
        for (size_t j = 0; j < n; ++j)
            capacity += x[j] * m_cp[j];
        if (m_model.constantVolume)
            capacity -= constants::gasConstant * molesPerMass;
        for (size_t j = 0; j < n; ++j) {
            const double energy = m_model.constantVolume ? m_h[j] - constants::gasConstant * t / w[j] : m_h[j];
            dT[j] = -energy / capacity;
        }
        if (m_energyInState)
            dT[n] = 1.0 / capacity;
    }

    // U: the rates' derivatives by T (a forward difference: one more rate
    // evaluation per Jacobian, where the analytic form through every falloff
    // centre and equilibrium constant would cost far more code for no
    // measurable gain in the Newton iteration) and by rho, through
    // d rho = -rho (dT / T + d moles / moles) at constant pressure.
    double* byT = u;
    double* byMoles = u + size;
    std::fill(u, u + lowRank * size, 0.0);
    if (!m_model.isothermal) {
        const double dt = 1e-7 * t;
        m_kinetics.evaluate(t + dt, m_c.data());
        const std::vector<double> &shifted = m_kinetics.productionRates();
        for (size_t k = 0; k < n; ++k)
            byT[k] = w[k] / rho * (shifted[k] - m_rates[k]) / dt;
    }
    for (size_t k = 0; k < n; ++k) {
        byMoles[k] = w[k] * m_mixtureColumn[k];
        if (constantPressure) {
            const double byDensity = w[k] / (rho * rho) * (m_rowSums[k] - m_rates[k]);
            byT[k] -= byDensity * rho / t;
            byMoles[k] -= byDensity * rho / molesPerMass;
        }
    }
    if (m_energyInState) {
        double d[3];
        energySource(time, t, rho, molesPerMass, d);
        byT[n] = d[0] - (constantPressure ? d[1] * rho / t : 0.0);
        byMoles[n] = d[2] - (constantPressure ? d[1] * rho / molesPerMass : 0.0);
    }
    for (size_t i = 0; i < lowRank * size; ++i) {
        if (!std::isfinite(u[i]) || !std::isfinite(v[i]))
            return false;
    }
    for (size_t p = 0; p < m_pattern.nonZeros(); ++p) {
        if (!std::isfinite(values[p]))
            return false;
    }
    return true;
}

bool Reactor::denseJacobian(double time, const double* x, double* matrix)
{
    const size_t size = this->size();
    m_values.resize(m_pattern.nonZeros());
    m_u.resize(lowRank * size);
    m_v.resize(lowRank * size);
    if (!jacobian(time, x, m_values.data(), m_u.data(), m_v.data()))
        return false;
    for (size_t j = 0; j < size; ++j) {
        double* column = matrix + j * size;
        for (size_t k = 0; k < size; ++k) {
            double value = 0.0;
            for (size_t r = 0; r < lowRank; ++r)
                value += m_u[r * size + k] * m_v[r * size + j];
            column[k] = value;
        }
        for (std::int64_t p = m_pattern.starts()[j]; p < m_pattern.starts()[j + 1]; ++p)
            column[m_pattern.rows()[static_cast<size_t>(p)]] += m_values[static_cast<size_t>(p)];
    }
    return true;
}

} // namespace tarvelsim
