#include "mechanismparser.h"

#include "elementtable.h"
#include "reactionparser.h"
#include "strings.h"
#include "wordscanner.h"

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

Keyword keywordOfLine(const std::string& line)
{
    const std::vector<std::string> words = Strings::words(Strings::withoutComment(line));
    return words.empty() ? Keyword::None : keywordOf(words[0]);
}

} // namespace

void MechanismParser::report(const Diagnostic& error)
{
    ++m_errorCount;
    if (m_errors.size() < maxErrors)
        m_errors.push_back(error);
}

void MechanismParser::readElements(const std::string& text, int line, bool& ended)
{
    WordScanner scanner(text);
    while (!scanner.atEnd()) {
        const std::string symbol = scanner.word();
        if (Strings::equalNoCase(symbol, "END")) {
            ended = true;
            return;
        }
        double weight = 0.0;
        std::string inside;
        const WordScanner::Parameters parameters = scanner.parameters(inside);
        if (parameters == WordScanner::Parameters::Unclosed
            || (parameters == WordScanner::Parameters::Closed && (!Strings::toNumber(inside, weight) || weight <= 0))) {
            report(line, "the atomic weight of element \"" + symbol + "\" must be a positive number between \"/\"");
            return;
        }
        if (symbol.empty()) {
            report(line, "an atomic weight without its element");
            return;
        }
        if (m_mechanism.elementIndex(symbol) >= 0) {
            m_warnings.push_back(Diagnostic(m_file, line, "element \"" + symbol + "\" is declared twice").text());
            continue;
        }
        m_mechanism.elements.push_back(Element{symbol, 0.0});
        m_elementLines.push_back(line);
        m_givenWeights.push_back(weight);
    }
}

void MechanismParser::readSpecies(const std::vector<std::string>& words, int line, bool& ended)
{
    for (const std::string &word : words) {
        if (Strings::equalNoCase(word, "END")) {
            ended = true;
            return;
        }
        if (m_mechanism.speciesIndex(word) >= 0) {
            m_warnings.push_back(Diagnostic(m_file, line, "species \"" + word + "\" is declared twice").text());
            continue;
        }
        // "M" stands for the third body, and the computation file's profile
        // blocks are delimited by ">" and "<".
        if (Strings::equalNoCase(word, "M") || word.find_first_of("<>=") != std::string::npos) {
            report(line, "\"" + word + "\" cannot be a species name");
            continue;
        }
        Species species;
        species.name = word;
        species.line = line;
        m_mechanism.species.push_back(species);
    }
}

void MechanismParser::readThermo(const std::vector<std::string>& lines, size_t& index)
{
    // index is the THERMO line; on return, the section's END line or the
    // line before the next section's keyword.
    size_t next = index + 1;
    Diagnostic error;
    if (!ThermoParser::readSection(lines, next, m_file, m_ownThermo, error)) {
        report(error);
        // The rest of the section cannot be read record by record any more.
        while (next < lines.size() && keywordOfLine(lines[next]) == Keyword::None)
            ++next;
    }
    index = next < lines.size() && keywordOfLine(lines[next]) == Keyword::End ? next : next - 1;
}

void MechanismParser::resolveElements()
{
    for (size_t i = 0; i < m_mechanism.elements.size(); ++i) {
        Element &element = m_mechanism.elements[i];
        element.weight = m_givenWeights[i] > 0 ? m_givenWeights[i] : ElementTable::atomicWeight(element.symbol);
        if (element.weight <= 0)
            report(m_elementLines[i], "element \"" + element.symbol
                                          + "\" is not a known element; give its atomic weight as " + element.symbol
                                          + "/weight/");
    }
}

void MechanismParser::resolveSpecies(const std::vector<ThermoRecord>& database, const std::string& databaseFile)
{
    auto find = [](const std::vector<ThermoRecord>& records, const std::string& name) -> const ThermoRecord* {
        for (const ThermoRecord& candidate : records) {
            if (Strings::equalNoCase(candidate.name, name))
                return &candidate;
        }
        return nullptr;
    };
    for (Species& species : m_mechanism.species) {
        const ThermoRecord* record = find(m_ownThermo, species.name);
        if (!record && !m_thermoAll)
            record = find(database, species.name);
        if (!record) {
            std::string where = m_thermoAll || databaseFile.empty() ? m_file : m_file + " or " + databaseFile;
            report(species.line, "species \"" + species.name + "\" has no thermo data in " + where);
            m_speciesIncomplete = true;
            continue;
        }
        ThermoData data;
        Diagnostic error;
        if (!ThermoParser::decode(*record, data, error)) {
            report(error);
            m_speciesIncomplete = true;
            continue;
        }
        if (data.phase != 'G') {
            report(Diagnostic(record->file, record->line,
                              "species \"" + species.name + "\" is not a gas (phase " + std::string(1, data.phase)
                                  + "); only gas-phase kinetics is computed"));
            m_speciesIncomplete = true;
            continue;
        }
        species.thermo = data.polynomial;
        species.phase = data.phase;
        species.weight = 0.0;
        bool complete = true;
        for (const auto &entry : data.composition) {
            const int element = m_mechanism.elementIndex(entry.first);
            if (element < 0) {
                report(Diagnostic(record->file, record->line,
                                  "species \"" + species.name + "\" contains element \"" + entry.first
                                      + "\", which the ELEMENTS section does not declare"));
                complete = false;
                break;
            }
            species.composition.emplace_back(element, entry.second);
            species.weight += entry.second * m_mechanism.elements[static_cast<size_t>(element)].weight;
        }
        if (complete && species.weight <= 0) {
            report(Diagnostic(record->file, record->line, "species \"" + species.name + "\" has no elements"));
            complete = false;
        }
        m_speciesIncomplete = m_speciesIncomplete || !complete;
    }
}

void MechanismParser::readReactions(const ReactionChunk& chunk)
{
    ReactionParser parser(m_mechanism.species, m_file);
    Diagnostic error;
    if (!parser.setUnits(chunk.units, chunk.unitsLine, error))
        report(error);
    Reaction reaction;
    bool open = false; // a reaction is being read
    bool damaged = false; // ... and one of its lines was in error
    bool skipping = false; // the auxiliary lines of a reaction line in error
    auto close = [&]() {
        if (!open)
            return;
        open = false;
        if (damaged)
            return;
        if (!parser.finish(reaction, error)) {
            report(error);
            return;
        }
        // Without every species' composition the balance would only repeat
        // the species' own errors.
        const int element = m_speciesIncomplete ? -1 : m_mechanism.unbalancedElement(reaction);
        if (element >= 0) {
            report(reaction.line, "reaction " + reaction.equation(m_mechanism.species) + " does not conserve element "
                                      + m_mechanism.elements[static_cast<size_t>(element)].symbol);
            return;
        }
        m_mechanism.reactions.push_back(reaction);
    };
    for (const auto &entry : chunk.lines) {
        if (ReactionParser::isReactionLine(entry.first)) {
            close();
            open = parser.begin(entry.first, entry.second, reaction, error);
            skipping = !open;
            damaged = false;
            if (!open)
                report(error);
            continue;
        }
        if (!open) {
            if (!skipping)
                report(entry.second, "an auxiliary line before the first reaction");
            continue;
        }
        if (!parser.addAuxiliary(entry.first, entry.second, reaction, error)) {
            report(error);
            damaged = true;
        }
    }
    close();
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
                if (section == Section::Elements)
                    readElements(text, line, ended);
                else
                    readSpecies(words, line, ended);
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
            WordScanner scanner(text);
            scanner.word();
            readElements(scanner.rest(), line, ended);
            if (ended)
                section = Section::None;
            break;
        }
        case Keyword::Species: {
            section = Section::Species;
            sawSpecies = true;
            bool ended = false;
            readSpecies(std::vector<std::string>(words.begin() + 1, words.end()), line, ended);
            if (ended)
                section = Section::None;
            break;
        }
        case Keyword::Thermo:
            m_thermoSection = true;
            if (words.size() > 1 && Strings::equalNoCase(words[1], "ALL"))
                m_thermoAll = true;
            readThermo(lines, index);
            break;
        case Keyword::Reactions:
            if (!sawSpecies)
                report(line, "the REACTIONS section must follow the SPECIES section");
            section = Section::Reactions;
            m_chunks.push_back(ReactionChunk());
            m_chunks.back().units.assign(words.begin() + 1, words.end());
            m_chunks.back().unitsLine = line;
            break;
        case Keyword::End:
            // A stray END between sections is harmless.
            break;
        case Keyword::None:
            report(line,
                   "\"" + words[0] + "\" is outside any section; expected ELEMENTS, SPECIES, THERMO or REACTIONS");
            break;
        }
    }

    if (m_mechanism.elements.empty())
        report(0, "the mechanism has no ELEMENTS section");
    if (m_mechanism.species.empty())
        report(0, "the mechanism has no species");
    if (!m_mechanism.elements.empty() && !m_mechanism.species.empty()) {
        resolveElements();
        resolveSpecies(database, databaseFile);
        for (const ReactionChunk& chunk : m_chunks)
            readReactions(chunk);
        if (checkDuplicates) {
            std::vector<Diagnostic> duplicates;
            m_mechanism.checkDuplicates(file, duplicates);
            for (const Diagnostic& duplicate : duplicates)
                report(duplicate);
        }
    }
    if (m_errorCount > 0) {
        error = m_errors.front();
        return false;
    }
    mechanism = m_mechanism;
    return true;
}

} // namespace tarvelsim
