#pragma once

#include "mechanism.h"
#include "mixture.h"
#include "simulation.h"

#include <string>
#include <vector>

namespace tarvelsim {

// The lines of the output data file fort.29: a heading line of columns
// "t(s)", "T(K)", "P(bar)", "V(m^3)" and every species, then one line per
// sample, all in right-aligned fields of 18 characters that a plain strtod
// reads, each line ended by a line feed.
class OutputTable
{
public:
    enum class Unit { MoleFractions, MassFractions, Concentrations };
    static constexpr int fieldWidth = 18;

    OutputTable(const Mechanism &mechanism, Unit unit);

    std::string heading() const;
    std::string line(const Sample &sample) const;

private:
    Mixture m_mixture;
    std::vector<std::string> m_names;
    Unit m_unit;
    mutable std::vector<double> m_values;
};

} // namespace tarvelsim
