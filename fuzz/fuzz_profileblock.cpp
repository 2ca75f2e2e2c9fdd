// The blocks a run restarts from and the quantities it imposes: the last
// profile block of the computation file fort.18 (ProfileBlock::readLast,
// against the h2 mechanism), and the same lines as the points of a VPROFILE
// or TPROFILE block (TimeProfile::read).
//
// A state read is a state a run can start from, and the block the run writes
// for it reads back as the same state, digit for digit. An imposed profile
// interpolates between its points and never beyond them.

#include "fuzzcheck.h"
#include "simharness.h"

#include "profileblock.h"
#include "timeprofile.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace tarvelsim;

namespace {

bool sameState(const ReactorState& a, const ReactorState& b)
{
    return std::memcmp(&a.temperature, &b.temperature, sizeof(double)) == 0
           && std::memcmp(&a.pressure, &b.pressure, sizeof(double)) == 0
           && std::memcmp(&a.volume, &b.volume, sizeof(double)) == 0 && a.massFractions.size() == b.massFractions.size()
           && std::memcmp(a.massFractions.data(), b.massFractions.data(), sizeof(double) * a.massFractions.size()) == 0;
}

void readBlock(const std::vector<std::string>& lines)
{
    const Mechanism& mechanism = SimHarness::mechanism("h2");
    bool found = false;
    ReactorState state;
    Diagnostic error;
    if (!ProfileBlock::readLast(lines, "fort.18", mechanism, found, state, error)) {
        FUZZ_CHECK(!error.reason.empty(), "a block refused says why");
        return;
    }
    if (!found)
        return;
    FUZZ_CHECK(state.temperature > 0 && state.pressure > 0 && state.volume > 0,
               "a state read has a positive temperature, pressure and volume");
    FUZZ_CHECK(state.massFractions.size() == mechanism.species.size(), "a state read has one amount per species");
    Sample sample;
    sample.state = state;
    const std::string block = ProfileBlock::format(sample, mechanism);
    ReactorState again;
    const bool reread = ProfileBlock::readLast(SimHarness::lines(block), "fort.18", mechanism, found, again, error);
    FUZZ_CHECK(reread && found, "the block written for a state read is read again");
    FUZZ_CHECK(sameState(state, again), "the block written for a state read gives that state");
}

void readProfile(const std::vector<std::string>& lines)
{
    std::vector<std::pair<std::string, int>> numbered;
    for (std::size_t i = 0; i < lines.size(); ++i)
        numbered.emplace_back(lines[i], int(i) + 2);
    TimeProfile profile;
    Diagnostic error;
    if (!profile.read(numbered, "fort.2", "VPROFILE", "volume in m^3", 1, error)) {
        FUZZ_CHECK(!error.reason.empty(), "a profile refused says why");
        FUZZ_CHECK(profile.empty(), "a profile refused holds no points");
        return;
    }
    const auto& points = profile.points();
    FUZZ_CHECK(points.size() >= 2, "a profile read has two points at least");
    for (std::size_t i = 0; i < points.size(); ++i) {
        FUZZ_CHECK(profile.value(points[i].first) == points[i].second, "a profile passes through its points");
        if (i + 1 == points.size())
            continue;
        const auto& a = points[i];
        const auto& b = points[i + 1];
        const double middle = a.first + (b.first - a.first) / 2;
        const double value = profile.value(middle);
        FUZZ_CHECK(value >= std::min(a.second, b.second) && value <= std::max(a.second, b.second),
                   "a profile between two points lies between their values");
        (void)profile.slope(middle);
    }
    FUZZ_CHECK(profile.value(points.front().first - 1) == points.front().second, "a profile holds its first value");
    FUZZ_CHECK(profile.value(points.back().first * 2 + 1) == points.back().second, "a profile holds its last value");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> lines = SimHarness::lines(data, size);
    readBlock(lines);
    readProfile(lines);
    return 0;
}
