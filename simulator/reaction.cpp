#include "reaction.h"

#include "species.h"
#include "strings.h"

namespace tarvelsim {

namespace {

double order(const std::vector<ReactionTerm> &terms)
{
    double sum = 0.0;
    for (const ReactionTerm &term : terms)
        sum += term.coefficient;
    return sum;
}

std::string side(const std::vector<ReactionTerm> &terms, const std::vector<Species> &species,
                 const Reaction &reaction)
{
    std::string text;
    for (const ReactionTerm &term : terms) {
        if (!text.empty())
            text += '+';
        if (term.coefficient != 1.0)
            text += Strings::format("%.17g", term.coefficient);
        text += species[static_cast<size_t>(term.species)].name;
    }
    if (reaction.kind == Reaction::Kind::ThirdBody)
        text += "+M";
    else if (reaction.kind == Reaction::Kind::Falloff)
        text += "(+" + (reaction.collider < 0 ? std::string("M") : species[static_cast<size_t>(reaction.collider)].name) + ")";
    return text;
}

} // namespace

double Reaction::reactantOrder() const
{
    return order(reactants);
}

double Reaction::productOrder() const
{
    return order(products);
}

double Reaction::efficiency(int species) const
{
    for (const auto &entry : efficiencies) {
        if (entry.first == species)
            return entry.second;
    }
    return 1.0;
}

std::string Reaction::equation(const std::vector<Species> &species) const
{
    return side(reactants, species, *this) + (reversible ? "<=>" : "=>") + side(products, species, *this);
}

bool Reaction::operator==(const Reaction &other) const
{
    return reactants == other.reactants && products == other.products && reversible == other.reversible
        && kind == other.kind && collider == other.collider && efficiencies == other.efficiencies
        && rate == other.rate && lowPressure == other.lowPressure && hasLowPressure == other.hasLowPressure
        && form == other.form && falloffParameters == other.falloffParameters
        && reverseRate == other.reverseRate && hasReverseRate == other.hasReverseRate
        && duplicate == other.duplicate;
}

} // namespace tarvelsim
