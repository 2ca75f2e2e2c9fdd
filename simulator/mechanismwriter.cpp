#include "mechanismwriter.h"

#include "strings.h"

#include <cmath>
#include <cstdlib>

namespace tarvelsim {

namespace {

// The shortest text that reads back as the same double.
std::string number(double value)
{
    for (int digits = 15; digits < 17; ++digits) {
        const std::string text = Strings::format("%.*g", digits, value);
        if (std::strtod(text.c_str(), nullptr) == value)
            return text;
    }
    return Strings::format("%.17g", value);
}

std::string parameters(const Arrhenius &rate)
{
    return number(rate.a) + ' ' + number(rate.b) + ' ' + number(rate.e);
}

// One thermo record in the fixed columns the reader expects. Coefficients
// read from E15.8 fields come back unchanged at the same width.
std::string thermoRecord(const Mechanism &mechanism, const Species &species)
{
    std::string elements;
    std::string fifth;
    for (size_t i = 0; i < species.composition.size(); ++i) {
        const auto &entry = species.composition[i];
        const std::string symbol = mechanism.elements[static_cast<size_t>(entry.first)].symbol;
        const double atoms = entry.second;
        const std::string count = atoms == std::floor(atoms) ? Strings::format("%3d", static_cast<int>(atoms))
                                                             : Strings::format("%3.3g", atoms).substr(0, 3);
        const std::string field = Strings::format("%-2.2s%3s", symbol.c_str(), count.c_str());
        if (i < 4)
            elements += field;
        else
            fifth = field;
    }
    const NasaPolynomial &p = species.thermo;
    std::string first = Strings::format("%-18.18s%-6s%-20.20s%c%10.4f%10.4f%8.2f%-5.5s 1", species.name.c_str(), "",
                                        elements.c_str(), species.phase, p.lowTemperature(), p.highTemperature(),
                                        p.commonTemperature(), fifth.c_str());
    const NasaPolynomial::Coefficients &h = p.highRange();
    const NasaPolynomial::Coefficients &l = p.lowRange();
    std::string text = first + '\n';
    text += Strings::format("%15.8E%15.8E%15.8E%15.8E%15.8E    2\n", h[0], h[1], h[2], h[3], h[4]);
    text += Strings::format("%15.8E%15.8E%15.8E%15.8E%15.8E    3\n", h[5], h[6], l[0], l[1], l[2]);
    text += Strings::format("%15.8E%15.8E%15.8E%15.8E                   4\n", l[3], l[4], l[5], l[6]);
    return text;
}

} // namespace

std::string MechanismWriter::write(const Mechanism &mechanism)
{
    std::string text = "! Mechanism prepared by tarinp.x: energies in kelvins, rate constants in mol-cm-s.\n";
    text += "ELEMENTS\n";
    for (const Element &element : mechanism.elements)
        text += element.symbol + '/' + number(element.weight) + "/\n";
    text += "END\nSPECIES\n";
    for (const Species &species : mechanism.species)
        text += species.name + '\n';
    text += "END\nTHERMO ALL\n";
    text += "   300.000  1000.000  5000.000\n";
    for (const Species &species : mechanism.species)
        text += thermoRecord(mechanism, species);
    text += "END\nREACTIONS MOLES KELVINS\n";
    for (const Reaction &reaction : mechanism.reactions) {
        text += reaction.equation(mechanism.species) + ' ' + parameters(reaction.rate) + '\n';
        if (!reaction.efficiencies.empty()) {
            std::string line;
            for (const auto &entry : reaction.efficiencies)
                line += mechanism.species[static_cast<size_t>(entry.first)].name + '/' + number(entry.second) + "/ ";
            text += "    " + Strings::trimmed(line) + '\n';
        }
        if (reaction.hasLowPressure)
            text += "    LOW /" + parameters(reaction.lowPressure) + "/\n";
        if (reaction.form != Reaction::FalloffForm::Lindemann) {
            std::string line = reaction.form == Reaction::FalloffForm::Troe ? "    TROE /" : "    SRI /";
            for (size_t i = 0; i < reaction.falloffParameters.size(); ++i)
                line += (i ? " " : "") + number(reaction.falloffParameters[i]);
            text += line + "/\n";
        }
        if (reaction.hasReverseRate)
            text += "    REV /" + parameters(reaction.reverseRate) + "/\n";
        if (reaction.duplicate)
            text += "    DUPLICATE\n";
    }
    text += "END\n";
    return text;
}

} // namespace tarvelsim
