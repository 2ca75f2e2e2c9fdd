#pragma once

#include "nasapolynomial.h"

#include <string>
#include <utility>
#include <vector>

namespace tarvelsim {

// A species of a mechanism with the composition and thermo data taken from
// its thermo record.
struct Species
{
    std::string name;
    std::vector<std::pair<int, double>> composition; // element index, atoms
    double weight = 0.0;                             // g/mol
    NasaPolynomial thermo;
    char phase = 'G';
    int line = 0; // where the SPECIES section names it

    double atoms(int element) const
    {
        for (const auto &entry : composition) {
            if (entry.first == element)
                return entry.second;
        }
        return 0.0;
    }
};

} // namespace tarvelsim
