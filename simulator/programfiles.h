#pragma once

namespace tarvelsim {

// The files the two programs share with the front end and with each other,
// all in the directory they are started in.
struct ProgramFiles
{
    static constexpr const char *runDescription = "fort.2";
    static constexpr const char *mechanism = "fort.4";
    static constexpr const char *thermo = "fort.9";
    static constexpr const char *computation = "fort.18";
    static constexpr const char *outputData = "fort.29";
    // Written by tarinp.x for tarrun.x: the checked mechanism with its thermo
    // data, as CHEMKIN text.
    static constexpr const char *preparedMechanism = "tarmech.inp";
    // The failure sentence the front end looks for; normal output never
    // contains it.
    static constexpr const char *failure = "ABNORMAL END";
    static constexpr const char *success = "CONGRATULATION  -  SIMULATION WAS SUCCESSFUL";
};

} // namespace tarvelsim
