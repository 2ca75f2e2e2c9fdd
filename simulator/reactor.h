#pragma once

#include "kinetics.h"
#include "mechanism.h"
#include "mixture.h"
#include "reactormodel.h"
#include "sparsepattern.h"

#include <vector>

namespace tarvelsim {

// A closed homogeneous reactor (see ReactorModel). The state is the vector of
// mass fractions, followed by the energy per unit mass (enthalpy at constant
// pressure, internal energy at constant volume) only where heat or work
// changes it. The temperature follows from that energy, so an adiabatic
// reactor at constant pressure or volume conserves it to round-off whatever
// the tolerances, and element conservation, being linear, is kept exactly by
// the BDF formulas. At an imposed temperature there is no energy balance.
//
// The Jacobian comes in two parts: a sparse matrix over the pattern of the
// reactions (which species each reaction's rate depends on) and a part of
// rank two, U V^T, that carries everything depending on the whole state at
// once: the temperature (through the energy), the density (at constant
// pressure) and colliders that are the whole mixture.
class Reactor
{
public:
    static constexpr size_t lowRank = 2;

    Reactor(const Mechanism& mechanism, const ReactorModel& model);

    const ReactorModel& model() const { return m_model; }
    size_t speciesCount() const { return m_mixture.size(); }
    size_t size() const { return m_mixture.size() + (m_energyInState ? 1 : 0); }
    bool energyInState() const { return m_energyInState; }

    // Fixes the density history (constant volume) or the pressure, and the
    // energy, from the initial state: temperature (K), pressure (dyn/cm^2).
    void initialise(double temperature, double pressure, const double *massFractions);
    // The state vector at the start.
    std::vector<double> initialState(const double* massFractions) const;

    [[nodiscard]] bool temperature(double time, const double* state, double& temperature);
    double density(double time, const double* state, double temperature) const;
    double pressure(double time, const double* state, double temperature) const;
    void concentrations(double time, const double* state, double temperature, double* concentrations) const;

    [[nodiscard]] bool rightHandSide(double time, const double* state, double* rates);

    const SparsePattern& pattern() const { return m_pattern; }
    // values: the sparse part in pattern() order; u and v: size() x lowRank,
    // column-major.
    [[nodiscard]] bool jacobian(double time, const double* state, double* values, double* u, double* v);
    // The whole Jacobian, column-major with leading dimension size().
    [[nodiscard]] bool denseJacobian(double time, const double* state, double* matrix);

    Kinetics &kinetics() { return m_kinetics; }
    const Mixture &mixture() const { return m_mixture; }

private:
    double moles(const double* massFractions) const;
    // W/(m^2 K) times 1/m in erg/(s cm^3 K).
    double wallLossFactor() const;
    // d energy / dt per unit mass, and its derivatives by T, rho and moles.
    double energySource(double time, double temperature, double density, double moles, double derivatives[3]) const;

    Mixture m_mixture;
    Kinetics m_kinetics;
    ReactorModel m_model;
    bool m_energyInState = false;
    SparsePattern m_pattern;
    double m_pressure = 0.0;
    double m_density = 0.0; // initial
    double m_temperature = 0.0; // initial (isothermal) or last solved
    double m_initialTemperature = 0.0;
    double m_energy = 0.0; // initial

    std::vector<double> m_c;
    std::vector<double> m_rates;
    std::vector<double> m_mixtureColumn;
    std::vector<double> m_rowSums;
    std::vector<double> m_h;
    std::vector<double> m_cp;
    std::vector<double> m_values;
    std::vector<double> m_u;
    std::vector<double> m_v;
};

} // namespace tarvelsim
