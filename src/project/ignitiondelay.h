#ifndef TARVEL_IGNITIONDELAY_H
#define TARVEL_IGNITIONDELAY_H

// The ignition delay of a run, read from its output data for a chosen
// definition. Between two output steps the time is interpolated: a
// steepest rise or a peak from the parabola through the three points around
// the largest value, a threshold crossing linearly.
//
// A run that does not ignite has no delay: a peak or steepest rise must lie
// inside the run (one at its first or last step may lie beyond it), the
// quantity must rise, and for the steepest temperature rise the temperature
// must climb at least MinimumRise above its start; a threshold must be
// crossed.

#include "ignitiondefinition.h"
#include "outputfield.h"

#include <QList>
#include <QString>

#include <memory>
#include <vector>

class IgnitionDelay
{
public:
    using Fields = std::vector<std::unique_ptr<OutputField>>;

    // A temperature climbing less than this over a run is no ignition.
    static constexpr double MinimumRise = 50.0;

    struct Result
    {
        bool ignited = false;
        double time = 0.0;
        // Why there is no answer at all (a field missing); empty when the
        // run was judged, ignited or not.
        QString problem;
    };

    static Result compute(const Fields& fields, const QString& timeField, const IgnitionDefinition& definition);
    // "Ignition delay 2.177E-04 s (steepest temperature rise)", "No ignition
    // (...)", or the problem.
    static QString sentence(const Result& result, const IgnitionDefinition& definition);

    // The pieces, on a time vector and a value vector of the same run.
    static bool steepestRise(const QList<float>& time, const QList<float>& values, double* at);
    static bool peak(const QList<float>& time, const QList<float>& values, double* at);
    static bool crossing(const QList<float>& time, const QList<float>& values, double threshold, double* at);

    // The field of that name, the time field whatever the case of its name,
    // the temperature ("T(K)" or "T"); null when there is none.
    static const OutputField* field(const Fields& fields, const QString& name);
    static const OutputField* timeField(const Fields& fields, const QString& name);
    static const OutputField* temperature(const Fields& fields);
};

#endif
