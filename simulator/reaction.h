#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tarvelsim {

struct Species;

// k = a T^b exp(-e / T); a in mol-cm-s units, e in kelvins.
struct Arrhenius
{
    double a = 0.0;
    double b = 0.0;
    double e = 0.0;

    bool operator==(const Arrhenius &other) const { return a == other.a && b == other.b && e == other.e; }
};

struct ReactionTerm
{
    int species = -1;
    double coefficient = 1.0;

    bool operator==(const ReactionTerm &other) const
    {
        return species == other.species && coefficient == other.coefficient;
    }
};

// One reaction of the REACTIONS section with its auxiliary lines, in the
// units the rest of the code works in whatever the section declared.
class Reaction
{
public:
    enum class Kind { Elementary, ThirdBody, Falloff };
    enum class FalloffForm { Lindemann, Troe, Sri };

    std::vector<ReactionTerm> reactants;
    std::vector<ReactionTerm> products;
    bool reversible = true;
    Kind kind = Kind::Elementary;
    // Falloff with "(+species)": that species alone is the collider; -1 for
    // "(+M)" and for third-body reactions, whose collider is the mixture.
    int collider = -1;
    std::vector<std::pair<int, double>> efficiencies; // species, efficiency (default 1)
    Arrhenius rate;                // high-pressure limit of a falloff reaction
    Arrhenius lowPressure;         // LOW
    bool hasLowPressure = false;
    FalloffForm form = FalloffForm::Lindemann;
    std::vector<double> falloffParameters; // TROE: 3 or 4; SRI: 3 or 5
    Arrhenius reverseRate;         // REV
    bool hasReverseRate = false;
    bool duplicate = false;
    int line = 0;

    double reactantOrder() const;
    double productOrder() const;
    bool usesMixture() const { return kind == Kind::ThirdBody || (kind == Kind::Falloff && collider < 0); }
    double efficiency(int species) const;
    // The equation as CHEMKIN writes it, e.g. "H+O2(+M)<=>HO2(+M)".
    std::string equation(const std::vector<Species> &species) const;

    bool operator==(const Reaction &other) const;
};

} // namespace tarvelsim
