#include "outputtable.h"

#include "constants.h"
#include "strings.h"

namespace tarvelsim {

OutputTable::OutputTable(const Mechanism &mechanism, Unit unit) : m_mixture(mechanism), m_unit(unit)
{
    for (const Species &species : mechanism.species)
        m_names.push_back(species.name);
    m_values.resize(m_names.size());
}

std::string OutputTable::heading() const
{
    std::string text;
    for (const char *name : {"t(s)", "T(K)", "P(bar)", "V(m^3)"})
        text += Strings::format("%18s", name);
    for (const std::string &name : m_names)
        text += Strings::format("%18.18s", name.c_str());
    return text + '\n';
}

std::string OutputTable::line(const Sample &sample) const
{
    const ReactorState &state = sample.state;
    std::string text = Strings::format("%18.9E%18.9E%18.9E%18.9E", sample.time, state.temperature, state.pressure,
                                       state.volume);
    const double *y = state.massFractions.data();
    switch (m_unit) {
    case Unit::MoleFractions:
        m_mixture.moleFractions(y, m_values.data());
        break;
    case Unit::MassFractions:
        m_values = state.massFractions;
        break;
    case Unit::Concentrations: {
        const double density = m_mixture.density(state.temperature, state.pressure * constants::oneBar, y);
        const std::vector<double> &weights = m_mixture.weights();
        for (size_t k = 0; k < weights.size(); ++k)
            m_values[k] = density * y[k] / weights[k];
        break;
    }
    }
    for (double value : m_values)
        text += Strings::format("%18.9E", value);
    return text + '\n';
}

} // namespace tarvelsim
