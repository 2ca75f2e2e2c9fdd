#include "mechanismparser.h"

#include "elementtable.h"
#include "reactionparser.h"
#include "strings.h"

#include <cctype>

namespace tarvelsim {

namespace {

enum class Section { None, Elements, Species, Reactions };

enum class Keyword { None, Elements, Species, Thermo, Reactions, End };

Keyword keywordOf(const std::string &word)
{
    if (Strings::startsWithNoCase(word, "ELEM"))
        return Keyword::Elements;
    if (Strings::startsWithNoCase(word, "SPEC"))
        return Keyword::Species;
    if (Strings::startsWithNoCase(word, "THER"))
        return Keyword::Thermo;
    if (Strings::startsWithNoCase(word, "REAC"))
        return Keyword::Reactions;
    if (Strings::equalNoCase(word, "END"))
        return Keyword::End;
    return Keyword::None;
}

// The text after the first word of a line.
std::string afterFirstWord(const std::string &text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    return text.substr(i);
}

} // namespace

bool MechanismParser::readElements(const std::string &text, int line, bool &ended, Diagnostic &error)
{
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
        if (i >= text.size())
            break;
        const size_t start = i;
        while (i < text.size() && text[i] != '/' && !std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
        const std::string symbol = text.substr(start, i - start);
        if (Strings::equalNoCase(symbol, "END")) {
            ended = true;
            return true;
        }
        double weight = 0.0;
        size_t look = i;
        while (look < text.size() && std::isspace(static_cast<unsigned char>(text[look])))
            ++look;
        if (look < text.size() && text[look] == '/') {
            const size_t close = text.find('/', look + 1);
            if (close == std::string::npos || !Strings::toNumber(text.substr(look + 1, close - look - 1), weight)
                || weight <= 0) {
                error = Diagnostic(m_file, line, "the atomic weight of element \"" + symbol + "\" must be a positive number between \"/\"");
                return false;
            }
            i = close + 1;
        }
        if (symbol.empty()) {
            error = Diagnostic(m_file, line, "an atomic weight without its element");
            return false;
        }
        if (m_mechanism.elementIndex(symbol) >= 0) {
            m_warnings.push_back(Diagnostic(m_file, line, "element \"" + symbol + "\" is declared twice").text());
            continue;
        }
        m_mechanism.elements.push_back(Element{symbol, 0.0});
        m_elementLines.push_back(line);
        m_givenWeights.push_back(weight);
    }
    return true;
}

bool MechanismParser::readSpecies(const std::vector<std::string> &words, int line, bool &ended, Diagnostic &error)
{
    for (const std::string &word : words) {
        if (Strings::equalNoCase(word, "END")) {
            ended = true;
            return true;
        }
        if (m_mechanism.speciesIndex(word) >= 0) {
            m_warnings.push_back(Diagnostic(m_file, line, "species \"" + word + "\" is declared twice").text());
            continue;
        }
        // "M" stands for the third body, and the computation file's profile
        // blocks are delimited by ">" and "<".
        if (Strings::equalNoCase(word, "M") || word.find_first_of("<>=") != std::string::npos) {
            error = Diagnostic(m_file, line, "\"" + word + "\" cannot be a species name");
            return false;
        }
        Species species;
        species.name = word;
        species.line = line;
        m_mechanism.species.push_back(species);
    }
    return true;
}

bool MechanismParser::resolveElements(Diagnostic &error)
{
    for (size_t i = 0; i < m_mechanism.elements.size(); ++i) {
        Element &element = m_mechanism.elements[i];
        element.weight = m_givenWeights[i] > 0 ? m_givenWeights[i] : ElementTable::atomicWeight(element.symbol);
        if (element.weight <= 0) {
            error = Diagnostic(m_file, m_elementLines[i],
                               "element \"" + element.symbol + "\" is not a known element; give its atomic weight as "
                                   + element.symbol + "/weight/");
            return false;
        }
    }
    return true;
}

bool MechanismParser::resolveSpecies(const std::vector<ThermoRecord> &database, const std::string &databaseFile,
                                     Diagnostic &error)
{
    for (Species &species : m_mechanism.species) {
        const ThermoRecord *record = nullptr;
        for (const ThermoRecord &candidate : m_ownThermo) {
            if (Strings::equalNoCase(candidate.name, species.name)) {
                record = &candidate;
                break;
            }
        }
        if (!record && !m_thermoAll) {
            for (const ThermoRecord &candidate : database) {
                if (Strings::equalNoCase(candidate.name, species.name)) {
                    record = &candidate;
                    break;
                }
            }
        }
        if (!record) {
            std::string where = m_thermoAll || databaseFile.empty() ? m_file : m_file + " or " + databaseFile;
            error = Diagnostic(m_file, species.line, "species \"" + species.name + "\" has no thermo data in " + where);
            return false;
        }
        ThermoData data;
        if (!ThermoParser::decode(*record, data, error))
            return false;
        if (data.phase != 'G') {
            error = Diagnostic(record->file, record->line,
                               "species \"" + species.name + "\" is not a gas (phase " + std::string(1, data.phase)
                                   + "); only gas-phase kinetics is computed");
            return false;
        }
        species.thermo = data.polynomial;
        species.phase = data.phase;
        species.weight = 0.0;
        for (const auto &entry : data.composition) {
            const int element = m_mechanism.elementIndex(entry.first);
            if (element < 0) {
                error = Diagnostic(record->file, record->line,
                                   "species \"" + species.name + "\" contains element \"" + entry.first
                                       + "\", which the ELEMENTS section does not declare");
                return false;
            }
            species.composition.emplace_back(element, entry.second);
            species.weight += entry.second * m_mechanism.elements[static_cast<size_t>(element)].weight;
        }
        if (species.weight <= 0) {
            error = Diagnostic(record->file, record->line, "species \"" + species.name + "\" has no elements");
            return false;
        }
    }
    return true;
}

bool MechanismParser::readReactions(const ReactionChunk &chunk, Diagnostic &error)
{
    ReactionParser parser(m_mechanism.species, m_file);
    if (!parser.setUnits(chunk.units, chunk.unitsLine, error))
        return false;
    Reaction reaction;
    bool open = false;
    auto close = [&]() {
        if (!open)
            return true;
        open = false;
        if (!parser.finish(reaction, error))
            return false;
        const int element = m_mechanism.unbalancedElement(reaction);
        if (element >= 0) {
            error = Diagnostic(m_file, reaction.line,
                               "reaction " + reaction.equation(m_mechanism.species) + " does not conserve element "
                                   + m_mechanism.elements[static_cast<size_t>(element)].symbol);
            return false;
        }
        m_mechanism.reactions.push_back(reaction);
        return true;
    };
    for (const auto &entry : chunk.lines) {
        if (ReactionParser::isReactionLine(entry.first)) {
            if (!close() || !parser.begin(entry.first, entry.second, reaction, error))
                return false;
            open = true;
        } else {
            if (!open) {
                error = Diagnostic(m_file, entry.second, "an auxiliary line before the first reaction");
                return false;
            }
            if (!parser.addAuxiliary(entry.first, entry.second, reaction, error))
                return false;
        }
    }
    return close();
}

bool MechanismParser::parse(const std::vector<std::string> &lines, const std::string &file,
                            const std::vector<ThermoRecord> &database, const std::string &databaseFile,
                            bool checkDuplicates, Mechanism &mechanism, Diagnostic &error)
{
    *this = MechanismParser();
    m_file = file;
    Section section = Section::None;
    bool sawSpecies = false;
    for (size_t index = 0; index < lines.size(); ++index) {
        const int line = static_cast<int>(index + 1);
        std::string text = Strings::withoutComment(lines[index]);
        const std::vector<std::string> words = Strings::words(text);
        if (words.empty())
            continue;
        const Keyword keyword = keywordOf(words[0]);

        if (section == Section::Reactions) {
            if (keyword == Keyword::End) {
                section = Section::None;
                continue;
            }
            if (keyword == Keyword::None || ReactionParser::isReactionLine(text)) {
                // A line ending in "&" continues on the next one.
                while (!Strings::trimmed(text).empty() && Strings::trimmed(text).back() == '&'
                       && index + 1 < lines.size()) {
                    text = Strings::trimmed(text);
                    text.pop_back();
                    text += ' ' + Strings::withoutComment(lines[++index]);
                }
                m_chunks.back().lines.emplace_back(text, line);
                continue;
            }
            section = Section::None;
        }
        if (section == Section::Elements || section == Section::Species) {
            if (keyword == Keyword::None || keyword == Keyword::End) {
                bool ended = false;
                if (section == Section::Elements) {
                    if (!readElements(text, line, ended, error))
                        return false;
                } else if (!readSpecies(words, line, ended, error)) {
                    return false;
                }
                if (ended)
                    section = Section::None;
                continue;
            }
            section = Section::None;
        }

        switch (keyword) {
        case Keyword::Elements: {
            section = Section::Elements;
            bool ended = false;
            if (!readElements(afterFirstWord(text), line, ended, error))
                return false;
            if (ended)
                section = Section::None;
            break;
        }
        case Keyword::Species: {
            section = Section::Species;
            sawSpecies = true;
            bool ended = false;
            const std::vector<std::string> rest(words.begin() + 1, words.end());
            if (!readSpecies(rest, line, ended, error))
                return false;
            if (ended)
                section = Section::None;
            break;
        }
        case Keyword::Thermo: {
            m_thermoSection = true;
            if (words.size() > 1 && Strings::equalNoCase(words[1], "ALL"))
                m_thermoAll = true;
            size_t next = index + 1;
            if (!ThermoParser::readSection(lines, next, file, m_ownThermo, error))
                return false;
            // Stop on the section's END line, or just before the next keyword.
            const std::vector<std::string> stop =
                next < lines.size() ? Strings::words(Strings::withoutComment(lines[next])) : std::vector<std::string>();
            index = !stop.empty() && Strings::equalNoCase(stop[0], "END") ? next : next - 1;
            break;
        }
        case Keyword::Reactions:
            if (!sawSpecies) {
                error = Diagnostic(file, line, "the REACTIONS section must follow the SPECIES section");
                return false;
            }
            section = Section::Reactions;
            m_chunks.push_back(ReactionChunk());
            m_chunks.back().units.assign(words.begin() + 1, words.end());
            m_chunks.back().unitsLine = line;
            break;
        case Keyword::End:
            // A stray END between sections is harmless.
            break;
        case Keyword::None:
            error = Diagnostic(file, line, "\"" + words[0] + "\" is outside any section; expected ELEMENTS, SPECIES, THERMO or REACTIONS");
            return false;
        }
    }

    if (m_mechanism.elements.empty()) {
        error = Diagnostic(file, 0, "the mechanism has no ELEMENTS section");
        return false;
    }
    if (m_mechanism.species.empty()) {
        error = Diagnostic(file, 0, "the mechanism has no species");
        return false;
    }
    if (!resolveElements(error) || !resolveSpecies(database, databaseFile, error))
        return false;
    for (const ReactionChunk &chunk : m_chunks) {
        if (!readReactions(chunk, error))
            return false;
    }
    if (checkDuplicates && !m_mechanism.checkDuplicates(file, error))
        return false;
    mechanism = m_mechanism;
    return true;
}

} // namespace tarvelsim
