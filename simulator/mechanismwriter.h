#pragma once

#include "mechanism.h"

#include <string>

namespace tarvelsim {

// Writes a mechanism back as self-contained CHEMKIN-II text: elements with
// their weights, species, THERMO ALL with every species' record, and the
// reactions in MOLES and KELVINS with every number at full precision. The
// preprocessor hands this text to the integrator, which reads it with the same
// parser, so a prepared mechanism is still a file a person can read and reuse.
class MechanismWriter
{
public:
    static std::string write(const Mechanism &mechanism);
};

} // namespace tarvelsim
