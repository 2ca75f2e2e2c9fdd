#pragma once

#include "mechanism.h"

#include <vector>

namespace tarvelsim {

// Ideal-gas mixture properties over a mechanism's species, per unit mass
// (erg/g, erg/(g K)) with the composition given as mass fractions.
class Mixture
{
public:
    explicit Mixture(const Mechanism &mechanism);

    size_t size() const { return m_weights.size(); }
    const std::vector<double> &weights() const { return m_weights; }

    double meanWeight(const double *massFractions) const;
    void moleFractions(const double *massFractions, double *moleFractions) const;
    void massFractionsFromMoles(const double *moleFractions, double *massFractions) const;
    // g/cm^3 from a pressure in dyn/cm^2.
    double density(double temperature, double pressure, const double *massFractions) const;
    double pressure(double temperature, double density, const double *massFractions) const;

    // Per species, per unit mass: enthalpies, internal energies, heat capacities.
    void speciesEnthalpies(double temperature, double *enthalpies, double *heatCapacities) const;
    double enthalpy(double temperature, const double *massFractions) const;
    double internalEnergy(double temperature, const double *massFractions) const;
    double cp(double temperature, const double *massFractions) const;
    double cv(double temperature, const double *massFractions) const;

    // The temperature at which the mixture has the given enthalpy (or internal
    // energy), by Newton's method from guess. False when it does not converge.
    [[nodiscard]] bool temperatureFromEnthalpy(double enthalpy, const double *massFractions, double guess,
                                               double &temperature) const;
    [[nodiscard]] bool temperatureFromEnergy(double energy, const double *massFractions, double guess,
                                             double &temperature) const;

private:
    bool solveTemperature(double target, bool energy, const double *massFractions, double guess,
                          double &temperature) const;

    std::vector<double> m_weights;
    std::vector<NasaPolynomial> m_thermo;
    mutable std::vector<double> m_h;
    mutable std::vector<double> m_cp;
};

} // namespace tarvelsim
