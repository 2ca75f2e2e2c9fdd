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
//
// A file is read to its end whatever it holds, so that one pass reports
// every error, each at its line: a line, a reaction or a species in error is
// left out and the reading goes on. Errors that follow from an earlier one
// (the element balance of a reaction whose species has no thermo data) are
// not reported.
class MechanismParser
{
public:
    // More errors than this in one file are counted, not listed.
    static constexpr size_t maxErrors = 50;

    // False when the file has errors; error is the first of them.
    [[nodiscard]] bool parse(const std::vector<std::string> &lines, const std::string &file,
                             const std::vector<ThermoRecord> &database, const std::string &databaseFile,
                             bool checkDuplicates, Mechanism &mechanism, Diagnostic &error);

    // Every error of the last parse in the order found, up to maxErrors.
    const std::vector<Diagnostic>& errors() const { return m_errors; }
    // How many errors there were in all.
    size_t errorCount() const { return m_errorCount; }

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

    void report(const Diagnostic& error);
    void report(int line, const std::string& reason) { report(Diagnostic(m_file, line, reason)); }
    void readElements(const std::string& text, int line, bool& ended);
    void readSpecies(const std::vector<std::string>& words, int line, bool& ended);
    void readThermo(const std::vector<std::string>& lines, size_t& index);
    void resolveElements();
    void resolveSpecies(const std::vector<ThermoRecord>& database, const std::string& databaseFile);
    void readReactions(const ReactionChunk& chunk);

    std::string m_file;
    Mechanism m_mechanism;
    std::vector<int> m_elementLines;
    std::vector<double> m_givenWeights;
    std::vector<ThermoRecord> m_ownThermo;
    std::vector<ReactionChunk> m_chunks;
    std::vector<std::string> m_warnings;
    bool m_thermoSection = false;
    bool m_thermoAll = false;
    bool m_speciesIncomplete = false;
    std::vector<Diagnostic> m_errors;
    size_t m_errorCount = 0;
};

} // namespace tarvelsim
