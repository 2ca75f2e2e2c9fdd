#pragma once

#include "diagnostic.h"
#include "nasapolynomial.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace tarvelsim {

// One species' four lines of a THERMO block, kept as text until a mechanism
// asks for the species: databases hold hundreds of species a mechanism never
// uses, and a flaw in one of those must not stop a run.
struct ThermoRecord
{
    std::string name;                 // as written, e.g. "AR"
    std::array<std::string, 4> lines;
    std::string file;
    int line = 0;                     // line number of the first line
    double defaultCommonTemperature = 1000.0;
};

// What a record holds once decoded.
struct ThermoData
{
    std::string name;
    std::vector<std::pair<std::string, double>> composition; // element symbol, atoms
    char phase = 'G';
    NasaPolynomial polynomial;
};

// Reads the fixed-column NASA 7-coefficient THERMO format: a "THERMO" line
// (optionally "THERMO ALL"), the line of common temperatures, records of four
// lines (name, elements, phase and temperature range in columns 1-80, then the
// upper range's seven coefficients and the lower range's seven in fields of
// 15), and "END".
class ThermoParser
{
public:
    // A whole thermo file (fort.9). The THERMO line may be missing.
    [[nodiscard]] static bool readFile(const std::vector<std::string> &lines, const std::string &file,
                                       std::vector<ThermoRecord> &records, Diagnostic &error);
    // A THERMO section inside a mechanism, starting after its keyword line at
    // index; on return index is the line after the section (its END line, or the
    // next section's keyword line, which is not consumed).
    [[nodiscard]] static bool readSection(const std::vector<std::string> &lines, size_t &index,
                                          const std::string &file, std::vector<ThermoRecord> &records,
                                          Diagnostic &error);
    [[nodiscard]] static bool decode(const ThermoRecord &record, ThermoData &data, Diagnostic &error);
};

} // namespace tarvelsim
