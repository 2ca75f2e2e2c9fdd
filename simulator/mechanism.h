#pragma once

#include "diagnostic.h"
#include "element.h"
#include "reaction.h"
#include "species.h"

#include <string>
#include <vector>

namespace tarvelsim {

// A reaction mechanism: elements, species with their thermo data and
// reactions, everything in cgs-mole units with activation energies in kelvins.
class Mechanism
{
public:
    std::vector<Element> elements;
    std::vector<Species> species;
    std::vector<Reaction> reactions;

    // Indices by name, compared without regard to case; -1 when absent.
    int elementIndex(const std::string &symbol) const;
    int speciesIndex(const std::string &name) const;

    // The element that reaction does not conserve, or -1.
    int unbalancedElement(const Reaction &reaction) const;
    // Reactions that are the same reaction twice without both being declared
    // DUPLICATE, and DUPLICATE reactions without a partner: each such
    // reaction described in errors, added in the order of the reactions.
    void checkDuplicates(const std::string& file, std::vector<Diagnostic>& errors) const;
    // How many reactions carry the DUPLICATE mark.
    int duplicateCount() const;

    bool operator==(const Mechanism &other) const;
};

} // namespace tarvelsim
