#include "runsetup.h"

#include "mixture.h"
#include "strings.h"

#include <cmath>

namespace tarvelsim {

namespace {

struct IgnoredOption
{
    const char *name;
    const char *what;
};

const IgnoredOption ignoredOptions[] = {
    {"GSENS", "global sensitivities"},
    {"LSENS", "local sensitivities"},
    {"ISENS", "sensitivities with respect to initial values"},
    {"STOM", "mechanism analysis by integrated rates"},
    {"EXTRA", "the LIMEX integrator; CVODE BDF is used"},
    {"WALL", "wall heat transfer"},
    {"BLOWBY", "mass loss by blow-by"},
    {"CENTER", "autoignition centres"},
    {"TRANSP", "transport properties"},
    {"COMPLX", "surface reactions"},
};

constexpr int defaultInductionSpecies = 8; // the catalogue's default for TIGN

} // namespace

int RunSetup::findSpecies(const Mechanism &mechanism, const std::string &name)
{
    const int exact = mechanism.speciesIndex(name);
    if (exact >= 0 || name.size() != 8)
        return exact;
    int found = -1;
    for (size_t k = 0; k < mechanism.species.size(); ++k) {
        if (Strings::startsWithNoCase(mechanism.species[k].name, name)) {
            if (found >= 0)
                return -2;
            found = static_cast<int>(k);
        }
    }
    return found;
}

bool RunSetup::duplicateCheckWanted(const RunInput &input)
{
    return input.option("NOCH") == nullptr;
}

bool RunSetup::readNumber(const RunInput &input, const std::string &name, double fallback, double &value,
                          Diagnostic &error) const
{
    value = fallback;
    const RunInput::Condition *condition = input.condition(name);
    if (!condition || condition->value.empty())
        return true;
    if (!Strings::toNumber(condition->value, value)) {
        error = Diagnostic(input.file(), condition->line,
                           "the value \"" + condition->value + "\" of " + name + " is not a number");
        return false;
    }
    return true;
}

bool RunSetup::readOptions(const RunInput &input, const Mechanism &mechanism, Diagnostic &error)
{
    for (const RunInput::Option &option : input.options()) {
        const std::string &name = option.name;
        if (name == "VPRO") {
            m_settings.model.constantVolume = true;
        } else if (name == "TPRO") {
            m_settings.model.isothermal = true;
        } else if (name == "MOLE") {
            if (option.value.empty() || option.value == "1") {
                m_unit = OutputTable::Unit::MoleFractions;
            } else if (option.value == "2") {
                m_unit = OutputTable::Unit::MassFractions;
            } else {
                error = Diagnostic(input.file(), option.line,
                                   "MOLE takes 1 (mole fractions) or 2 (mass fractions), not \"" + option.value + "\"");
                return false;
            }
        } else if (name == "TIGN") {
            double number = defaultInductionSpecies;
            if (!option.value.empty() && !Strings::toNumber(option.value, number)) {
                error = Diagnostic(input.file(), option.line, "TIGN takes a species number, not \"" + option.value + "\"");
                return false;
            }
            if (number != std::floor(number) || number < 1 || number > static_cast<double>(mechanism.species.size())) {
                error = Diagnostic(input.file(), option.line,
                                   Strings::format("TIGN names species number %g, but the mechanism has species 1 to %zu",
                                                   number, mechanism.species.size()));
                return false;
            }
            m_settings.inductionSpecies = static_cast<int>(number) - 1;
        } else if (name == "WALL" && option.value == "1") {
            m_settings.model.wallHeatLoss = true;
        } else if (name == "NOCH") {
            m_checkDuplicates = false;
        } else if (name == "NOME") {
            m_listMechanism = false;
        } else if (name == "REVSIM") {
            m_notes.push_back("Option REVSIM: reverse rates are computed from equilibrium constants at every step anyway.");
        } else {
            bool known = false;
            for (const IgnoredOption &ignored : ignoredOptions) {
                if (name == ignored.name) {
                    m_notes.push_back(std::string("Option ") + ignored.name + " (" + ignored.what
                                      + ") is not modelled by this code and is ignored.");
                    known = true;
                }
            }
            if (!known)
                m_notes.push_back("Option " + name + " is unknown to this code and is ignored.");
        }
    }
    return true;
}

bool RunSetup::readAmounts(const RunInput &input, const Mechanism &mechanism, bool needInitialState,
                           Diagnostic &error)
{
    std::vector<double> moles(mechanism.species.size(), 0.0);
    for (const RunInput::Amount &amount : input.amounts()) {
        const int k = findSpecies(mechanism, amount.species);
        if (k < 0) {
            if (k == -1 && amount.beforeBoundary) {
                m_notes.push_back("Condition " + amount.species + " is unknown to this code and is ignored.");
                continue;
            }
            error = Diagnostic(input.file(), amount.line,
                               k == -2 ? "species \"" + amount.species + "\" matches more than one species of the mechanism"
                                       : "species \"" + amount.species + "\" of CONDITIONS is not in the mechanism");
            return false;
        }
        double value = 0.0;
        if (!amount.value.empty() && !Strings::toNumber(amount.value, value)) {
            error = Diagnostic(input.file(), amount.line,
                               "the amount \"" + amount.value + "\" of species " + amount.species + " is not a number");
            return false;
        }
        if (value < 0) {
            error = Diagnostic(input.file(), amount.line, "the amount of species " + amount.species + " is negative");
            return false;
        }
        moles[static_cast<size_t>(k)] = value;
    }
    double total = 0.0;
    for (double value : moles)
        total += value;

    double temperature = 0, pressure = 0, volume = 1.0;
    if (!readNumber(input, "T", 0.0, temperature, error) || !readNumber(input, "P", 0.0, pressure, error)
        || !readNumber(input, "V", 1.0, volume, error))
        return false;
    m_hasInitialState = temperature > 0 && pressure > 0 && volume > 0 && total > 0;
    if (needInitialState && !m_hasInitialState) {
        const char *missing = !(temperature > 0) ? "a positive temperature T"
            : !(pressure > 0)                    ? "a positive pressure P"
            : !(volume > 0)                      ? "a positive volume V"
                                                 : "a positive amount of at least one species";
        error = Diagnostic(input.file(), 0, std::string("the CONDITIONS block needs ") + missing);
        return false;
    }
    if (!m_hasInitialState)
        return true;
    for (double &value : moles)
        value /= total;
    m_initial.temperature = temperature;
    m_initial.pressure = pressure;
    m_initial.volume = volume;
    m_initial.massFractions.assign(moles.size(), 0.0);
    Mixture(mechanism).massFractionsFromMoles(moles.data(), m_initial.massFractions.data());
    return true;
}

bool RunSetup::readProfiles(const RunInput& input, Diagnostic& error)
{
    ReactorModel& model = m_settings.model;
    struct Block
    {
        const RunInput::ProfileLines& lines;
        const char* name;
        const char* what;
        TimeProfile& profile;
        bool used;
        const char* unused;
    };
    const Block blocks[] = {
        {input.volumeProfile(), "VPROFILE", "volume in m^3", model.volume, model.constantVolume,
         "The VPROFILE block is ignored: without option VPRO the pressure is held."},
        {input.temperatureProfile(), "TPROFILE", "temperature in K", model.temperature, model.isothermal,
         "The TPROFILE block is ignored: without option TPRO the reactor is adiabatic."},
    };
    for (const Block& block : blocks) {
        if (block.lines.line == 0)
            continue;
        if (!block.profile.read(block.lines.lines, input.file(), block.name, block.what, block.lines.line, error))
            return false;
        if (!block.used) {
            m_notes.push_back(block.unused);
            block.profile = TimeProfile();
        }
    }
    return true;
}

bool RunSetup::readWall(const RunInput& input, Diagnostic& error)
{
    ReactorModel& model = m_settings.model;
    if (!model.wallHeatLoss)
        return true;
    struct Needed
    {
        const char* name;
        const char* what;
        double& value;
    };
    const Needed needed[] = {
        {"C", "the heat transfer coefficient in W/(m^2 K)", model.heatTransferCoefficient},
        {"S/V", "the ratio of the wall's surface to the volume in 1/m", model.surfaceToVolume},
        {"TSURR", "the temperature of the surroundings in K", model.surroundingTemperature},
    };
    const RunInput::Option* wall = input.option("WALL");
    for (const Needed& condition : needed) {
        if (!input.condition(condition.name) || input.condition(condition.name)->value.empty()) {
            error = Diagnostic(input.file(), wall ? wall->line : 0,
                               std::string("WALL 1 (constant heat transfer) needs the condition ") + condition.name
                                   + ", " + condition.what);
            return false;
        }
        if (!readNumber(input, condition.name, 0.0, condition.value, error))
            return false;
        if (condition.value < 0 || (condition.value == 0 && std::string(condition.name) == "TSURR")) {
            error = Diagnostic(input.file(), input.condition(condition.name)->line,
                               std::string("the condition ") + condition.name + " of WALL 1 must be "
                                   + (std::string(condition.name) == "TSURR" ? "positive" : "zero or positive"));
            return false;
        }
    }
    if (model.isothermal) {
        m_notes.push_back("Option WALL has no effect: option TPRO imposes the temperature.");
        model.wallHeatLoss = false;
    }
    return true;
}

bool RunSetup::build(const RunInput &input, const Mechanism &mechanism, bool needInitialState, Diagnostic &error)
{
    *this = RunSetup();
    for (const RunInput::SpeciesEntry &entry : input.species()) {
        const int k = findSpecies(mechanism, entry.name);
        if (k < 0) {
            error = Diagnostic(input.file(), entry.line,
                               k == -2 ? "species \"" + entry.name + "\" matches more than one species of the mechanism"
                                       : "species \"" + entry.name + "\" of the SPECIES block is not in the mechanism");
            return false;
        }
    }
    if (!readOptions(input, mechanism, error) || !readAmounts(input, mechanism, needInitialState, error)
        || !readProfiles(input, error) || !readWall(input, error))
        return false;
    m_listingRequested = input.listingRequested();

    SimulationSettings &s = m_settings;
    double steps = 20;
    if (!readNumber(input, "TSTA", 0.0, s.startTime, error) || !readNumber(input, "TEND", 0.0, s.endTime, error)
        || !readNumber(input, "NT", 20.0, steps, error) || !readNumber(input, "STEP", 0.0, s.firstStep, error)
        || !readNumber(input, "RTOL", 1.0e-4, s.relativeTolerance, error)
        || !readNumber(input, "ATOL", 1.0e-9, s.absoluteTolerance, error))
        return false;
    const RunInput::Condition *end = input.condition("TEND");
    if (!(s.endTime > 0)) {
        error = Diagnostic(input.file(), end ? end->line : 0, "the end time TEND must be given and positive");
        return false;
    }
    if (s.startTime < 0 || s.startTime >= s.endTime) {
        const RunInput::Condition *start = input.condition("TSTA");
        error = Diagnostic(input.file(), start ? start->line : 0, "the first output time TSTA must lie in [0, TEND)");
        return false;
    }
    if (steps != std::floor(steps) || std::fabs(steps) > 1e7) {
        error = Diagnostic(input.file(), input.condition("NT")->line, "NT must be a whole number");
        return false;
    }
    s.outputSteps = steps == 0 ? 1 : static_cast<int>(steps);
    if (s.firstStep < 0 || !(s.relativeTolerance > 0) || !(s.absoluteTolerance > 0)) {
        error = Diagnostic(input.file(), 0, "STEP must not be negative, and RTOL and ATOL must be positive");
        return false;
    }
    return true;
}

} // namespace tarvelsim
