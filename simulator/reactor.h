#pragma once

#include "kinetics.h"
#include "mechanism.h"
#include "mixture.h"

#include <vector>

namespace tarvelsim {

// A closed homogeneous reactor at constant pressure or constant volume,
// adiabatic or at fixed temperature. The state is the vector of mass
// fractions alone: the temperature follows from the conserved enthalpy
// (constant pressure) or internal energy (constant volume), so energy is
// conserved to round-off whatever the tolerances, and element conservation,
// being linear, is kept exactly by the BDF formulas.
class Reactor
{
public:
    Reactor(const Mechanism &mechanism, bool constantVolume, bool isothermal);

    bool constantVolume() const { return m_constantVolume; }
    bool isothermal() const { return m_isothermal; }
    size_t size() const { return m_mixture.size(); }

    // Fixes the pressure (dyn/cm^2) or the density, and the energy or the
    // temperature, from the initial state.
    void initialise(double temperature, double pressure, const double *massFractions);

    [[nodiscard]] bool temperature(const double *massFractions, double &temperature);
    double density(const double *massFractions, double temperature) const;
    double pressure(const double *massFractions, double temperature) const;
    void concentrations(const double *massFractions, double temperature, double *concentrations) const;
    // The invariant: enthalpy (constant pressure) or internal energy (constant
    // volume) per unit mass, erg/g.
    double conservedEnergy() const { return m_energy; }

    [[nodiscard]] bool rightHandSide(const double *massFractions, double *rates);
    // d rates / d mass fractions, column-major with leading dimension size().
    [[nodiscard]] bool jacobian(const double *massFractions, double *matrix);

    Kinetics &kinetics() { return m_kinetics; }
    const Mixture &mixture() const { return m_mixture; }

private:
    Mixture m_mixture;
    Kinetics m_kinetics;
    bool m_constantVolume;
    bool m_isothermal;
    double m_pressure = 0.0;
    double m_density = 0.0;
    double m_temperature = 0.0;  // held (isothermal) or last solved
    double m_energy = 0.0;

    std::vector<double> m_c;
    std::vector<double> m_rates;
    std::vector<double> m_shifted;
    std::vector<double> m_dwdc;
    std::vector<double> m_h;
    std::vector<double> m_cp;
    std::vector<double> m_dTdY;
    std::vector<double> m_drhodY;
};

} // namespace tarvelsim
