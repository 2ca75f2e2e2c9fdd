#pragma once

#include "timeprofile.h"

namespace tarvelsim {

// What holds the closed reactor's gas: constant pressure or a volume (held or
// imposed over time), adiabatic or a temperature (held or imposed), and an
// optional heat loss through the wall by a constant heat transfer
// coefficient. Units as the run description gives them.
struct ReactorModel
{
    bool constantVolume = false; // VPRO
    bool isothermal = false; // TPRO
    TimeProfile volume; // m^3 over s (VPROFILE); empty: held
    TimeProfile temperature; // K over s (TPROFILE); empty: held
    bool wallHeatLoss = false; // WALL 1
    double heatTransferCoefficient = 0.0; // C, W/(m^2 K)
    double surfaceToVolume = 0.0; // S/V, 1/m
    double surroundingTemperature = 0.0; // TSURR, K
};

} // namespace tarvelsim
