#include "simharness.h"

#include "fuzzcheck.h"
#include "mechanismparser.h"
#include "textfile.h"

#include <cstdio>
#include <map>

using namespace tarvelsim;

namespace {

struct Case
{
    std::vector<ThermoRecord> thermo;
    Mechanism mechanism;
};

// The case's file, plain or gzip-compressed as openfoam-examples ships it.
std::vector<std::string> caseLines(const std::string& caseName, const std::string& file)
{
    std::string path = std::string(TARVEL_CHEMFOAM_DIR) + '/' + caseName + "/chemkin/" + file;
    if (!TextFile::exists(path))
        path += ".gz";
    std::vector<std::string> lines;
    Diagnostic error;
    if (!TextFile::readLines(path, lines, error)) {
        std::fprintf(stderr, "%s (is openfoam-examples installed?)\n", error.text().c_str());
        FUZZ_CHECK(false, "the CHEMKIN case loads");
    }
    return lines;
}

const Case& loadCase(const std::string& caseName)
{
    static std::map<std::string, Case> cases;
    const auto found = cases.find(caseName);
    if (found != cases.end())
        return found->second;
    Case& loaded = cases[caseName];
    Diagnostic error;
    const bool thermoRead = ThermoParser::readFile(caseLines(caseName, "therm.dat"), "fort.9", loaded.thermo, error);
    FUZZ_CHECK(thermoRead, "the case's thermo data reads");
    MechanismParser parser;
    const bool parsed =
        parser.parse(caseLines(caseName, "chem.inp"), "fort.4", loaded.thermo, "fort.9", true, loaded.mechanism, error);
    if (!parsed)
        std::fprintf(stderr, "%s\n", error.text().c_str());
    FUZZ_CHECK(parsed, "the case's mechanism parses");
    return loaded;
}

} // namespace

std::vector<std::string> SimHarness::lines(const std::uint8_t* data, std::size_t size)
{
    return lines(std::string(reinterpret_cast<const char*>(data), size));
}

std::vector<std::string> SimHarness::lines(const std::string& text)
{
    // As TextFile::readLines cuts a file: at each line feed, a carriage
    // return before it dropped, no empty line after a final line feed.
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        result.push_back(line);
        start = end + 1;
    }
    return result;
}

const std::vector<ThermoRecord>& SimHarness::thermo(const std::string& caseName)
{
    return loadCase(caseName).thermo;
}

const Mechanism& SimHarness::mechanism(const std::string& caseName)
{
    return loadCase(caseName).mechanism;
}
