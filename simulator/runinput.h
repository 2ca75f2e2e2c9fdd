#pragma once

#include "diagnostic.h"

#include <string>
#include <vector>

namespace tarvelsim {

// The run description fort.2 as the front end generates it: a banner, then
// the blocks OPTIONS (entries "NAME  V/"), SPECIES (entries "NAME,") and
// CONDITIONS (one "NAME = VALUE" per line: the catalogue conditions first,
// then the boundary conditions T, P, V and one relative amount per species).
// A block ends with END, or at the next block's keyword when it is empty.
// Lines outside the blocks, and lines inside them that are no entries, are
// someone's notes and are ignored.
//
// Besides, lines the user types: the blocks VPROFILE and TPROFILE, each of
// lines "time value" closed by END (an imposed volume or temperature), and a
// line LIST MECHANISM, which asks for the listing of a large mechanism.
class RunInput
{
public:
    struct Option
    {
        std::string name;  // upper case
        std::string value; // empty for a plain switch
        int line = 0;
    };
    struct Condition
    {
        std::string name;  // upper case
        std::string value; // as written, trimmed; may be empty
        int line = 0;
    };
    struct Amount
    {
        std::string species; // as written, without a sensitivity mark
        std::string value;
        int line = 0;
        // Before the boundary conditions: a name that is no species there may
        // be a condition this code does not know.
        bool beforeBoundary = false;
    };
    struct SpeciesEntry
    {
        std::string name;
        bool marked = false; // "*" after the name
        int line = 0;
    };

    struct ProfileLines
    {
        int line = 0; // of the keyword; 0 when there is no block
        std::vector<std::pair<std::string, int>> lines; // text, line number
    };

    [[nodiscard]] bool read(const std::vector<std::string> &lines, const std::string &file, Diagnostic &error);

    const std::string &file() const { return m_file; }
    const std::vector<Option> &options() const { return m_options; }
    const std::vector<SpeciesEntry> &species() const { return m_species; }
    const std::vector<Condition> &conditions() const { return m_conditions; }
    const std::vector<Amount> &amounts() const { return m_amounts; }
    const ProfileLines& volumeProfile() const { return m_volumeProfile; }
    const ProfileLines& temperatureProfile() const { return m_temperatureProfile; }
    bool listingRequested() const { return m_listing; }

    const Option *option(const std::string &name) const;
    const Condition *condition(const std::string &name) const;

    // Whether a CONDITIONS name belongs to the catalogue (TSTA ... ATOS) or
    // is one of the boundary conditions T, P, V.
    static bool isCatalogueCondition(const std::string &name);
    static bool isBoundaryCondition(const std::string &name);

private:
    void readOptionLine(const std::string &line, int number);
    void readSpeciesLine(const std::string &line, int number);
    void readConditionLine(const std::string &line, int number);

    std::string m_file;
    std::vector<Option> m_options;
    std::vector<SpeciesEntry> m_species;
    std::vector<Condition> m_conditions;
    std::vector<Amount> m_amounts;
    ProfileLines m_volumeProfile;
    ProfileLines m_temperatureProfile;
    bool m_listing = false;
    bool m_inBoundary = false;
};

} // namespace tarvelsim
