// Wall time of the closed-reactor integration for the h2 case (2 atm, 1000 K,
// H2:O2:N2 = 1:1:3.76, 1 ms) and the GRI-Mech 3.0 case (13.679 bar, 1000 K,
// CH4:O2:N2 = 0.5:1:3.76, 0.07 s), at constant pressure, with the analytic
// Jacobian and, as the baseline, CVODE's own difference-quotient Jacobian in
// the same run, at two absolute tolerances. Each run formats the fort.29 line and fort.18 block of 100
// output steps, as tarrun.x does, but writes no files. The time of reading
// the mechanism (what tarinp.x and tarrun.x each do once) is shown apart.
//
// At ATOL 1e-12 the difference quotients let the h2 case miss its ignition:
// CVODE perturbs a species at zero by about ATOL times a small multiple of
// the unit round-off, far below what the right-hand side resolves, so the
// columns of the radicals are lost while they are still below ATOL and the
// Newton iteration does not see them. Such runs are marked WRONG.

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
#include <cstdio>
#include <string>
#include <vector>

using namespace tarvelsim;

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
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
    double pressure; // bar
    double endTime;
    std::vector<std::pair<const char *, double>> moles;
};

struct Figures
{
    double best = 1e300;
    double mean = 0.0;
    SimulationResult result;
};

bool measure(const Mechanism &mechanism, const Case &c, Integrator::JacobianKind jacobian, double absoluteTolerance,
             int repeats, Figures &figures)
{
    ReactorState initial;
    initial.temperature = 1000.0;
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
    settings.absoluteTolerance = absoluteTolerance;
    settings.jacobian = jacobian;
    const OutputTable table(mechanism, OutputTable::Unit::MoleFractions);
    double sum = 0.0;
    for (int i = 0; i < repeats; ++i) {
        size_t bytes = 0;
        const Clock::time_point start = Clock::now();
        Simulation simulation(mechanism, settings);
        const bool ok = simulation.run(initial,
                                       [&](const Sample &sample) {
                                           bytes += table.line(sample).size();
                                           bytes += ProfileBlock::format(sample, mechanism).size();
                                           return true;
                                       },
                                       figures.result);
        const double elapsed = seconds(start);
        if (!ok || bytes == 0) {
            std::fprintf(stderr, "error: %s failed: %s\n", c.name, figures.result.failure.c_str());
            return false;
        }
        figures.best = std::min(figures.best, elapsed);
        sum += elapsed;
    }
    figures.mean = sum / repeats;
    return true;
}

void print(const char *label, const Figures &f)
{
    const Integrator::Statistics &s = f.result.statistics;
    std::printf("  %-34s %9.1f %9.1f %7ld %8ld %6ld   %.5E   %8.2f%s\n", label, f.best * 1e3, f.mean * 1e3, s.steps,
                s.rhsEvaluations, s.jacobianEvaluations, f.result.ignitionTime, f.result.final.temperature,
                f.result.ignited ? "" : "   WRONG: no ignition");
}

} // namespace

int main()
{
    const Case cases[] = {
        {"h2", 2.0 * constants::oneAtmosphere / constants::oneBar, 1e-3, {{"H2", 1.0}, {"O2", 1.0}, {"N2", 3.76}}},
        {"gri", 13.679, 0.07, {{"CH4", 0.5}, {"O2", 1.0}, {"N2", 3.76}}},
    };
    const int repeats = 5;
    std::printf("Closed reactor at constant pressure, RTOL 1e-6, 100 output steps; best and mean of %d runs\n", repeats);
    for (const Case &c : cases) {
        Mechanism mechanism;
        const Clock::time_point start = Clock::now();
        if (!load(c.name, mechanism))
            return 1;
        const double reading = seconds(start);
        std::printf("\n%s: %zu species, %zu reactions; reading mechanism and thermo data %.1f ms\n", c.name,
                    mechanism.species.size(), mechanism.reactions.size(), reading * 1e3);
        std::printf("  %-34s %9s %9s %7s %8s %6s   %-11s   %8s\n", "Jacobian", "best ms", "mean ms", "steps", "RHS",
                    "Jac", "ignition s", "final K");
        for (double atol : {1e-12, 1e-20}) {
            Figures analytic, quotients;
            if (!measure(mechanism, c, Integrator::JacobianKind::Analytic, atol, repeats, analytic)
                || !measure(mechanism, c, Integrator::JacobianKind::DifferenceQuotient, atol, repeats, quotients))
                return 1;
            const std::string tolerance = atol == 1e-12 ? ", ATOL 1e-12" : ", ATOL 1e-20";
            print(("analytic" + tolerance).c_str(), analytic);
            print(("difference quotients" + tolerance).c_str(), quotients);
            std::printf("  %-34s %8.1fx\n", "time of quotients / analytic", quotients.best / analytic.best);
        }
    }
    return 0;
}
