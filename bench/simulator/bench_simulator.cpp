// CPU time of the closed-reactor integration at the bundled schemes'
// tolerances (RTOL 1e-6, ATOL 1e-12), constant pressure, 100 output steps
// formatted as tarrun.x formats them (fort.29 line and fort.18 block) but not
// written, for the chemFoam CHEMKIN cases:
//
//   h2      2 atm, 1000 K, H2:O2:N2 = 1:1:3.76, to 1 ms
//   gri     13.679 bar, 1000 K, CH4:O2:N2 = 0.5:1:3.76, to 0.07 s
//   nc7h16  50 atm, 800 K, NC7H16:O2:N2 = 0.090909:1:3.76, to 1 ms
//   ic8h18  50 atm, 800 K, IC8H18:O2:N2 = 0.08:1:3.76, to 10 ms (with
//           --iso-octane: its dense run alone takes well over a minute)
//
// Each case runs with the default solver choice next to the dense LU solver
// of earlier versions (analytic Jacobian, every species' column dense) in
// the same run, then with the sparse solver forced, which tells where the
// two cross. Printed per run: the CPU time of the quickest repeat and its
// wall-clock time, steps, right-hand sides, Jacobians, factorisations and
// linear solves, the (wall-clock) time in each, and the ignition time. The goals close the output, each line ending
// in "met" or "missed".

#include "constants.h"
#include "mechanismparser.h"
#include "mixture.h"
#include "outputtable.h"
#include "profileblock.h"
#include "simulation.h"
#include "textfile.h"
#include "thermoparser.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

using namespace tarvelsim;

namespace {

double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

bool load(const std::string &name, Mechanism &mechanism)
{
    const std::string folder = std::string(TARVEL_CHEMFOAM_DIR) + '/' + name + "/chemkin/";
    auto path = [&](const std::string &file) {
        return TextFile::exists(folder + file) ? folder + file : folder + file + ".gz";
    };
    std::vector<std::string> mechanismLines, thermoLines;
    std::vector<ThermoRecord> records;
    Diagnostic error;
    MechanismParser parser;
    if (!TextFile::readLines(path("chem.inp"), mechanismLines, error)
        || !TextFile::readLines(path("therm.dat"), thermoLines, error)
        || !ThermoParser::readFile(thermoLines, "fort.9", records, error)
        || !parser.parse(mechanismLines, "fort.4", records, "fort.9", true, mechanism, error)) {
        std::fprintf(stderr, "error: %s (is openfoam-examples installed?)\n", error.text().c_str());
        return false;
    }
    return true;
}

struct Case
{
    const char *name;
    double temperature; // K
    double pressure; // bar
    double endTime;
    std::vector<std::pair<const char *, double>> moles;
    int repeats;
    int denseRepeats;
};

double wallSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The repeat with the least CPU time: its CPU and wall time and its result,
// whose part times are wall-clock time of that same run.
struct Figures
{
    double best = 1e300;
    double wall = 0.0;
    SimulationResult result;
};

bool measure(const Mechanism& mechanism, const Case& c, Integrator::LinearAlgebra algebra, int repeats,
             Figures& figures)
{
    ReactorState initial;
    initial.temperature = c.temperature;
    initial.pressure = c.pressure;
    initial.volume = 1.0;
    std::vector<double> x(mechanism.species.size(), 0.0);
    double total = 0.0;
    for (const auto &entry : c.moles)
        total += entry.second;
    for (const auto &entry : c.moles)
        x[static_cast<size_t>(mechanism.speciesIndex(entry.first))] = entry.second / total;
    initial.massFractions.assign(x.size(), 0.0);
    Mixture(mechanism).massFractionsFromMoles(x.data(), initial.massFractions.data());

    SimulationSettings settings;
    settings.endTime = c.endTime;
    settings.outputSteps = 100;
    settings.relativeTolerance = 1e-6;
    settings.absoluteTolerance = 1e-12;
    settings.linearAlgebra = algebra;
    const OutputTable table(mechanism, OutputTable::Unit::MoleFractions);
    for (int i = 0; i < repeats; ++i) {
        size_t bytes = 0;
        const double start = cpuSeconds();
        const double wallStart = wallSeconds();
        Simulation simulation(mechanism, settings);
        SimulationResult result;
        const bool ok = simulation.run(
            initial,
            [&](const Sample& sample) {
                bytes += table.line(sample).size();
                bytes += ProfileBlock::format(sample, mechanism).size();
                return true;
            },
            result);
        const double elapsed = cpuSeconds() - start;
        const double wall = wallSeconds() - wallStart;
        if (!ok || bytes == 0) {
            std::fprintf(stderr, "error: %s failed: %s\n", c.name, result.failure.c_str());
            return false;
        }
        if (elapsed < figures.best) {
            figures.best = elapsed;
            figures.wall = wall;
            figures.result = result;
        }
    }
    return true;
}

void print(const char *label, const Figures &f)
{
    const Integrator::Statistics &s = f.result.statistics;
    std::printf("  %-16s %-6s %8.3f %8.3f %6ld %6ld %5ld %6ld %6ld  %7.3f %7.3f %7.3f %7.3f   %.5E%s\n", label,
                s.sparse ? "KLU" : "dense", f.best, f.wall, s.steps, s.rhsEvaluations, s.jacobianEvaluations,
                s.factorisations, s.linearSolves, s.rhsSeconds, s.jacobianSeconds, s.factorisationSeconds,
                s.solveSeconds, f.result.ignitionTime, f.result.ignited ? "" : "   WRONG: no ignition");
}

struct Outcome
{
    Figures automatic;
    Figures dense;
    Figures sparse;
};

} // namespace

int main(int argc, char** argv)
{
    const bool isoOctane = argc > 1 && std::strcmp(argv[1], "--iso-octane") == 0;
    const double atm = constants::oneAtmosphere / constants::oneBar;
    std::vector<Case> cases = {
        {"h2", 1000.0, 2.0 * atm, 1e-3, {{"H2", 1.0}, {"O2", 1.0}, {"N2", 3.76}}, 20, 20},
        {"gri", 1000.0, 13.679, 0.07, {{"CH4", 0.5}, {"O2", 1.0}, {"N2", 3.76}}, 5, 5},
        {"nc7h16", 800.0, 50.0 * atm, 1e-3, {{"NC7H16", 0.090909}, {"O2", 1.0}, {"N2", 3.76}}, 3, 1},
    };
    if (isoOctane)
        cases.push_back({"ic8h18", 800.0, 50.0 * atm, 1e-2, {{"IC8H18", 0.08}, {"O2", 1.0}, {"N2", 3.76}}, 2, 1});
    std::printf("Closed reactor at constant pressure, RTOL 1e-6, ATOL 1e-12, 100 output steps.\n"
                "CPU s: the repeat with the least CPU time, with its wall-clock time; the last four time\n"
                "columns are that run's wall-clock seconds in right-hand sides, Jacobians, factorisations\n"
                "(with the rank-two solves) and linear solves. Sparse solver by default from %zu species.\n",
                Integrator::sparseFromSpecies);
    std::vector<Outcome> outcomes(cases.size());
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        Mechanism mechanism;
        if (!load(c.name, mechanism))
            return 1;
        std::printf("\n%s: %zu species, %zu reactions\n", c.name, mechanism.species.size(), mechanism.reactions.size());
        std::printf("  %-16s %-6s %8s %8s %6s %6s %5s %6s %6s  %7s %7s %7s %7s   %s\n", "solver", "", "CPU s", "wall s",
                    "steps", "RHS", "Jac", "fact", "solves", "RHS s", "Jac s", "fact s", "solve s", "ignition s");
        Outcome& o = outcomes[i];
        if (!measure(mechanism, c, Integrator::LinearAlgebra::Automatic, c.repeats, o.automatic)
            || !measure(mechanism, c, Integrator::LinearAlgebra::Dense, c.denseRepeats, o.dense)
            || !measure(mechanism, c, Integrator::LinearAlgebra::Sparse, c.repeats, o.sparse))
            return 1;
        print("default", o.automatic);
        print("dense (earlier)", o.dense);
        print("sparse (forced)", o.sparse);
        std::printf("  %-23s %9.2fx;  ignition default / dense - 1 = %+.2e\n", "CPU dense / default",
                    o.dense.best / o.automatic.best,
                    o.automatic.result.ignitionTime / o.dense.result.ignitionTime - 1.0);
    }

    // Where the dense solver's n^3 and the sparse solver's nearly linear cost
    // per step of linear algebra meet, from GRI-Mech 3.0's measurements.
    auto linearAlgebra = [](const Figures& f) {
        const Integrator::Statistics& s = f.result.statistics;
        return (s.factorisationSeconds + s.solveSeconds) / static_cast<double>(std::max(1L, s.steps));
    };
    std::printf("\nLinear algebra per step, us (factorisations and solves): dense / sparse\n");
    for (size_t i = 0; i < cases.size(); ++i)
        std::printf("  %-8s %10.2f %10.2f\n", cases[i].name, 1e6 * linearAlgebra(outcomes[i].dense),
                    1e6 * linearAlgebra(outcomes[i].sparse));
    const double dense = linearAlgebra(outcomes[1].dense), sparse = linearAlgebra(outcomes[1].sparse);
    std::printf("  cross-over estimated from gri (53 species): %.0f species\n", 53.0 * std::sqrt(sparse / dense));

    std::printf("\nGoals\n");
    auto goal = [](const char* text, double value, double limit, const char* unit) {
        std::printf("  %-52s %9.3f %s (limit %.3f)  %s\n", text, value, unit, limit, value <= limit ? "met" : "missed");
    };
    goal("n-heptane, 544 species: default solver CPU", outcomes[2].automatic.best, 1.5, "s");
    // "No slower": within the scatter of repeated runs of the same code,
    // which the bench's own dense runs show to be a few per cent.
    goal("GRI-Mech 3.0: default / dense CPU", outcomes[1].automatic.best / outcomes[1].dense.best, 1.05, "x");
    goal("h2: default / dense CPU", outcomes[0].automatic.best / outcomes[0].dense.best, 1.05, "x");
    for (size_t i = 0; i < 3; ++i) {
        const double change =
            std::fabs(outcomes[i].automatic.result.ignitionTime / outcomes[i].dense.result.ignitionTime - 1.0);
        goal((std::string(cases[i].name) + ": ignition time default vs dense, relative").c_str(), change, 1e-3, "");
    }
    return 0;
}
