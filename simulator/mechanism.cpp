#include "mechanism.h"

#include "strings.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace tarvelsim {

namespace {

using Side = std::vector<std::pair<int, double>>;

Side sorted(const std::vector<ReactionTerm> &terms)
{
    Side result;
    for (const ReactionTerm &term : terms)
        result.emplace_back(term.species, term.coefficient);
    std::sort(result.begin(), result.end());
    return result;
}

// Two reactions are the same reaction when they have the same sides (in either
// direction if one of them is reversible) and the same kind of collider.
using Key = std::tuple<Side, Side, int, int>;

Key keyOf(const Reaction &reaction, bool reversed)
{
    Side left = sorted(reaction.reactants);
    Side right = sorted(reaction.products);
    if (reversed)
        std::swap(left, right);
    return Key(left, right, static_cast<int>(reaction.kind), reaction.collider);
}

} // namespace

int Mechanism::elementIndex(const std::string &symbol) const
{
    for (size_t i = 0; i < elements.size(); ++i) {
        if (Strings::equalNoCase(elements[i].symbol, symbol))
            return static_cast<int>(i);
    }
    return -1;
}

int Mechanism::speciesIndex(const std::string &name) const
{
    for (size_t i = 0; i < species.size(); ++i) {
        if (Strings::equalNoCase(species[i].name, name))
            return static_cast<int>(i);
    }
    return -1;
}

int Mechanism::unbalancedElement(const Reaction &reaction) const
{
    for (size_t e = 0; e < elements.size(); ++e) {
        double change = 0.0;
        double scale = 0.0;
        for (const ReactionTerm &term : reaction.products) {
            const double atoms = term.coefficient * species[static_cast<size_t>(term.species)].atoms(static_cast<int>(e));
            change += atoms;
            scale += std::fabs(atoms);
        }
        for (const ReactionTerm &term : reaction.reactants) {
            const double atoms = term.coefficient * species[static_cast<size_t>(term.species)].atoms(static_cast<int>(e));
            change -= atoms;
            scale += std::fabs(atoms);
        }
        // Real stoichiometric coefficients are written with a few digits.
        if (std::fabs(change) > 1e-6 * std::max(1.0, scale))
            return static_cast<int>(e);
    }
    return -1;
}

void Mechanism::checkDuplicates(const std::string& file, std::vector<Diagnostic>& errors) const
{
    std::map<Key, std::vector<size_t>> seen;
    for (size_t i = 0; i < reactions.size(); ++i)
        seen[keyOf(reactions[i], false)].push_back(i);
    std::vector<bool> partnered(reactions.size(), false);
    for (size_t i = 0; i < reactions.size(); ++i) {
        const Reaction &reaction = reactions[i];
        std::vector<size_t> same;
        for (size_t j : seen[keyOf(reaction, false)]) {
            if (j != i)
                same.push_back(j);
        }
        for (size_t j : seen[keyOf(reaction, true)]) {
            if (j != i && (reaction.reversible || reactions[j].reversible))
                same.push_back(j);
        }
        // A reaction that has its twin is not reported as a lone DUPLICATE
        // as well: the message about the pair says what to do.
        partnered[i] = !same.empty();
        for (size_t j : same) {
            // Each pair once, at its later reaction.
            if (j < i && (!reaction.duplicate || !reactions[j].duplicate))
                errors.emplace_back(
                    file, reaction.line,
                    Strings::format("reaction %zu (%s) repeats reaction %zu of line %d; mark both DUPLICATE", i + 1,
                                    reaction.equation(species).c_str(), j + 1, reactions[j].line));
        }
    }
    for (size_t i = 0; i < reactions.size(); ++i) {
        if (reactions[i].duplicate && !partnered[i])
            errors.emplace_back(file, reactions[i].line,
                                Strings::format("reaction %zu (%s) is marked DUPLICATE but has no duplicate", i + 1,
                                                reactions[i].equation(species).c_str()));
    }
}

int Mechanism::duplicateCount() const
{
    return static_cast<int>(std::count_if(reactions.begin(), reactions.end(),
                                          [](const Reaction &reaction) { return reaction.duplicate; }));
}

bool Mechanism::operator==(const Mechanism &other) const
{
    if (elements.size() != other.elements.size() || species.size() != other.species.size()
        || reactions != other.reactions)
        return false;
    for (size_t i = 0; i < elements.size(); ++i) {
        if (elements[i].symbol != other.elements[i].symbol || elements[i].weight != other.elements[i].weight)
            return false;
    }
    for (size_t i = 0; i < species.size(); ++i) {
        const Species &a = species[i];
        const Species &b = other.species[i];
        if (a.name != b.name || a.composition != b.composition || a.weight != b.weight || !(a.thermo == b.thermo)
            || a.phase != b.phase)
            return false;
    }
    return true;
}

} // namespace tarvelsim
