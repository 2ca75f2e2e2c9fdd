// The thermo data reader (ThermoParser): a whole database fort.9, the same
// lines as a THERMO section of a mechanism, and the decoding of every record
// read, whose polynomial is then evaluated across its range.

#include "fuzzcheck.h"
#include "simharness.h"

#include "thermoparser.h"

using namespace tarvelsim;

namespace {

void decodeAll(const std::vector<ThermoRecord>& records)
{
    for (const ThermoRecord& record : records) {
        ThermoData data;
        Diagnostic error;
        if (!ThermoParser::decode(record, data, error)) {
            FUZZ_CHECK(!error.reason.empty(), "a record refused says why");
            continue;
        }
        const NasaPolynomial& polynomial = data.polynomial;
        FUZZ_CHECK(polynomial.lowTemperature() > 0 && polynomial.lowTemperature() < polynomial.commonTemperature()
                       && polynomial.commonTemperature() < polynomial.highTemperature(),
                   "a decoded record's temperatures are in order");
        for (const double temperature : {polynomial.lowTemperature(), polynomial.commonTemperature(),
                                         polynomial.highTemperature(), 0.5 * polynomial.lowTemperature()}) {
            double cp = 0, enthalpy = 0, entropy = 0;
            polynomial.evaluate(temperature, cp, enthalpy, entropy);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> lines = SimHarness::lines(data, size);
    std::vector<ThermoRecord> records;
    Diagnostic error;
    if (!ThermoParser::readFile(lines, "fort.9", records, error))
        FUZZ_CHECK(!error.reason.empty(), "a database refused says why");
    decodeAll(records);

    std::vector<ThermoRecord> section;
    std::size_t index = 0;
    if (!ThermoParser::readSection(lines, index, "fort.4", section, error))
        FUZZ_CHECK(!error.reason.empty(), "a section refused says why");
    FUZZ_CHECK(index <= lines.size(), "a section ends inside the file");
    decodeAll(section);
    return 0;
}
