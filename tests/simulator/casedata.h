#pragma once

#include "mechanism.h"
#include "thermoparser.h"

#include <QString>

#include <string>
#include <vector>

// The CHEMKIN-II validation cases of openfoam-examples (h2, gri): their
// mechanism, thermo data and the reference results of the CHEMKIN-II closed
// reactor code. Every accessor reports why it failed, so that a test fails
// loudly when the data is missing.
class CaseData
{
public:
    struct Reference
    {
        double ignitionTime = 0.0;
        double finalTime = 0.0;
        double finalTemperature = 0.0;
    };

    // The closed-reactor input senk.inp: pressure (atm), temperature, end
    // time and the relative amounts of the REAC lines.
    struct ReactorInput
    {
        double pressureAtmospheres = 0.0;
        double temperature = 0.0;
        double endTime = 0.0;
        std::vector<std::pair<std::string, double>> amounts;
    };

    static QString folder(const QString &name);
    // The case's file, plain or gzip-compressed (chem.inp or chem.inp.gz).
    static bool readText(const QString &name, const QString &file, std::string &text, QString &why);
    static bool readLines(const QString &name, const QString &file, std::vector<std::string> &lines, QString &why);
    static bool thermo(const QString &name, std::vector<tarvelsim::ThermoRecord> &records, QString &why);
    static bool mechanism(const QString &name, tarvelsim::Mechanism &mechanism, QString &why);
    // "Ignition Time (sec) =" and the last "Time (sec) = ... T (K) = ..." of senk.out.gz.
    static bool reference(const QString &name, Reference &reference, QString &why);
    static bool reactorInput(const QString &name, ReactorInput &input, QString &why);
};
