#pragma once

#include "diagnostic.h"
#include "mechanism.h"
#include "simulation.h"

#include <string>
#include <vector>

namespace tarvelsim {

// The profile blocks of the computation file fort.18, one per output sample,
// each the full state a run can restart from:
//
//   >DATA
//   TIME (S)  1.234E-04     5.000E-08      time and last step size
//   TEMPERATURE (K)        1.0000000000000000E+03
//   PRESSURE (BAR)         2.0265000000000000E+00
//   VOLUME (M^3)           1.0000000000000000E+00
//   MASS FRACTIONS         10                    then one line per species
//   H2                     2.8521346420380939E-02
//   <
//
// Amounts are mass fractions at full double precision, so a restart sees the
// state the run had, not its rounded print. The front end finds a block by its
// k-th ">DATA" and resets the rest of the first line holding "TIME", so that
// word leads the time line and ">DATA" appears nowhere else.
class ProfileBlock
{
public:
    static std::string format(const Sample &sample, const Mechanism &mechanism);

    // The state of the last block in the text of fort.18. found is false (and
    // the result true) when the text holds no block.
    [[nodiscard]] static bool readLast(const std::vector<std::string> &lines, const std::string &file,
                                       const Mechanism &mechanism, bool &found, ReactorState &state,
                                       Diagnostic &error);
};

} // namespace tarvelsim
