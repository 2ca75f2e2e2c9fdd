#pragma once

#include "diagnostic.h"
#include "reaction.h"
#include "species.h"

#include <map>
#include <string>
#include <vector>

namespace tarvelsim {

// Reads the lines of a REACTIONS section: a reaction line (the equation and
// A, b, E) followed by its auxiliary lines (third-body efficiencies, LOW, TROE,
// SRI, REV, DUPLICATE). Parameters are kept in the section's units until
// finish(), which converts them: the MOLECULES conversion depends on the
// reaction order, known only once the whole reaction has been read.
class ReactionParser
{
public:
    ReactionParser(const std::vector<Species> &species, std::string file);

    // The unit words after the REACTIONS keyword (any of CAL/MOLE, KCAL/MOLE,
    // JOULES/MOLE, KJOULES/MOLE, KELVINS, EVOLTS, MOLES, MOLECULES).
    [[nodiscard]] bool setUnits(const std::vector<std::string> &words, int line, Diagnostic &error);

    // A line that holds "=" starts a reaction; any other line of the section
    // is an auxiliary line of the reaction before it.
    static bool isReactionLine(const std::string &text);

    [[nodiscard]] bool begin(const std::string &text, int line, Reaction &reaction, Diagnostic &error) const;
    [[nodiscard]] bool addAuxiliary(const std::string &text, int line, Reaction &reaction, Diagnostic &error) const;
    [[nodiscard]] bool finish(Reaction &reaction, Diagnostic &error) const;

private:
    enum class Energy { CaloriesPerMole, KilocaloriesPerMole, JoulesPerMole, KilojoulesPerMole, Kelvins, ElectronVolts };

    bool parseSide(const std::string &text, int line, std::vector<ReactionTerm> &terms, int &thirdBodies,
                   std::string &falloff, Diagnostic &error) const;
    bool parseTerm(const std::string &token, int line, ReactionTerm &term, Diagnostic &error) const;
    int findSpecies(const std::string &name) const;
    double energyFactor() const;

    const std::vector<Species> &m_species;
    std::map<std::string, int> m_index; // upper-case name -> species
    std::string m_file;
    Energy m_energy = Energy::CaloriesPerMole;
    bool m_molecules = false;
};

} // namespace tarvelsim
