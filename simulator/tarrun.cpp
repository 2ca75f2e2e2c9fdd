// tarrun.x: integrates the prepared mechanism in a closed homogeneous reactor
// and writes the output data (fort.29) and the profile blocks (fort.18).

#include "console.h"
#include "mechanismparser.h"
#include "outputtable.h"
#include "profileblock.h"
#include "programfiles.h"
#include "runinput.h"
#include "runsetup.h"
#include "simulation.h"
#include "strings.h"
#include "textfile.h"

#include <cstdio>
#include <memory>

using namespace tarvelsim;

namespace {

struct FileCloser
{
    void operator()(std::FILE *file) const
    {
        if (file)
            std::fclose(file);
    }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool writeFlushed(std::FILE *file, const std::string &text)
{
    return std::fputs(text.c_str(), file) >= 0 && std::fflush(file) == 0;
}

std::string modeText(const ReactorModel& model)
{
    const std::string volume = model.volume.empty() ? "volume" : "imposed volume";
    if (model.isothermal) {
        const std::string temperature = model.temperature.empty() ? "constant temperature" : "imposed temperature";
        return temperature + " and " + (model.constantVolume ? volume : "pressure");
    }
    const std::string heat = model.wallHeatLoss ? "wall heat loss" : "adiabatic";
    return heat + ", "
           + (model.constantVolume ? (model.volume.empty() ? "constant volume" : volume) : "constant pressure");
}

void describeProfile(const char* block, const char* quantity, const char* unit, const TimeProfile& profile)
{
    if (profile.empty())
        return;
    const auto& first = profile.points().front();
    const auto& last = profile.points().back();
    Console::line(Strings::format(
        " %s imposed by the %s block: %zu points, %.6E %s at t = %.6E s to %.6E %s at t = %.6E s", quantity, block,
        profile.points().size(), first.second, unit, first.first, last.second, unit, last.first));
}

int integrate()
{
    Console::line(" TARRUN  -  closed homogeneous reactor");
    Diagnostic error;

    std::vector<std::string> lines;
    RunInput input;
    if (!TextFile::readLines(ProgramFiles::runDescription, lines, error)
        || !input.read(lines, ProgramFiles::runDescription, error))
        return Console::fail(error.text());

    if (!TextFile::exists(ProgramFiles::preparedMechanism))
        return Console::fail(std::string(ProgramFiles::preparedMechanism) + ": the prepared mechanism is missing; run tarinp.x first");
    Mechanism mechanism;
    MechanismParser parser;
    if (!TextFile::readLines(ProgramFiles::preparedMechanism, lines, error)
        || !parser.parse(lines, ProgramFiles::preparedMechanism, {}, "", false, mechanism, error))
        return Console::fail(error.text());

    // A profile block appended to fort.18 after tarinp.x is the initial state.
    bool restart = false;
    ReactorState profile;
    if (TextFile::exists(ProgramFiles::computation)
        && (!TextFile::readLines(ProgramFiles::computation, lines, error)
            || !ProfileBlock::readLast(lines, ProgramFiles::computation, mechanism, restart, profile, error)))
        return Console::fail(error.text());

    RunSetup setup;
    if (!setup.build(input, mechanism, !restart, error))
        return Console::fail(error.text());
    for (const std::string &note : setup.notes())
        Console::line(" " + note);
    const SimulationSettings &settings = setup.settings();
    const ReactorState initial = Simulation::startingState(restart ? profile : setup.initialState(), settings.model);

    Console::line(" Reactor: " + modeText(settings.model));
    describeProfile("VPROFILE", "Volume", "m^3", settings.model.volume);
    describeProfile("TPROFILE", "Temperature", "K", settings.model.temperature);
    if (settings.model.wallHeatLoss)
        Console::line(Strings::format(" Wall heat loss: C = %.4E W/(m^2 K), S/V = %.4E 1/m, TSURR = %.2f K",
                                      settings.model.heatTransferCoefficient, settings.model.surfaceToVolume,
                                      settings.model.surroundingTemperature));
    Console::line(restart ? std::string(" Initial state from the profile in ") + ProgramFiles::computation
                          : std::string(" Initial state from the CONDITIONS of ") + ProgramFiles::runDescription);
    Console::line(Strings::format(" T = %.4f K   P = %.6E bar   V = %.6E m^3", initial.temperature, initial.pressure,
                                  initial.volume));
    Console::line(Strings::format(" Integration to %.6E s, RTOL = %.3E, ATOL = %.3E", settings.endTime,
                                  settings.relativeTolerance, settings.absoluteTolerance));

    File data(TextFile::create(ProgramFiles::outputData, error));
    File computation(data ? TextFile::create(ProgramFiles::computation, error) : nullptr);
    if (!data || !computation)
        return Console::fail(error.text());
    const OutputTable table(mechanism, setup.unit());
    if (!writeFlushed(data.get(), table.heading()))
        return Console::fail(std::string("cannot write ") + ProgramFiles::outputData);

    // About fifty progress lines, whatever NT is.
    const int progressEvery = settings.outputSteps > 0 ? std::max(1, settings.outputSteps / 50) : 100;
    int samples = 0;
    auto output = [&](const Sample &sample) {
        if (!writeFlushed(data.get(), table.line(sample))
            || !writeFlushed(computation.get(), ProfileBlock::format(sample, mechanism)))
            return false;
        if (samples++ % progressEvery == 0)
            Console::line(Strings::format(" t = %.4E s   T = %9.3f K   P = %.5E bar", sample.time,
                                          sample.state.temperature, sample.state.pressure));
        return true;
    };
    Simulation simulation(mechanism, settings);
    SimulationResult result;
    if (!simulation.run(initial, output, result))
        return Console::fail("the integration stopped: " + result.failure);
    data.reset();
    computation.reset();

    Console::line(Strings::format(" t = %.4E s   T = %9.3f K   P = %.5E bar   (end)", settings.endTime,
                                  result.final.temperature, result.final.pressure));
    if (result.ignited)
        Console::line(Strings::format(" Ignition time (s) = %.4E   (T above %.1f K)", result.ignitionTime,
                                      initial.temperature + Simulation::ignitionRise));
    else
        Console::line(Strings::format(" No ignition: T stayed below %.1f K", initial.temperature + Simulation::ignitionRise));
    if (settings.inductionSpecies >= 0) {
        const std::string &name = mechanism.species[static_cast<size_t>(settings.inductionSpecies)].name;
        if (result.induction)
            Console::line(Strings::format(" Induction time of species %d (%s) (s) = %.4E", settings.inductionSpecies + 1,
                                          name.c_str(), result.inductionTime));
        else
            Console::line(Strings::format(" Induction time of species %d (%s): its mole fraction never rose",
                                          settings.inductionSpecies + 1, name.c_str()));
    }
    const Integrator::Statistics& statistics = result.statistics;
    Console::line(Strings::format(" %d output steps; solver: %ld steps, %ld right-hand sides, %ld Jacobians, "
                                  "%ld factorisations (%s)",
                                  result.samples, statistics.steps, statistics.rhsEvaluations,
                                  statistics.jacobianEvaluations, statistics.factorisations,
                                  statistics.sparse ? "sparse, KLU" : "dense LU"));
    Console::line(ProgramFiles::success);
    return 0;
}

} // namespace

int main()
{
    return Console::guarded(&integrate);
}
