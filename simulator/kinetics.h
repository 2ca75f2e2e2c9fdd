#pragma once

#include "mechanism.h"

#include <vector>

namespace tarvelsim {

// Gas-phase reaction rates of a mechanism: rates of progress and molar
// production rates at a temperature and concentrations (mol/cm^3), and the
// production rates' derivatives with respect to the concentrations. Reverse
// rates come from the equilibrium constants at every evaluation (unless a
// reaction gives REV), so a closed system relaxes to true equilibrium.
class Kinetics
{
public:
    explicit Kinetics(const Mechanism &mechanism);

    size_t speciesCount() const { return m_speciesCount; }
    size_t reactionCount() const { return m_reactions.size(); }

    void evaluate(double temperature, const double *concentrations);

    // Results of the last evaluate(), in mol/(cm^3 s).
    const std::vector<double> &forwardRates() const { return m_forward; }
    const std::vector<double> &reverseRates() const { return m_reverse; }
    const std::vector<double> &productionRates() const { return m_production; }
    // Kc of each reaction in concentration units at the last temperature
    // (0 for irreversible reactions and for those with REV).
    double equilibriumConstant(size_t reaction) const;

    // d(production rate k)/d(concentration j) at the state of the last
    // evaluate(), temperature held, in two parts. A reaction whose collider is the
    // whole mixture depends on every concentration alike: that part is one
    // column of ones times a coefficient per species (mixture, K values).
    // The rest touches only the reaction's own species and colliders: the
    // (species k, species j) pairs of derivativeEntries(), in the order in
    // which sparseDerivatives() adds the value of the e-th pair to
    // values[positions[e]]. A pair may come more than once.
    std::vector<std::pair<int, int>> derivativeEntries() const;
    void sparseDerivatives(const std::vector<size_t>& positions, double* values, double* mixture) const;

private:
    struct Term
    {
        int species = 0;
        double coefficient = 1.0;
        int power = 0; // the coefficient when it is a small whole number, else 0
    };
    struct Compiled
    {
        std::vector<Term> reactants;
        std::vector<Term> products;
        std::vector<std::pair<int, double>> net; // species, products minus reactants
        double orderChange = 0.0;
        bool reversible = true;
        bool explicitReverse = false;
        Reaction::Kind kind = Reaction::Kind::Elementary;
        int collider = -1;
        std::vector<std::pair<int, double>> extraEfficiency; // species, efficiency - 1
        Arrhenius forward;
        Arrhenius low;
        Arrhenius reverse;
        Reaction::FalloffForm form = Reaction::FalloffForm::Lindemann;
        double parameters[5] = {0, 0, 0, 0, 0};
        size_t parameterCount = 0;
    };

    void updateTemperature(double temperature);
    static double product(const std::vector<Term> &terms, const double *concentrations);
    static double power(const Term &term, double concentration);
    // Falloff factor F and d ln F / d ln Pr at reduced pressure pr.
    void falloff(size_t reaction, double pr, double &f, double &dlnFdlnPr) const;
    // Calls entry(k, j, value) for every pair of the sparse part and
    // mixture(k, value) for the coefficients of the column of ones, always in
    // the same order whatever the values, so that a pattern built once fits
    // every later evaluation.
    template<typename Entry, typename MixtureColumn>
    void visitDerivatives(Entry entry, MixtureColumn mixture) const;

    size_t m_speciesCount = 0;
    std::vector<Compiled> m_reactions;
    std::vector<NasaPolynomial> m_thermo;

    // Temperature-dependent parts, recomputed when the temperature changes.
    double m_temperature = -1.0;
    std::vector<double> m_gibbs;       // g/(R T) per species
    std::vector<double> m_kForward;    // k (high-pressure limit for falloff)
    std::vector<double> m_kLow;        // k0 for falloff
    std::vector<double> m_kReverse;    // k_r without the collider factor
    std::vector<double> m_kc;          // Kc, or 0
    std::vector<double> m_troeCentre;  // log10 Fcent (Troe) / ln(SRI base) (SRI)

    // Concentration-dependent parts of the last evaluation.
    std::vector<double> m_concentrations;
    std::vector<double> m_colliders;     // M of each reaction
    std::vector<double> m_factor;        // M, Pr/(1+Pr) F, or 1
    std::vector<double> m_factorSlope;   // d factor / d M
    std::vector<double> m_forward;
    std::vector<double> m_reverse;
    std::vector<double> m_production;
};

} // namespace tarvelsim
