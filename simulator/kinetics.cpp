#include "kinetics.h"

#include "constants.h"

#include <algorithm>
#include <cmath>

namespace tarvelsim {

namespace {

constexpr double ln10 = 2.302585092994046;
constexpr double smallestReducedPressure = 1e-300;

std::vector<std::pair<int, double>> netChange(const Reaction &reaction)
{
    std::vector<std::pair<int, double>> net;
    auto add = [&](int species, double change) {
        for (auto &entry : net) {
            if (entry.first == species) {
                entry.second += change;
                return;
            }
        }
        net.emplace_back(species, change);
    };
    for (const ReactionTerm &term : reaction.reactants)
        add(term.species, -term.coefficient);
    for (const ReactionTerm &term : reaction.products)
        add(term.species, term.coefficient);
    net.erase(std::remove_if(net.begin(), net.end(), [](const auto &entry) { return entry.second == 0.0; }),
              net.end());
    return net;
}

double arrhenius(const Arrhenius &rate, double logT, double inverseT)
{
    if (rate.b == 0.0 && rate.e == 0.0)
        return rate.a;
    return rate.a * std::exp(rate.b * logT - rate.e * inverseT);
}

} // namespace

Kinetics::Kinetics(const Mechanism &mechanism) : m_speciesCount(mechanism.species.size())
{
    for (const Species &species : mechanism.species)
        m_thermo.push_back(species.thermo);
    auto compileTerms = [](const std::vector<ReactionTerm> &terms) {
        std::vector<Term> result;
        for (const ReactionTerm &term : terms) {
            Term compiled;
            compiled.species = term.species;
            compiled.coefficient = term.coefficient;
            const double whole = std::round(term.coefficient);
            compiled.power = whole == term.coefficient && whole >= 1 && whole <= 4 ? static_cast<int>(whole) : 0;
            result.push_back(compiled);
        }
        return result;
    };
    for (const Reaction &reaction : mechanism.reactions) {
        Compiled compiled;
        compiled.reactants = compileTerms(reaction.reactants);
        compiled.products = compileTerms(reaction.products);
        compiled.net = netChange(reaction);
        compiled.orderChange = reaction.productOrder() - reaction.reactantOrder();
        compiled.reversible = reaction.reversible;
        compiled.explicitReverse = reaction.hasReverseRate;
        compiled.kind = reaction.kind;
        compiled.collider = reaction.collider;
        for (const auto &entry : reaction.efficiencies) {
            if (entry.second != 1.0)
                compiled.extraEfficiency.emplace_back(entry.first, entry.second - 1.0);
        }
        compiled.forward = reaction.rate;
        compiled.low = reaction.lowPressure;
        compiled.reverse = reaction.reverseRate;
        compiled.form = reaction.form;
        compiled.parameterCount = std::min<size_t>(5, reaction.falloffParameters.size());
        for (size_t i = 0; i < compiled.parameterCount; ++i)
            compiled.parameters[i] = reaction.falloffParameters[i];
        if (compiled.form == Reaction::FalloffForm::Sri && compiled.parameterCount == 3) {
            compiled.parameters[3] = 1.0;
            compiled.parameters[4] = 0.0;
        }
        m_reactions.push_back(compiled);
    }
    const size_t n = m_reactions.size();
    m_gibbs.resize(m_speciesCount);
    m_kForward.resize(n);
    m_kLow.resize(n);
    m_kReverse.resize(n);
    m_kc.resize(n);
    m_troeCentre.resize(n);
    m_concentrations.resize(m_speciesCount);
    m_colliders.resize(n);
    m_factor.resize(n);
    m_factorSlope.resize(n);
    m_forward.resize(n);
    m_reverse.resize(n);
    m_production.resize(m_speciesCount);
}

void Kinetics::updateTemperature(double t)
{
    if (t == m_temperature)
        return;
    m_temperature = t;
    const double logT = std::log(t);
    const double inverseT = 1.0 / t;
    for (size_t k = 0; k < m_speciesCount; ++k) {
        double cp = 0, h = 0, s = 0;
        m_thermo[k].evaluate(t, cp, h, s);
        m_gibbs[k] = h - s;
    }
    // Concentration of an ideal gas at the standard pressure, for Kc.
    const double logStandardConcentration = std::log(constants::oneAtmosphere / (constants::gasConstant * t));
    for (size_t r = 0; r < m_reactions.size(); ++r) {
        const Compiled &reaction = m_reactions[r];
        m_kForward[r] = arrhenius(reaction.forward, logT, inverseT);
        if (reaction.kind == Reaction::Kind::Falloff) {
            m_kLow[r] = arrhenius(reaction.low, logT, inverseT);
            const double *p = reaction.parameters;
            if (reaction.form == Reaction::FalloffForm::Troe) {
                double centre = (p[1] != 0 ? (1.0 - p[0]) * std::exp(-t / p[1]) : 0.0)
                    + (p[2] != 0 ? p[0] * std::exp(-t / p[2]) : 0.0);
                if (reaction.parameterCount > 3)
                    centre += std::exp(-p[3] * inverseT);
                m_troeCentre[r] = std::log10(std::max(centre, 1e-300));
            } else if (reaction.form == Reaction::FalloffForm::Sri) {
                const double base = p[0] * std::exp(-p[1] * inverseT) + (p[2] != 0 ? std::exp(-t / p[2]) : 0.0);
                m_troeCentre[r] = std::log(std::max(base, 1e-300));
            }
        }
        m_kc[r] = 0.0;
        m_kReverse[r] = 0.0;
        if (!reaction.reversible)
            continue;
        if (reaction.explicitReverse) {
            m_kReverse[r] = arrhenius(reaction.reverse, logT, inverseT);
            continue;
        }
        double deltaGibbs = 0.0;
        for (const Term &term : reaction.products)
            deltaGibbs += term.coefficient * m_gibbs[static_cast<size_t>(term.species)];
        for (const Term &term : reaction.reactants)
            deltaGibbs -= term.coefficient * m_gibbs[static_cast<size_t>(term.species)];
        const double logKc = -deltaGibbs + reaction.orderChange * logStandardConcentration;
        m_kc[r] = std::exp(logKc);
        m_kReverse[r] = m_kForward[r] * std::exp(-logKc);
    }
}

double Kinetics::power(const Term &term, double c)
{
    switch (term.power) {
    case 1:
        return c;
    case 2:
        return c * c;
    case 3:
        return c * c * c;
    case 4:
        return (c * c) * (c * c);
    default:
        return c > 0 ? std::pow(c, term.coefficient) : 0.0;
    }
}

double Kinetics::product(const std::vector<Term> &terms, const double *c)
{
    double result = 1.0;
    for (const Term &term : terms)
        result *= power(term, c[term.species]);
    return result;
}

void Kinetics::falloff(size_t r, double pr, double &f, double &dlnFdlnPr) const
{
    const Compiled &reaction = m_reactions[r];
    f = 1.0;
    dlnFdlnPr = 0.0;
    if (reaction.form == Reaction::FalloffForm::Lindemann)
        return;
    const double logPr = std::log10(std::max(pr, smallestReducedPressure));
    if (reaction.form == Reaction::FalloffForm::Troe) {
        const double logCentre = m_troeCentre[r];
        const double c = -0.4 - 0.67 * logCentre;
        const double n = 0.75 - 1.27 * logCentre;
        const double shifted = logPr + c;
        const double denominator = n - 0.14 * shifted;
        const double f1 = shifted / denominator;
        const double g = 1.0 + f1 * f1;
        const double logF = logCentre / g; // log10 F
        f = std::pow(10.0, logF);
        const double df1 = n / (denominator * denominator);
        // d log10 F / d log10 Pr equals d ln F / d ln Pr.
        dlnFdlnPr = -logCentre * 2.0 * f1 * df1 / (g * g);
        return;
    }
    const double *p = reaction.parameters;
    const double x = 1.0 / (1.0 + logPr * logPr);
    const double logBase = m_troeCentre[r];
    f = p[3] * std::exp(x * logBase) * std::pow(m_temperature, p[4]);
    const double dx = -2.0 * logPr * x * x;
    dlnFdlnPr = logBase * dx / ln10;
}

void Kinetics::evaluate(double temperature, const double *c)
{
    updateTemperature(temperature);
    std::copy(c, c + m_speciesCount, m_concentrations.begin());
    double total = 0.0;
    for (size_t k = 0; k < m_speciesCount; ++k)
        total += c[k];
    std::fill(m_production.begin(), m_production.end(), 0.0);
    for (size_t r = 0; r < m_reactions.size(); ++r) {
        const Compiled &reaction = m_reactions[r];
        double factor = 1.0;
        double slope = 0.0;
        if (reaction.kind != Reaction::Kind::Elementary) {
            double m = 0.0;
            if (reaction.collider >= 0) {
                m = c[reaction.collider];
            } else {
                m = total;
                for (const auto &entry : reaction.extraEfficiency)
                    m += entry.second * c[entry.first];
            }
            m_colliders[r] = m;
            if (reaction.kind == Reaction::Kind::ThirdBody) {
                factor = m;
                slope = 1.0;
            } else {
                const double ratio = m_kLow[r] / m_kForward[r];
                const double pr = ratio * m;
                double f = 1.0, dlnF = 0.0;
                falloff(r, pr, f, dlnF);
                factor = pr / (1.0 + pr) * f;
                slope = ratio * f / (1.0 + pr) * (1.0 / (1.0 + pr) + dlnF);
            }
        }
        m_factor[r] = factor;
        m_factorSlope[r] = slope;
        const double forward = m_kForward[r] * factor * product(reaction.reactants, c);
        const double reverse = reaction.reversible ? m_kReverse[r] * factor * product(reaction.products, c) : 0.0;
        m_forward[r] = forward;
        m_reverse[r] = reverse;
        const double net = forward - reverse;
        for (const auto &entry : reaction.net)
            m_production[static_cast<size_t>(entry.first)] += entry.second * net;
    }
}

double Kinetics::equilibriumConstant(size_t reaction) const
{
    return m_kc[reaction];
}

template<typename Entry, typename MixtureColumn>
void Kinetics::visitDerivatives(Entry entry, MixtureColumn mixture) const
{
    const double *c = m_concentrations.data();
    std::vector<std::pair<int, double>> row; // species j, d(rate of progress)/dC_j
    for (size_t r = 0; r < m_reactions.size(); ++r) {
        const Compiled &reaction = m_reactions[r];
        row.clear();
        auto differentiate = [&](const std::vector<Term> &terms, double scale) {
            for (size_t i = 0; i < terms.size(); ++i) {
                const Term &term = terms[i];
                const double ci = c[term.species];
                double derivative = 0.0;
                switch (term.power) {
                case 1:
                    derivative = 1.0;
                    break;
                case 2:
                    derivative = 2.0 * ci;
                    break;
                case 3:
                    derivative = 3.0 * ci * ci;
                    break;
                case 4:
                    derivative = 4.0 * ci * ci * ci;
                    break;
                default:
                    derivative = ci > 0 ? term.coefficient * std::pow(ci, term.coefficient - 1.0) : 0.0;
                }
                for (size_t other = 0; other < terms.size(); ++other) {
                    if (other != i)
                        derivative *= power(terms[other], c[terms[other].species]);
                }
                row.emplace_back(term.species, scale * derivative);
            }
        };
        differentiate(reaction.reactants, m_kForward[r] * m_factor[r]);
        if (reaction.reversible)
            differentiate(reaction.products, -m_kReverse[r] * m_factor[r]);
        for (const auto& net : reaction.net) {
            for (const auto &partial : row)
                entry(net.first, partial.first, net.second * partial.second);
        }
        if (reaction.kind == Reaction::Kind::Elementary)
            continue;
        // The collider concentration M: one species, or the whole mixture
        // with a few species weighted otherwise.
        const double withoutFactor = m_kForward[r] * product(reaction.reactants, c)
            - (reaction.reversible ? m_kReverse[r] * product(reaction.products, c) : 0.0);
        const double g = withoutFactor * m_factorSlope[r];
        for (const auto& net : reaction.net) {
            const double scale = net.second * g;
            if (reaction.collider >= 0) {
                entry(net.first, reaction.collider, scale);
                continue;
            }
            mixture(net.first, scale);
            for (const auto &extra : reaction.extraEfficiency)
                entry(net.first, extra.first, scale * extra.second);
        }
    }
}

std::vector<std::pair<int, int>> Kinetics::derivativeEntries() const
{
    std::vector<std::pair<int, int>> entries;
    visitDerivatives([&](int k, int j, double) { entries.emplace_back(k, j); }, [](int, double) {});
    return entries;
}

void Kinetics::sparseDerivatives(const std::vector<size_t>& positions, double* values, double* mixture) const
{
    size_t next = 0;
    visitDerivatives([&](int, int, double value) { values[positions[next++]] += value; },
                     [&](int k, double value) { mixture[k] += value; });
}

} // namespace tarvelsim
