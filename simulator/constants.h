#pragma once

// Physical constants in the units the CHEMKIN formats use: cgs with moles.
namespace tarvelsim {
namespace constants {

constexpr double gasConstant = 8.314462618e7;          // erg/(mol K)
constexpr double gasConstantCalories = 1.98720425864083; // cal/(mol K), thermochemical calorie
constexpr double joulesPerCalorie = 4.184;
constexpr double kelvinsPerElectronVolt = 11604.51812;
constexpr double avogadro = 6.02214076e23;               // 1/mol
constexpr double oneAtmosphere = 1.01325e6;              // dyn/cm^2, the thermo data's standard state
constexpr double oneBar = 1.0e6;                         // dyn/cm^2
constexpr double cubicCentimetresPerCubicMetre = 1.0e6;

} // namespace constants
} // namespace tarvelsim
