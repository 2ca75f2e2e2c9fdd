#ifndef TARVEL_FUZZ_SIMHARNESS_H
#define TARVEL_FUZZ_SIMHARNESS_H

// What the fuzz targets over the simulation code share: an input cut into
// lines as the programs cut a file, and the mechanisms and thermo data of the
// CHEMKIN cases (h2, gri), read once, for the readers that check a file
// against a mechanism. A case that does not load aborts: without it every
// input would test nothing.

#include "mechanism.h"
#include "thermoparser.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class SimHarness
{
public:
    // The lines of the bytes as TextFile::readLines gives them for a file.
    static std::vector<std::string> lines(const std::uint8_t* data, std::size_t size);
    static std::vector<std::string> lines(const std::string& text);
    // "h2" or "gri".
    static const std::vector<tarvelsim::ThermoRecord>& thermo(const std::string& caseName);
    static const tarvelsim::Mechanism& mechanism(const std::string& caseName);
};

#endif
