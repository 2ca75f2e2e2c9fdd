// The run description fort.2 (RunInput::read), and what the programs make of
// it for a mechanism (RunSetup::build, with its VPROFILE and TPROFILE
// blocks), against the h2 and gri mechanisms. A description is accepted or
// refused with a message at its line; what is accepted is a state and
// settings the integrator can start from.

#include "fuzzcheck.h"
#include "simharness.h"

#include "runinput.h"
#include "runsetup.h"

#include <cmath>

using namespace tarvelsim;

namespace {

void checkProfile(const TimeProfile& profile)
{
    const auto& points = profile.points();
    if (points.empty())
        return;
    FUZZ_CHECK(points.size() >= 2, "an imposed profile has two points at least");
    for (std::size_t i = 0; i < points.size(); ++i) {
        FUZZ_CHECK(std::isfinite(points[i].first) && points[i].first >= 0,
                   "a profile's times are finite, not negative");
        FUZZ_CHECK(std::isfinite(points[i].second) && points[i].second > 0, "a profile's values are finite, positive");
        FUZZ_CHECK(i == 0 || points[i].first > points[i - 1].first, "a profile's times increase");
    }
}

void build(const RunInput& input, const Mechanism& mechanism, bool needInitialState)
{
    RunSetup setup;
    Diagnostic error;
    if (!setup.build(input, mechanism, needInitialState, error)) {
        FUZZ_CHECK(!error.reason.empty(), "a refused description says why");
        return;
    }
    const SimulationSettings& settings = setup.settings();
    FUZZ_CHECK(settings.endTime > 0 && std::isfinite(settings.endTime), "the end time is finite and positive");
    FUZZ_CHECK(settings.startTime >= 0 && settings.startTime < settings.endTime, "the start time lies before the end");
    FUZZ_CHECK(settings.relativeTolerance > 0 && settings.absoluteTolerance > 0, "the tolerances are positive");
    FUZZ_CHECK(settings.inductionSpecies < int(mechanism.species.size()), "TIGN names a species of the mechanism");
    checkProfile(settings.model.volume);
    checkProfile(settings.model.temperature);
    FUZZ_CHECK(!needInitialState || setup.hasInitialState(), "a run that needs an initial state has one");
    if (!setup.hasInitialState())
        return;
    const ReactorState& state = setup.initialState();
    FUZZ_CHECK(std::isfinite(state.temperature) && state.temperature > 0, "the initial temperature is usable");
    FUZZ_CHECK(std::isfinite(state.pressure) && state.pressure > 0, "the initial pressure is usable");
    FUZZ_CHECK(std::isfinite(state.volume) && state.volume > 0, "the initial volume is usable");
    FUZZ_CHECK(state.massFractions.size() == mechanism.species.size(), "one mass fraction per species");
    double total = 0;
    for (const double fraction : state.massFractions) {
        FUZZ_CHECK(std::isfinite(fraction) && fraction >= 0 && fraction <= 1 + 1e-12,
                   "every initial mass fraction lies in [0, 1]");
        total += fraction;
    }
    FUZZ_CHECK(std::fabs(total - 1) < 1e-9, "the initial mass fractions add up to one");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> lines = SimHarness::lines(data, size);
    RunInput input;
    Diagnostic error;
    if (!input.read(lines, "fort.2", error)) {
        FUZZ_CHECK(!error.reason.empty(), "a refused description says why");
        return 0;
    }
    (void)RunSetup::duplicateCheckWanted(input);
    for (const char* caseName : {"h2", "gri"}) {
        const Mechanism& mechanism = SimHarness::mechanism(caseName);
        build(input, mechanism, true);
        build(input, mechanism, false);
    }
    return 0;
}
