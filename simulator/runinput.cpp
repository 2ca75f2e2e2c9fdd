#include "runinput.h"

#include "strings.h"
#include "wordscanner.h"

namespace tarvelsim {

namespace {

enum class Block { None, Options, Species, Conditions, VolumeProfile, TemperatureProfile };

Block keywordOf(const std::string &line)
{
    const std::string text = Strings::upper(Strings::trimmed(line));
    if (text == "OPTIONS")
        return Block::Options;
    if (text == "SPECIES")
        return Block::Species;
    if (text == "CONDITIONS")
        return Block::Conditions;
    if (text == "VPROFILE")
        return Block::VolumeProfile;
    if (text == "TPROFILE")
        return Block::TemperatureProfile;
    return Block::None;
}

bool isProfile(Block block)
{
    return block == Block::VolumeProfile || block == Block::TemperatureProfile;
}

const char* nameOf(Block block)
{
    return block == Block::VolumeProfile ? "VPROFILE" : "TPROFILE";
}

const char *const catalogueConditions[] = {"TSTA", "TEND", "NT",   "S/V",  "TSURR", "C",   "VPIST",
                                           "FLOWPA", "STEP", "RTOL", "ATOL", "RTOS", "ATOS"};

} // namespace

bool RunInput::isCatalogueCondition(const std::string &name)
{
    const std::string key = Strings::upper(name);
    for (const char *condition : catalogueConditions) {
        if (key == condition)
            return true;
    }
    return false;
}

bool RunInput::isBoundaryCondition(const std::string &name)
{
    const std::string key = Strings::upper(name);
    return key == "T" || key == "P" || key == "V";
}

bool RunInput::read(const std::vector<std::string> &lines, const std::string &file, Diagnostic &error)
{
    *this = RunInput();
    m_file = file;
    Block block = Block::None;
    ProfileLines* profile = nullptr;
    bool sawBlock = false;
    auto unclosed = [&]() {
        error = Diagnostic(file, profile->line,
                           std::string("the ") + nameOf(block) + " block has no END line after its last point");
        return false;
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i + 1);
        const Block keyword = keywordOf(lines[i]);
        if (keyword != Block::None) {
            if (isProfile(block))
                return unclosed();
            block = keyword;
            sawBlock = sawBlock || !isProfile(keyword);
            if (isProfile(keyword)) {
                profile = keyword == Block::VolumeProfile ? &m_volumeProfile : &m_temperatureProfile;
                if (profile->line > 0) {
                    error = Diagnostic(file, number,
                                       std::string("a second ") + nameOf(keyword) + " block; the first is at line "
                                           + std::to_string(profile->line));
                    return false;
                }
                profile->line = number;
            }
            continue;
        }
        if (block == Block::None) {
            const std::vector<std::string> words = Strings::words(Strings::upper(lines[i]));
            if (words.size() == 2 && words[0] == "LIST" && words[1] == "MECHANISM")
                m_listing = true;
            continue;
        }
        if (Strings::upper(Strings::trimmed(lines[i])) == "END") {
            block = Block::None;
            continue;
        }
        switch (block) {
        case Block::VolumeProfile:
        case Block::TemperatureProfile:
            profile->lines.emplace_back(lines[i], number);
            break;
        case Block::Options:
            readOptionLine(lines[i], number);
            break;
        case Block::Species:
            readSpeciesLine(lines[i], number);
            break;
        case Block::Conditions:
            readConditionLine(lines[i], number);
            break;
        case Block::None:
            break;
        }
    }
    if (isProfile(block))
        return unclosed();
    if (!sawBlock) {
        error = Diagnostic(file, 0, "no OPTIONS, SPECIES or CONDITIONS block found");
        return false;
    }
    return true;
}

void RunInput::readOptionLine(const std::string &line, int number)
{
    // Entries end with "/"; a filler is blanks and "/". Reading by the
    // slashes rather than by columns also takes entries typed by hand.
    WordScanner scanner(line);
    std::vector<std::string> words;
    while (!scanner.atEnd()) {
        if (!scanner.slash()) {
            words.push_back(scanner.word());
            continue;
        }
        if (!words.empty() && words.size() <= 2) {
            Option option;
            option.name = Strings::upper(words[0]);
            option.value = words.size() > 1 ? words[1] : std::string();
            option.line = number;
            m_options.push_back(option);
        }
        words.clear();
    }
}

void RunInput::readSpeciesLine(const std::string &line, int number)
{
    if (line.find(',') == std::string::npos)
        return;
    size_t start = 0;
    while (start <= line.size()) {
        size_t comma = line.find(',', start);
        if (comma == std::string::npos)
            comma = line.size();
        std::string name = Strings::trimmed(line.substr(start, comma - start));
        start = comma + 1;
        if (name.empty())
            continue;
        SpeciesEntry entry;
        if (name.back() == '*') {
            entry.marked = true;
            name = Strings::trimmed(name.substr(0, name.size() - 1));
        }
        if (name.empty() || name.find(' ') != std::string::npos)
            continue;
        entry.name = name;
        entry.line = number;
        m_species.push_back(entry);
    }
}

void RunInput::readConditionLine(const std::string &line, int number)
{
    const size_t equals = line.find('=');
    if (equals == std::string::npos)
        return;
    std::string name = Strings::trimmed(line.substr(0, equals));
    const std::string value = Strings::trimmed(line.substr(equals + 1));
    if (name.empty() || name.find(' ') != std::string::npos)
        return;
    const bool marked = name.back() == '*';
    if (marked)
        name.pop_back();
    // The catalogue's condition C and a species C (atomic carbon) look the
    // same here. The boundary conditions come last, starting with T, P or V:
    // from there on, and for a name seen before, an entry is a species.
    const std::string key = Strings::upper(name);
    if (!marked && isBoundaryCondition(key) && !condition(key)) {
        m_inBoundary = true;
        m_conditions.push_back(Condition{key, value, number});
        return;
    }
    if (!marked && !m_inBoundary && isCatalogueCondition(key) && !condition(key)) {
        m_conditions.push_back(Condition{key, value, number});
        return;
    }
    if (isCatalogueCondition(key) || isBoundaryCondition(key))
        m_inBoundary = true;
    m_amounts.push_back(Amount{name, value, number, !m_inBoundary});
}

const RunInput::Option *RunInput::option(const std::string &name) const
{
    const std::string key = Strings::upper(name);
    for (const Option &option : m_options) {
        if (option.name == key)
            return &option;
    }
    return nullptr;
}

const RunInput::Condition *RunInput::condition(const std::string &name) const
{
    const std::string key = Strings::upper(name);
    for (const Condition &condition : m_conditions) {
        if (condition.name == key)
            return &condition;
    }
    return nullptr;
}

} // namespace tarvelsim
