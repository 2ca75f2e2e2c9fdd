// The mechanism parser (MechanismParser::parse), with the gri thermo data as
// the database fort.9. Any text parses or is refused with its errors. What
// tarinp.x accepts it writes as the prepared mechanism, which tarrun.x parses
// again without a database: that must succeed and give the same mechanism.

#include "fuzzcheck.h"
#include "simharness.h"

#include "mechanismparser.h"
#include "mechanismwriter.h"

#include <cstdio>

using namespace tarvelsim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> lines = SimHarness::lines(data, size);
    MechanismParser parser;
    Mechanism mechanism;
    Diagnostic error;
    const bool parsed = parser.parse(lines, "fort.4", SimHarness::thermo("gri"), "fort.9", true, mechanism, error);
    FUZZ_CHECK(parsed == (parser.errorCount() == 0), "a parse fails exactly when it found errors");
    FUZZ_CHECK(parser.errors().size() <= MechanismParser::maxErrors, "the errors listed are limited");
    if (!parsed) {
        FUZZ_CHECK(!error.reason.empty(), "a refused mechanism says why");
        return 0;
    }
    const std::string prepared = MechanismWriter::write(mechanism);
    MechanismParser again;
    Mechanism reread;
    if (!again.parse(SimHarness::lines(prepared), "tarmech.inp", {}, "", false, reread, error)) {
        std::fprintf(stderr, "%s\n", error.text().c_str());
        FUZZ_CHECK(false, "the prepared mechanism parses again");
    }
    FUZZ_CHECK(reread == mechanism, "the prepared mechanism is the mechanism parsed");
    return 0;
}
