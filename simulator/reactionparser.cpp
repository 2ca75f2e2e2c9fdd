#include "reactionparser.h"

#include "constants.h"
#include "strings.h"
#include "wordscanner.h"

#include <cctype>
#include <cmath>

namespace tarvelsim {

namespace {

const char *const unsupportedKeywords[] = {"HIGH", "PLOG", "CHEB", "TCHEB", "PCHEB", "FORD", "RORD",
                                           "LT",   "RLT",  "JAN",  "FIT1",  "TDEP",  "EXCI", "MOME",
                                           "XSMI", "UNITS", "USRPROG", "COLLEFF", "EXCI"};

bool isUnsupported(const std::string &keyword)
{
    for (const char *name : unsupportedKeywords) {
        if (keyword == name)
            return true;
    }
    return false;
}

void addTerm(std::vector<ReactionTerm> &terms, const ReactionTerm &term)
{
    for (ReactionTerm &existing : terms) {
        if (existing.species == term.species) {
            existing.coefficient += term.coefficient;
            return;
        }
    }
    terms.push_back(term);
}

bool readParameters(const std::vector<double> &values, size_t count, const std::string &keyword,
                    const std::string &file, int line, Arrhenius &rate, Diagnostic &error)
{
    if (values.size() != count) {
        error = Diagnostic(file, line,
                           Strings::format("%s needs %zu parameters, found %zu", keyword.c_str(), count, values.size()));
        return false;
    }
    rate.a = values[0];
    rate.b = values[1];
    rate.e = values[2];
    return true;
}

} // namespace

ReactionParser::ReactionParser(const std::vector<Species> &species, std::string file)
    : m_species(species), m_file(std::move(file))
{
    for (size_t i = 0; i < species.size(); ++i)
        m_index.emplace(Strings::upper(species[i].name), static_cast<int>(i));
}

bool ReactionParser::setUnits(const std::vector<std::string> &words, int line, Diagnostic &error)
{
    for (const std::string &word : words) {
        // The classic preprocessor looks at the first four characters only, so
        // "KCAL" and "KCAL/MOLE" mean the same; "MOLEC" tells molecules from
        // moles.
        const std::string key = Strings::upper(word);
        if (Strings::startsWithNoCase(key, "MOLEC"))
            m_molecules = true;
        else if (Strings::startsWithNoCase(key, "MOLE"))
            m_molecules = false;
        else if (Strings::startsWithNoCase(key, "CAL"))
            m_energy = Energy::CaloriesPerMole;
        else if (Strings::startsWithNoCase(key, "KCAL"))
            m_energy = Energy::KilocaloriesPerMole;
        else if (Strings::startsWithNoCase(key, "JOUL"))
            m_energy = Energy::JoulesPerMole;
        else if (Strings::startsWithNoCase(key, "KJOU"))
            m_energy = Energy::KilojoulesPerMole;
        else if (Strings::startsWithNoCase(key, "KELV"))
            m_energy = Energy::Kelvins;
        else if (Strings::startsWithNoCase(key, "EVOL"))
            m_energy = Energy::ElectronVolts;
        else {
            error = Diagnostic(m_file, line, "unknown unit \"" + word + "\" on the REACTIONS line");
            return false;
        }
    }
    return true;
}

bool ReactionParser::isReactionLine(const std::string &text)
{
    return text.find('=') != std::string::npos;
}

int ReactionParser::findSpecies(const std::string &name) const
{
    const auto found = m_index.find(Strings::upper(name));
    return found == m_index.end() ? -1 : found->second;
}

bool ReactionParser::parseTerm(const std::string &token, int line, ReactionTerm &term, Diagnostic &error) const
{
    term.coefficient = 1.0;
    term.species = findSpecies(token);
    if (term.species >= 0)
        return true;
    // A leading number is the stoichiometric coefficient. Species names may
    // start with a digit too ("1-C4H8"), so the longest number that leaves a
    // known species wins.
    size_t digits = 0;
    while (digits < token.size() && (std::isdigit(static_cast<unsigned char>(token[digits])) || token[digits] == '.'))
        ++digits;
    for (size_t length = digits; length > 0; --length) {
        double coefficient = 0.0;
        if (!Strings::toNumber(token.substr(0, length), coefficient))
            continue;
        const int index = findSpecies(token.substr(length));
        if (index >= 0 && coefficient > 0) {
            term.species = index;
            term.coefficient = coefficient;
            return true;
        }
    }
    error = Diagnostic(m_file, line, "unknown species \"" + token.substr(digits) + "\" in the reaction");
    return false;
}

bool ReactionParser::parseSide(const std::string &text, int line, std::vector<ReactionTerm> &terms,
                               int &thirdBodies, std::string &falloff, Diagnostic &error) const
{
    std::string rest = text;
    thirdBodies = 0;
    falloff.clear();
    const size_t open = rest.rfind("(+");
    if (!rest.empty() && rest.back() == ')' && open != std::string::npos) {
        const std::string inner = rest.substr(open + 2, rest.size() - open - 3);
        if (Strings::equalNoCase(inner, "M") || findSpecies(inner) >= 0) {
            falloff = Strings::equalNoCase(inner, "M") ? std::string("M") : inner;
            rest = rest.substr(0, open);
        }
    }
    std::vector<std::string> tokens;
    size_t start = 0;
    while (start <= rest.size()) {
        size_t plus = rest.find('+', start);
        if (plus == std::string::npos)
            plus = rest.size();
        std::string token = rest.substr(start, plus - start);
        // An empty token comes from a species whose name ends in "+" (an ion):
        // "H3O++E" is H3O+ and E.
        if (token.empty()) {
            if (tokens.empty()) {
                error = Diagnostic(m_file, line, "a term of the reaction is missing around \"+\"");
                return false;
            }
            tokens.back() += '+';
        } else {
            tokens.push_back(token);
        }
        start = plus + 1;
    }
    for (const std::string &token : tokens) {
        if (Strings::equalNoCase(token, "M")) {
            ++thirdBodies;
            continue;
        }
        ReactionTerm term;
        if (!parseTerm(token, line, term, error))
            return false;
        addTerm(terms, term);
    }
    if (terms.empty()) {
        error = Diagnostic(m_file, line, "a side of the reaction has no species");
        return false;
    }
    return true;
}

bool ReactionParser::begin(const std::string &text, int line, Reaction &reaction, Diagnostic &error) const
{
    reaction = Reaction();
    reaction.line = line;
    std::vector<std::string> words = Strings::words(text);
    if (words.size() < 4) {
        error = Diagnostic(m_file, line, "a reaction line needs the equation followed by A, b and E");
        return false;
    }
    double values[3];
    for (size_t i = 0; i < 3; ++i) {
        const std::string &word = words[words.size() - 3 + i];
        if (!Strings::toNumber(word, values[i])) {
            error = Diagnostic(m_file, line, "the Arrhenius parameter \"" + word + "\" is not a number");
            return false;
        }
    }
    reaction.rate = Arrhenius{values[0], values[1], values[2]};
    std::string equation;
    for (size_t i = 0; i + 3 < words.size(); ++i)
        equation += words[i];

    std::string separator = "<=>";
    size_t at = equation.find(separator);
    if (at == std::string::npos) {
        separator = "=>";
        at = equation.find(separator);
        reaction.reversible = at == std::string::npos;
    }
    if (at == std::string::npos) {
        if (equation.find("<=") != std::string::npos) {
            error = Diagnostic(m_file, line, "\"<=\" is not a reaction arrow; write the reaction the other way with \"=>\"");
            return false;
        }
        separator = "=";
        at = equation.find(separator);
    }
    const std::string left = equation.substr(0, at);
    const std::string right = equation.substr(at + separator.size());
    if (right.find('=') != std::string::npos) {
        error = Diagnostic(m_file, line, "the reaction \"" + equation + "\" has more than one \"=\"");
        return false;
    }
    int leftBodies = 0, rightBodies = 0;
    std::string leftFalloff, rightFalloff;
    if (!parseSide(left, line, reaction.reactants, leftBodies, leftFalloff, error)
        || !parseSide(right, line, reaction.products, rightBodies, rightFalloff, error))
        return false;
    if (leftBodies > 1 || rightBodies > 1 || leftBodies != rightBodies) {
        error = Diagnostic(m_file, line, "the third body \"+M\" must appear once on each side");
        return false;
    }
    if (!Strings::equalNoCase(leftFalloff, rightFalloff)) {
        error = Diagnostic(m_file, line, "the falloff collider \"(+" + (leftFalloff.empty() ? rightFalloff : leftFalloff)
                                             + ")\" must appear on both sides");
        return false;
    }
    if (leftBodies > 0 && !leftFalloff.empty()) {
        error = Diagnostic(m_file, line, "a reaction cannot have both \"+M\" and \"(+M)\"");
        return false;
    }
    if (leftBodies > 0) {
        reaction.kind = Reaction::Kind::ThirdBody;
    } else if (!leftFalloff.empty()) {
        reaction.kind = Reaction::Kind::Falloff;
        reaction.collider = leftFalloff == "M" ? -1 : findSpecies(leftFalloff);
    }
    return true;
}

bool ReactionParser::addAuxiliary(const std::string &text, int line, Reaction &reaction, Diagnostic &error) const
{
    WordScanner scanner(text);
    while (!scanner.atEnd()) {
        const std::string name = scanner.word();
        if (name.empty()) {
            error = Diagnostic(m_file, line, "a \"/\" without a keyword or species before it");
            return false;
        }
        std::vector<double> values;
        std::string inside;
        const WordScanner::Parameters parameters = scanner.parameters(inside);
        if (parameters == WordScanner::Parameters::Unclosed) {
            error = Diagnostic(m_file, line, "the parameters of \"" + name + "\" lack their closing \"/\"");
            return false;
        }
        const bool slashed = parameters == WordScanner::Parameters::Closed;
        for (const std::string& word : Strings::words(inside)) {
            double value = 0.0;
            if (!Strings::toNumber(word, value)) {
                error = Diagnostic(m_file, line, "the parameter \"" + word + "\" of \"" + name + "\" is not a number");
                return false;
            }
            values.push_back(value);
        }

        const std::string keyword = Strings::upper(name);
        if (keyword == "DUP" || keyword == "DUPLICATE") {
            reaction.duplicate = true;
        } else if (keyword == "LOW") {
            if (reaction.kind != Reaction::Kind::Falloff) {
                error = Diagnostic(m_file, line, "LOW belongs to a falloff reaction with \"(+M)\" or \"(+species)\"");
                return false;
            }
            if (reaction.hasLowPressure) {
                error = Diagnostic(m_file, line, "LOW is given twice");
                return false;
            }
            if (!readParameters(values, 3, "LOW", m_file, line, reaction.lowPressure, error))
                return false;
            reaction.hasLowPressure = true;
        } else if (keyword == "TROE" || keyword == "SRI") {
            const bool troe = keyword == "TROE";
            if (reaction.kind != Reaction::Kind::Falloff) {
                error = Diagnostic(m_file, line, keyword + " belongs to a falloff reaction with \"(+M)\" or \"(+species)\"");
                return false;
            }
            if (reaction.form != Reaction::FalloffForm::Lindemann) {
                error = Diagnostic(m_file, line, "a reaction takes one of TROE and SRI, once");
                return false;
            }
            if (troe ? (values.size() != 3 && values.size() != 4) : (values.size() != 3 && values.size() != 5)) {
                error = Diagnostic(m_file, line, Strings::format("%s needs %s parameters, found %zu", keyword.c_str(),
                                                                 troe ? "3 or 4" : "3 or 5", values.size()));
                return false;
            }
            reaction.form = troe ? Reaction::FalloffForm::Troe : Reaction::FalloffForm::Sri;
            reaction.falloffParameters = values;
        } else if (keyword == "REV") {
            if (!reaction.reversible) {
                error = Diagnostic(m_file, line, "REV belongs to a reversible reaction, not to one written with \"=>\"");
                return false;
            }
            if (reaction.kind == Reaction::Kind::Falloff) {
                error = Diagnostic(m_file, line, "REV is not supported for falloff reactions");
                return false;
            }
            if (reaction.hasReverseRate) {
                error = Diagnostic(m_file, line, "REV is given twice");
                return false;
            }
            if (!readParameters(values, 3, "REV", m_file, line, reaction.reverseRate, error))
                return false;
            reaction.hasReverseRate = true;
        } else if (isUnsupported(keyword)) {
            error = Diagnostic(m_file, line, "the auxiliary keyword \"" + name + "\" is not supported");
            return false;
        } else {
            const int species = findSpecies(name);
            if (species < 0 || !slashed) {
                error = Diagnostic(m_file, line, "\"" + name + "\" is neither an auxiliary keyword nor a species with an efficiency");
                return false;
            }
            if (!reaction.usesMixture()) {
                error = Diagnostic(m_file, line, "the efficiency of " + name + " belongs to a reaction with \"+M\" or \"(+M)\"");
                return false;
            }
            if (values.size() != 1) {
                error = Diagnostic(m_file, line, "the efficiency of " + name + " needs one value");
                return false;
            }
            bool replaced = false;
            for (auto &entry : reaction.efficiencies) {
                if (entry.first == species) {
                    entry.second = values[0];
                    replaced = true;
                }
            }
            if (!replaced)
                reaction.efficiencies.emplace_back(species, values[0]);
        }
    }
    return true;
}

double ReactionParser::energyFactor() const
{
    switch (m_energy) {
    case Energy::CaloriesPerMole:
        return 1.0 / constants::gasConstantCalories;
    case Energy::KilocaloriesPerMole:
        return 1000.0 / constants::gasConstantCalories;
    case Energy::JoulesPerMole:
        return 1.0 / (constants::gasConstantCalories * constants::joulesPerCalorie);
    case Energy::KilojoulesPerMole:
        return 1000.0 / (constants::gasConstantCalories * constants::joulesPerCalorie);
    case Energy::Kelvins:
        return 1.0;
    case Energy::ElectronVolts:
        return constants::kelvinsPerElectronVolt;
    }
    return 1.0;
}

bool ReactionParser::finish(Reaction &reaction, Diagnostic &error) const
{
    if (reaction.kind == Reaction::Kind::Falloff && !reaction.hasLowPressure) {
        error = Diagnostic(m_file, reaction.line, "the falloff reaction needs its low-pressure limit on a LOW line");
        return false;
    }
    const double factor = energyFactor();
    reaction.rate.e *= factor;
    reaction.lowPressure.e *= factor;
    reaction.reverseRate.e *= factor;
    if (m_molecules) {
        // A molecular rate constant of order n is N_A^(n-1) times its molar one.
        const double extra = reaction.kind == Reaction::Kind::ThirdBody ? 1.0 : 0.0;
        reaction.rate.a *= std::pow(constants::avogadro, reaction.reactantOrder() + extra - 1.0);
        if (reaction.hasLowPressure)
            reaction.lowPressure.a *= std::pow(constants::avogadro, reaction.reactantOrder());
        if (reaction.hasReverseRate)
            reaction.reverseRate.a *= std::pow(constants::avogadro, reaction.productOrder() + extra - 1.0);
    }
    return true;
}

} // namespace tarvelsim
