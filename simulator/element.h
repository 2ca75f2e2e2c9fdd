#pragma once

#include <string>

namespace tarvelsim {

// A chemical element of a mechanism's ELEMENTS section.
struct Element
{
    std::string symbol; // as the mechanism writes it, e.g. "AR"
    double weight = 0.0; // g/mol
};

} // namespace tarvelsim
