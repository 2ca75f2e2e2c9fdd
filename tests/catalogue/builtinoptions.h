#ifndef TARVEL_TESTS_BUILTINOPTIONS_H
#define TARVEL_TESTS_BUILTINOPTIONS_H

// The groups, options and conditions of the built-in option structure
// document in document order, as the document must hold them: texts,
// children and values before the loader adds its on and off values. The
// details are given without the line break tag the loader appends.

#include <vector>

struct BuiltInGroup
{
    const char16_t* name;
    const char16_t* text;
};

struct BuiltInValue
{
    const char16_t* value;
    const char16_t* text;
    const char16_t* detail;
};

struct BuiltInOption
{
    const char16_t* group;
    int kind; // 1 option, 2 condition
    int type; // 1 menu, 2 field
    const char16_t* name;
    const char16_t* text;
    const char16_t* defaultValue;
    const char16_t* inputMask;
    const char16_t* detail;
    std::vector<BuiltInValue> values;
};

inline const BuiltInGroup kBuiltInGroups[] = {
    {u"CHEM", u"Chemical system"},
    {u"SENS", u"Computation of Sensivity Coefficients"},
    {u"FLOW", u"Computation of Chemical Flows"},
    {u"OTHER", u"Other options"},
    {u"OUTPARAMS", u"Output parameters"},
    {u"ICTRL", u"Integration control parameters"},
};

inline const std::vector<BuiltInOption> kBuiltInOptions = {
    {u"CHEM", 1, 1, u"VPRO", u"Volume profile specified", u"off", u"",
     u"If this option is chosen, it is assumed that the volume is a known function of time (if it is constant, that would correspond to an isochoric system). If the option VPRO is not specified, it is assumed that the pressure is a given function of time.",
     {}},
    {u"CHEM", 1, 1, u"TPRO", u"Temperature profile specified", u"off", u"",
     u"If this option is chosen, it is assumed that the temperature is a known function of time (if it is constant, that would correspond to an isothermal system). If the option TPRO is not specified, it is assumed that the system is adiabatic.",
     {}},
    {u"SENS", 1, 1, u"GSENS", u"Calculation of global sensitivities", u"off", u"",
     u"Results are calculated for species marked with ‘*’ in species list and with respect to all reactions. At the end of the computation the results are stored in ‘fort.88’.",
     {}},
    {u"SENS", 1, 1, u"LSENS", u"Calculation of local sensitivities", u"off", u"",
     u"Results are calculated for all reactions marked with ‘*’ in the reaction mechanism (write the ‘*’ at position 45 in the mechanism!. Results are stored in ‘fort.88’ at the end of the computation. Do not combine with ‘TSO’ option!!!",
     {{u"1", u"Marked Species", u"Species marked with ‘*’ in species list"}, {u"2", u"All Species", u"Output for all species"}}},
    {u"SENS", 1, 1, u"ISENS", u"Calculation of local sensitivities with repect to Initial Values", u"off", u"",
     u"Results are calculated with respect to INITIAL VALUES for all reactions marked with ‘*’ in the reaction mechanism (write the ‘*’ at position 45 in the mechanism!. Results are stored in ‘fort.88’ at the end of the computation. Do not combine with ‘TSO’ option!!!",
     {{u"1", u"First 28 Species", u"Output for the first 28 species of the species input block"}, {u"2", u"All Species", u"Output for all species. A very large output file may occur!"}}},
    {u"FLOW", 1, 1, u"STOM", u"Mechanism analysis performed", u"off", u"",
     u"",
     {{u"1", u"integr. rates at TEND", u"with integrated rates at TEND"}, {u"2", u"integr. rates each step", u"integrated rates at each time step"}, {u"3", u"integr. r. at TEND / local r. each step", u"integrated rates at TEND and local rates at time steps"}, {u"4", u"integr. and loacal rate each step", u"integrated rates and local rates at all steps"}}},
    {u"OTHER", 1, 1, u"EXTRA", u"Use integration routine LIMEX", u"off", u"",
     u"Extrapolation code Limex used for the integration (otherwise BDF code DASSL).",
     {}},
    {u"OTHER", 1, 1, u"REVSIM", u"Reverse reaction rates at every time step", u"off", u"",
     u"Calculation\tof the\treverse reaction rates [ki, rev(t, T)] at every time step and for every gas temperature. Without setting this option the reverse reaction rates and hense the Arrhenius parameters for the reverse reactions will be calculated in the pre-processing step (TARINP)",
     {}},
    {u"OTHER", 1, 1, u"NOCH", u"No check for duplicate reactions", u"off", u"",
     u"No check of the mechanism for duplicate reactions",
     {}},
    {u"OTHER", 1, 1, u"NOME", u"No output of mechanism", u"off", u"",
     u"No output of mechanism if option 'TSO' is specified",
     {}},
    {u"OTHER", 1, 1, u"WALL", u"Time-dependent wall heat transfer", u"off", u"",
     u"Modellin of the global time-dependent wall heat transfer (dQ/dt) using newton heat transfer equation.",
     {{u"1", u"Constant heat transfer", u"Heat transfer coefficient (α) is constant"}, {u"2", u"Heat transfer after Woschni (compresseion)", u"Time-dependent heat tranfer is calculated with the Woschni equation for the compresseion stroke"}, {u"3", u"Heat transfer after Hohenberg", u"Time-dependent heat tranfer is calculated with the Hohenberg equation"}, {u"4", u"Time-dependent heat transfer after Woschni (gas exchange)", u"Time-dependent heat tranfer is calculated with the Woschni equation for the gas exchange stroke"}}},
    {u"OTHER", 1, 1, u"BLOWBY", u"Time-dependent mass loss (dm/dt)", u"off", u"",
     u"Taken into account the mass loss by Blowby solving the flow equation of St.Venant and Wantzel",
     {{u"1", u"Enabled", u""}, {u"2", u"Enabled with output", u"Additional output of the mass loss by Blowby for each time step to file ‘fort.31’. Additional output of the mass loss change data to ‘fort.37’"}}},
    {u"OTHER", 1, 1, u"CENTER", u"Autoignition center at its dynamic effect", u"off", u"",
     u"Modeling an autoignition center at its dynamic effect to compute the behaviour of a local autoignition center (kernel) in a combustible mixture.",
     {{u"1", u"Planar", u"The exothermic center geometry is planar"}, {u"2", u"Cylindrical", u"The exothermic center geometry is cylindrical"}, {u"3", u"Spherical", u"The exothermic center geometry is spherical"}}},
    {u"OTHER", 1, 2, u"TIGN", u"Induction time for species #", u"8", u"000",
     u"Induction time calculated from profile of species #. This option has been included for convenience in order to obtain ignition delay times.",
     {}},
    {u"OTHER", 1, 1, u"TRANSP", u"Thermodynamic and transport properties", u"off", u"",
     u"Calculation of thermodynamic and transport properties: heat conductivities, viscosities and binary diffusion coefficients.",
     {}},
    {u"OTHER", 1, 1, u"COMPLX", u"Complex wall surface reactions", u"off", u"",
     u"Considers complex wall surface reactions.",
     {}},
    {u"OTHER", 1, 1, u"MOLE", u"Species output units", u"off", u"",
     u"Mole fractions, Mass fractions or Concentrations (disabled)",
     {{u"1", u"Mole fractions", u"Mole fractions (X)"}, {u"2", u"Mass fractions", u"Mass fractions (Y)"}}},
    {u"OUTPARAMS", 2, 2, u"TSTA", u"First time at which an output is desired [s]", u"0", u"#00.00E#00",
     u"",
     {}},
    {u"OUTPARAMS", 2, 2, u"TEND", u"Final time of calculation [s]", u"1.00E+04", u"#00.00E#00",
     u"",
     {}},
    {u"OUTPARAMS", 2, 2, u"NT", u"Number of timesteps used for output [1]", u"20", u"#00.00E#00",
     u"The simulation is always performed from t=0 to t=TEND. NT denotes the number of timesteps which are used for output. They do by no means influence the internal order and stepsize control of the integrator (Thus it can happen, that due to very large internal timesteps, some outputs are omitted). If NT is negative, the code will return the solution for each NT-th internal timestep.",
     {}},
    {u"OUTPARAMS", 2, 2, u"S/V", u"Surface-volume ratio [1]", u"2.38E+02", u"#00.00E#00",
     u"In the case of Woschni equation (option WALL)",
     {}},
    {u"OUTPARAMS", 2, 2, u"TSURR", u"Surface temperature [K]", u"3.00E+02", u"#00.00E#00",
     u"In the case of Woschni equation (option WALL)",
     {}},
    {u"OUTPARAMS", 2, 2, u"C", u"Heat transfer parameter α [W/(m^2*K)]", u"2.00E+03", u"#00.00E#00",
     u"In the case of Woschni equation (option WALL)",
     {}},
    {u"OUTPARAMS", 2, 2, u"VPIST", u"Mean piston velocity [m/s]", u"2.00E+03", u"#00.00E#00",
     u"In the case of Woschni equation (option WALL)",
     {}},
    {u"OUTPARAMS", 2, 2, u"FLOWPA", u"Mean piston velocity [m/s]", u"2.00E+03", u"#00.00E#00",
     u"The calculation of mass losses by Blowby in St.Venant and Wantzel equation (BLOWBY option)",
     {}},
    {u"ICTRL", 2, 2, u"STEP", u"Initial step size guess", u"1.0E-07", u"#00.00E#00",
     u"",
     {}},
    {u"ICTRL", 2, 2, u"RTOL", u"Relative error tolerance", u"1.0E-04", u"#00.00E#00",
     u"",
     {}},
    {u"ICTRL", 2, 2, u"ATOL", u"Absolute error tolerance", u"1.0E-09", u"#00.00E#00",
     u"",
     {}},
    {u"ICTRL", 2, 2, u"RTOS", u"Relative error tolerance for sensitivity coeff.", u"0", u"#00.00E#00",
     u"",
     {}},
    {u"ICTRL", 2, 2, u"ATOS", u"Absolute error tolerance for sensitivity coeff.", u"0", u"#00.00E#00",
     u"",
     {}},
};

#endif
