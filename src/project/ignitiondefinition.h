#ifndef TARVEL_IGNITIONDEFINITION_H
#define TARVEL_IGNITIONDEFINITION_H

// Which event of a run counts as its ignition. Kinetics codes and papers
// use several, whose values differ: a delay is only worth quoting with its
// definition. Written as text for the settings store and the command line:
// "dTdt", "deltaT:400", "peak:OH", "rise:OH".

#include <QString>

class IgnitionDefinition
{
public:
    enum Kind {
        SteepestTemperatureRise, // the time of the largest dT/dt
        TemperatureRise, // the time T first exceeds its initial value by deltaT
        SpeciesPeak, // the time of the species' maximum
        SpeciesSteepestRise, // the time of the species' largest rise per time
    };

    static constexpr double DefaultDeltaT = 400.0;
    // The key of the project's settings store under which the definition
    // the user chose travels with the project.
    static constexpr const char* SettingsKey = "Ignition/definition";

    IgnitionDefinition() = default;
    IgnitionDefinition(Kind kind, double deltaT, const QString& species);

    Kind kind() const { return m_kind; }
    double deltaT() const { return m_deltaT; }
    QString species() const { return m_species; }
    bool needsSpecies() const { return m_kind == SpeciesPeak || m_kind == SpeciesSteepestRise; }

    // False, and the definition unchanged, for any other text: a ΔT that is
    // not a positive number, a species name that is empty.
    [[nodiscard]] static bool parse(const QString& text, IgnitionDefinition* definition);
    QString toString() const;
    // In words, as the results page and the command line say it:
    // "steepest temperature rise", "temperature 400 K above its initial
    // value", "peak of OH", "steepest rise of OH".
    QString description() const;

    bool operator==(const IgnitionDefinition& other) const;
    bool operator!=(const IgnitionDefinition& other) const { return !(*this == other); }

private:
    Kind m_kind = SteepestTemperatureRise;
    double m_deltaT = DefaultDeltaT;
    QString m_species;
};

#endif
