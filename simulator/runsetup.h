#pragma once

#include "diagnostic.h"
#include "mechanism.h"
#include "outputtable.h"
#include "runinput.h"
#include "simulation.h"

#include <string>
#include <vector>

namespace tarvelsim {

// What a run description means for a mechanism: the integration settings,
// the initial state from CONDITIONS, the output unit, and one note for every
// option this code does not model. Both programs build it, so the
// preprocessor rejects exactly what the integrator could not run.
class RunSetup
{
public:
    // needInitialState: whether T, P and the amounts must be usable (a run
    // restarting from a profile takes its state from the profile instead).
    [[nodiscard]] bool build(const RunInput &input, const Mechanism &mechanism, bool needInitialState,
                             Diagnostic &error);

    const SimulationSettings &settings() const { return m_settings; }
    const ReactorState &initialState() const { return m_initial; }
    bool hasInitialState() const { return m_hasInitialState; }
    OutputTable::Unit unit() const { return m_unit; }
    bool checkDuplicates() const { return m_checkDuplicates; }
    bool listMechanism() const { return m_listMechanism; }
    // A LIST MECHANISM line: the listing of a large mechanism is wanted.
    bool listingRequested() const { return m_listingRequested; }
    const std::vector<std::string> &notes() const { return m_notes; }

    // A species of the run description in the mechanism: by its name, or, as
    // the front end cuts names to 8 characters, by a unique 8-character
    // prefix. -1 when there is none, -2 when the prefix is ambiguous.
    static int findSpecies(const Mechanism &mechanism, const std::string &name);
    // The options that decide how the mechanism is prepared, known before the
    // mechanism is read.
    static bool duplicateCheckWanted(const RunInput &input);

private:
    bool readNumber(const RunInput &input, const std::string &name, double fallback, double &value,
                    Diagnostic &error) const;
    bool readOptions(const RunInput &input, const Mechanism &mechanism, Diagnostic &error);
    bool readAmounts(const RunInput &input, const Mechanism &mechanism, bool needInitialState, Diagnostic &error);
    bool readProfiles(const RunInput& input, Diagnostic& error);
    bool readWall(const RunInput& input, Diagnostic& error);

    SimulationSettings m_settings;
    ReactorState m_initial;
    bool m_hasInitialState = false;
    OutputTable::Unit m_unit = OutputTable::Unit::Concentrations;
    bool m_checkDuplicates = true;
    bool m_listMechanism = true;
    bool m_listingRequested = false;
    std::vector<std::string> m_notes;
};

} // namespace tarvelsim
