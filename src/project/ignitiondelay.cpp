#include "ignitiondelay.h"

#include <algorithm>
#include <cmath>

namespace {

// The vertex of the parabola through three points, in the span of the
// outer two; the middle point when they make no downward parabola. Taken
// relative to the middle point: the times of a run differ in their last
// digits only.
double vertex(double x0, double y0, double x1, double y1, double x2, double y2)
{
    const double a = x0 - x1;
    const double b = x2 - x1;
    const double p = y0 - y1;
    const double q = y2 - y1;
    // y - y1 = c2 (x - x1)^2 + c1 (x - x1)
    const double denominator = a * b * (a - b);
    if (denominator == 0.0)
        return x1;
    const double c2 = (p * b - q * a) / denominator;
    const double c1 = (q * a * a - p * b * b) / denominator;
    if (!(c2 < 0.0))
        return x1;
    const double offset = -c1 / (2.0 * c2);
    return std::clamp(x1 + offset, std::min(x0, x2), std::max(x0, x2));
}

bool usable(float value)
{
    return std::isfinite(value);
}

} // namespace

bool IgnitionDelay::steepestRise(const QList<float>& time, const QList<float>& values, double* at)
{
    // The rate between each pair of neighbouring steps, placed at the
    // middle of the pair; the first largest rate and its neighbours are
    // kept as they pass. One pass and no copy: this runs at every poll of a
    // run, over all its steps.
    struct Rate
    {
        double middle = 0.0;
        double rate = 0.0;
    };
    const qsizetype count = std::min(time.size(), values.size());
    Rate previous;
    Rate before;
    Rate best;
    Rate after;
    qsizetype rates = 0;
    bool first = true; // the largest rate is the first one
    bool awaitingNext = false; // no rate after the largest yet
    for (qsizetype i = 0; i + 1 < count; ++i) {
        const double dt = double(time.at(i + 1)) - double(time.at(i));
        if (!(dt > 0.0) || !usable(values.at(i)) || !usable(values.at(i + 1)))
            continue;
        const Rate current{(double(time.at(i)) + double(time.at(i + 1))) / 2.0,
                           (double(values.at(i + 1)) - double(values.at(i))) / dt};
        if (rates == 0 || current.rate > best.rate) {
            before = previous;
            best = current;
            first = rates == 0;
            awaitingNext = true;
        } else if (awaitingNext) {
            after = current;
            awaitingNext = false;
        }
        previous = current;
        ++rates;
    }
    if (rates < 3 || !(best.rate > 0.0) || first || awaitingNext)
        return false;
    *at = vertex(before.middle, before.rate, best.middle, best.rate, after.middle, after.rate);
    return true;
}

bool IgnitionDelay::peak(const QList<float>& time, const QList<float>& values, double* at)
{
    const qsizetype count = std::min(time.size(), values.size());
    qsizetype k = -1;
    for (qsizetype i = 0; i < count; ++i) {
        if (usable(values.at(i)) && (k < 0 || values.at(i) > values.at(k)))
            k = i;
    }
    // A maximum at either end is no peak: the run may have stopped before
    // it, or begun after it.
    if (k <= 0 || k + 1 >= count || !usable(values.at(k - 1)) || !usable(values.at(k + 1))
        || !(values.at(k) > values.at(0)))
        return false;
    *at = vertex(time.at(k - 1), values.at(k - 1), time.at(k), values.at(k), time.at(k + 1), values.at(k + 1));
    return true;
}

bool IgnitionDelay::crossing(const QList<float>& time, const QList<float>& values, double threshold, double* at)
{
    const qsizetype count = std::min(time.size(), values.size());
    for (qsizetype i = 1; i < count; ++i) {
        if (!(double(values.at(i)) > threshold))
            continue;
        const double before = values.at(i - 1);
        const double after = values.at(i);
        const double t0 = time.at(i - 1);
        const double t1 = time.at(i);
        *at = before < threshold && usable(values.at(i - 1)) ? t0 + (threshold - before) * (t1 - t0) / (after - before)
                                                             : t0;
        return true;
    }
    return false;
}

const OutputField* IgnitionDelay::field(const Fields& fields, const QString& name)
{
    for (const auto& candidate : fields) {
        if (candidate->name == name)
            return candidate.get();
    }
    return nullptr;
}

const OutputField* IgnitionDelay::timeField(const Fields& fields, const QString& name)
{
    if (name.isEmpty())
        return nullptr;
    for (const auto& candidate : fields) {
        if (candidate->name.compare(name, Qt::CaseInsensitive) == 0)
            return candidate.get();
    }
    return nullptr;
}

const OutputField* IgnitionDelay::temperature(const Fields& fields)
{
    for (const auto& candidate : fields) {
        if (candidate->name == QLatin1String("T") || candidate->name.startsWith(QLatin1String("T(")))
            return candidate.get();
    }
    return nullptr;
}

IgnitionDelay::Result IgnitionDelay::compute(const Fields& fields, const QString& timeName,
                                             const IgnitionDefinition& definition)
{
    Result result;
    const OutputField* time = timeField(fields, timeName);
    if (!time) {
        result.problem = QStringLiteral("the output data has no time field");
        return result;
    }
    const OutputField* values = nullptr;
    if (definition.needsSpecies()) {
        values = field(fields, definition.species());
        if (!values)
            result.problem = QStringLiteral("the output data has no field \"%1\"").arg(definition.species());
    } else {
        values = temperature(fields);
        if (!values)
            result.problem = QStringLiteral("the output data has no temperature field");
    }
    if (!values || values->values.isEmpty())
        return result;
    const QList<float>& t = time->values;
    const QList<float>& y = values->values;
    switch (definition.kind()) {
    case IgnitionDefinition::SteepestTemperatureRise: {
        const float highest = *std::max_element(y.cbegin(), y.cend());
        result.ignited = double(highest) - double(y.first()) >= MinimumRise && steepestRise(t, y, &result.time);
        break;
    }
    case IgnitionDefinition::TemperatureRise:
        result.ignited = crossing(t, y, double(y.first()) + definition.deltaT(), &result.time);
        break;
    case IgnitionDefinition::SpeciesPeak:
        result.ignited = peak(t, y, &result.time);
        break;
    case IgnitionDefinition::SpeciesSteepestRise:
        result.ignited = steepestRise(t, y, &result.time);
        break;
    }
    if (!result.ignited)
        result.time = 0.0;
    return result;
}

QString IgnitionDelay::sentence(const Result& result, const IgnitionDefinition& definition)
{
    if (!result.problem.isEmpty())
        return QStringLiteral("No ignition delay: %1").arg(result.problem);
    if (!result.ignited)
        return QStringLiteral("No ignition (%1)").arg(definition.description());
    return QStringLiteral("Ignition delay %1 s (%2)")
        .arg(QString::asprintf("%.3E", result.time), definition.description());
}
