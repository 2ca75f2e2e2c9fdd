#include "ignitiondefinition.h"

#include <QLocale>

#include <cmath>

namespace {

QString number(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

IgnitionDefinition::IgnitionDefinition(Kind kind, double deltaT, const QString& species)
    : m_kind(kind)
    , m_deltaT(deltaT)
    , m_species(species.trimmed())
{
}

bool IgnitionDefinition::parse(const QString& text, IgnitionDefinition* definition)
{
    const QString trimmed = text.trimmed();
    const qsizetype colon = trimmed.indexOf(QLatin1Char(':'));
    const QString head = colon < 0 ? trimmed : trimmed.left(colon);
    const QString tail = colon < 0 ? QString() : trimmed.mid(colon + 1).trimmed();
    IgnitionDefinition parsed;
    if (head.compare(QLatin1String("dTdt"), Qt::CaseInsensitive) == 0 && colon < 0) {
        parsed.m_kind = SteepestTemperatureRise;
    } else if (head.compare(QLatin1String("deltaT"), Qt::CaseInsensitive) == 0) {
        bool ok = colon < 0;
        const double rise = colon < 0 ? DefaultDeltaT : QLocale::c().toDouble(tail, &ok);
        if (!ok || !(rise > 0.0) || !std::isfinite(rise))
            return false;
        parsed.m_kind = TemperatureRise;
        parsed.m_deltaT = rise;
    } else if (head.compare(QLatin1String("peak"), Qt::CaseInsensitive) == 0
               || head.compare(QLatin1String("rise"), Qt::CaseInsensitive) == 0) {
        if (tail.isEmpty())
            return false;
        parsed.m_kind =
            head.compare(QLatin1String("peak"), Qt::CaseInsensitive) == 0 ? SpeciesPeak : SpeciesSteepestRise;
        parsed.m_species = tail;
    } else {
        return false;
    }
    *definition = parsed;
    return true;
}

QString IgnitionDefinition::toString() const
{
    switch (m_kind) {
    case TemperatureRise:
        return QStringLiteral("deltaT:") + number(m_deltaT);
    case SpeciesPeak:
        return QStringLiteral("peak:") + m_species;
    case SpeciesSteepestRise:
        return QStringLiteral("rise:") + m_species;
    case SteepestTemperatureRise:
        break;
    }
    return QStringLiteral("dTdt");
}

QString IgnitionDefinition::description() const
{
    switch (m_kind) {
    case TemperatureRise:
        return QStringLiteral("temperature %1 K above its initial value").arg(number(m_deltaT));
    case SpeciesPeak:
        return QStringLiteral("peak of %1").arg(m_species);
    case SpeciesSteepestRise:
        return QStringLiteral("steepest rise of %1").arg(m_species);
    case SteepestTemperatureRise:
        break;
    }
    return QStringLiteral("steepest temperature rise");
}

bool IgnitionDefinition::operator==(const IgnitionDefinition& other) const
{
    return m_kind == other.m_kind && (m_kind != TemperatureRise || m_deltaT == other.m_deltaT)
           && (!needsSpecies() || m_species == other.m_species);
}
