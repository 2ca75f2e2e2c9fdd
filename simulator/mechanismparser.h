#pragma once

#include "diagnostic.h"
#include "mechanism.h"
#include "thermoparser.h"

#include <string>
#include <vector>

namespace tarvelsim {

// Reads a mechanism in CHEMKIN-II format: ELEMENTS (symbols, optionally with
// "/weight/"), SPECIES, an optional THERMO section, and REACTIONS with its
// unit words. Keywords may be cut to their first four letters, as the classic
// preprocessor allows. Species take their thermo data from the mechanism's
// own THERMO section first, then from the database (fort.9) unless the
// section says "THERMO ALL".
class MechanismParser
{
public:
    [[nodiscard]] bool parse(const std::vector<std::string> &lines, const std::string &file,
                             const std::vector<ThermoRecord> &database, const std::string &databaseFile,
                             bool checkDuplicates, Mechanism &mechanism, Diagnostic &error);

    // Problems that do not stop the preparation (a species named twice).
    const std::vector<std::string> &warnings() const { return m_warnings; }
    bool hasThermoSection() const { return m_thermoSection; }

private:
    struct ReactionChunk
    {
        std::vector<std::string> units;
        int unitsLine = 0;
        std::vector<std::pair<std::string, int>> lines; // text without comment, line number
    };

    bool readElements(const std::string &text, int line, bool &ended, Diagnostic &error);
    bool readSpecies(const std::vector<std::string> &words, int line, bool &ended, Diagnostic &error);
    bool resolveElements(Diagnostic &error);
    bool resolveSpecies(const std::vector<ThermoRecord> &database, const std::string &databaseFile,
                        Diagnostic &error);
    bool readReactions(const ReactionChunk &chunk, Diagnostic &error);

    std::string m_file;
    Mechanism m_mechanism;
    std::vector<int> m_elementLines;
    std::vector<double> m_givenWeights;
    std::vector<ThermoRecord> m_ownThermo;
    std::vector<ReactionChunk> m_chunks;
    std::vector<std::string> m_warnings;
    bool m_thermoSection = false;
    bool m_thermoAll = false;
};

} // namespace tarvelsim
