#include "profileblock.h"

#include "strings.h"

namespace tarvelsim {

namespace {

const char *const startMarker = ">DATA";

bool readValue(const std::string &line, const std::string &file, int number, double &value, Diagnostic &error)
{
    const std::vector<std::string> words = Strings::words(line);
    if (words.empty() || !Strings::toNumber(words.back(), value)) {
        error = Diagnostic(file, number, "the profile line \"" + Strings::trimmed(line) + "\" does not end with a number");
        return false;
    }
    return true;
}

} // namespace

std::string ProfileBlock::format(const Sample &sample, const Mechanism &mechanism)
{
    std::string text = std::string(startMarker) + '\n';
    text += Strings::format("TIME (S)  %9.3E     %9.3E\n", sample.time, sample.lastStep);
    const ReactorState &state = sample.state;
    text += Strings::format("%-22s %.16E\n", "TEMPERATURE (K)", state.temperature);
    text += Strings::format("%-22s %.16E\n", "PRESSURE (BAR)", state.pressure);
    text += Strings::format("%-22s %.16E\n", "VOLUME (M^3)", state.volume);
    text += Strings::format("%-22s %zu\n", "MASS FRACTIONS", mechanism.species.size());
    for (size_t k = 0; k < mechanism.species.size(); ++k)
        text += Strings::format("%-22s %.16E\n", mechanism.species[k].name.c_str(), state.massFractions[k]);
    return text + "<\n";
}

bool ProfileBlock::readLast(const std::vector<std::string> &lines, const std::string &file, const Mechanism &mechanism,
                            bool &found, ReactorState &state, Diagnostic &error)
{
    found = false;
    size_t start = lines.size();
    for (size_t i = lines.size(); i-- > 0;) {
        if (Strings::trimmed(lines[i]) == startMarker) {
            start = i;
            break;
        }
    }
    if (start == lines.size())
        return true;
    found = true;
    state = ReactorState();
    state.massFractions.assign(mechanism.species.size(), 0.0);
    bool temperature = false, pressure = false, volume = false, closed = false;
    for (size_t i = start + 1; i < lines.size(); ++i) {
        const int number = static_cast<int>(i + 1);
        const std::string line = Strings::trimmed(lines[i]);
        if (line.empty())
            continue;
        if (line[0] == '<') {
            closed = true;
            break;
        }
        // Label lines have three words, species lines two: a species named
        // like a label cannot be mistaken for it.
        const std::vector<std::string> words = Strings::words(line);
        const std::string label = Strings::upper(words.front());
        if ((label == "TIME" && words.size() > 2) || (label == "MASS" && words.size() == 3))
            continue;
        if (words.size() == 3 && label == "TEMPERATURE") {
            if (!readValue(line, file, number, state.temperature, error))
                return false;
            temperature = true;
        } else if (words.size() == 3 && label == "PRESSURE") {
            if (!readValue(line, file, number, state.pressure, error))
                return false;
            pressure = true;
        } else if (words.size() == 3 && label == "VOLUME") {
            if (!readValue(line, file, number, state.volume, error))
                return false;
            volume = true;
        } else {
            const int k = mechanism.speciesIndex(words.front());
            if (k < 0) {
                error = Diagnostic(file, number, "the profile names species \"" + words.front() + "\", which the mechanism does not have");
                return false;
            }
            double value = 0.0;
            if (words.size() != 2 || !Strings::toNumber(words[1], value)) {
                error = Diagnostic(file, number, "the amount of species \"" + words.front() + "\" is not a number");
                return false;
            }
            state.massFractions[static_cast<size_t>(k)] = value;
        }
    }
    if (!closed) {
        error = Diagnostic(file, static_cast<int>(start + 1), "the profile block has no closing \"<\" line");
        return false;
    }
    if (!temperature || !pressure || !volume) {
        error = Diagnostic(file, static_cast<int>(start + 1), "the profile block lacks its temperature, pressure or volume");
        return false;
    }
    if (!(state.temperature > 0) || !(state.pressure > 0) || !(state.volume > 0)) {
        error = Diagnostic(file, static_cast<int>(start + 1), "the profile's temperature, pressure and volume must be positive");
        return false;
    }
    double total = 0.0;
    for (double value : state.massFractions)
        total += value;
    if (!(total > 0)) {
        error = Diagnostic(file, static_cast<int>(start + 1), "the profile holds no species amounts");
        return false;
    }
    return true;
}

} // namespace tarvelsim
