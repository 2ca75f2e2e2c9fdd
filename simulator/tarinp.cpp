// tarinp.x: reads the run description, the mechanism and the thermo data,
// checks them against each other and prepares the mechanism for tarrun.x.

#include "console.h"
#include "mechanismparser.h"
#include "mechanismwriter.h"
#include "programfiles.h"
#include "runinput.h"
#include "runsetup.h"
#include "strings.h"
#include "textfile.h"
#include "thermoparser.h"

using namespace tarvelsim;

namespace {

// Above this many species the listing would push everything else out of the
// front end's console.
constexpr size_t listedSpecies = 100;

void summarise(const Mechanism &mechanism, const RunSetup &setup, const std::string &thermoSource)
{
    std::string symbols;
    for (const Element &element : mechanism.elements)
        symbols += ' ' + element.symbol;
    int reversible = 0, thirdBody = 0, falloff = 0;
    for (const Reaction &reaction : mechanism.reactions) {
        reversible += reaction.reversible ? 1 : 0;
        thirdBody += reaction.kind == Reaction::Kind::ThirdBody ? 1 : 0;
        falloff += reaction.kind == Reaction::Kind::Falloff ? 1 : 0;
    }
    Console::line(" Thermo data from " + thermoSource);
    Console::line(Strings::format(" Elements:   %5zu  %s", mechanism.elements.size(), symbols.c_str()));
    Console::line(Strings::format(" Species:    %5zu", mechanism.species.size()));
    Console::line(Strings::format(" Reactions:  %5zu  (%d reversible, %d with third body, %d falloff)",
                                  mechanism.reactions.size(), reversible, thirdBody, falloff));
    Console::line(Strings::format(" Duplicates: %5d  reactions marked DUPLICATE%s", mechanism.duplicateCount(),
                                  setup.checkDuplicates() ? "" : " (NOCH: not checked)"));
}

// Every error of the mechanism, each on its line, then the failure sentence.
int failParsing(const MechanismParser& parser)
{
    const std::vector<Diagnostic>& errors = parser.errors();
    for (size_t i = 0; i + 1 < errors.size(); ++i)
        Console::line(" ERROR: " + errors[i].text());
    if (parser.errorCount() > errors.size()) {
        Console::line(" ERROR: " + errors.back().text());
        return Console::fail(Strings::format("%zu more errors in %s are not listed",
                                             parser.errorCount() - errors.size(), ProgramFiles::mechanism));
    }
    return Console::fail(errors.back().text());
}

void listMechanism(const Mechanism &mechanism)
{
    Console::line("");
    Console::line(Strings::format("  %4s  %-44s %11s %8s %11s", "No.", "Reaction", "A", "b", "E (K)"));
    for (size_t i = 0; i < mechanism.reactions.size(); ++i) {
        const Reaction &reaction = mechanism.reactions[i];
        std::string notes;
        if (reaction.kind == Reaction::Kind::Falloff)
            notes += reaction.form == Reaction::FalloffForm::Troe ? " TROE"
                : reaction.form == Reaction::FalloffForm::Sri     ? " SRI"
                                                                  : " LINDEMANN";
        if (reaction.hasReverseRate)
            notes += " REV";
        if (reaction.duplicate)
            notes += " DUP";
        Console::line(Strings::format("  %4zu  %-44s %11.4E %8.3f %11.4E%s", i + 1,
                                      reaction.equation(mechanism.species).c_str(), reaction.rate.a, reaction.rate.b,
                                      reaction.rate.e, notes.c_str()));
    }
    Console::line("");
}

int prepare()
{
    Console::line(" TARINP  -  preparation of the reaction mechanism");
    Diagnostic error;

    std::vector<std::string> lines;
    RunInput input;
    if (!TextFile::readLines(ProgramFiles::runDescription, lines, error) || !input.read(lines, ProgramFiles::runDescription, error))
        return Console::fail(error.text());

    std::vector<ThermoRecord> database;
    std::string thermoSource = ProgramFiles::thermo;
    const bool haveThermoFile = TextFile::exists(ProgramFiles::thermo);
    if (haveThermoFile) {
        if (!TextFile::readLines(ProgramFiles::thermo, lines, error)
            || !ThermoParser::readFile(lines, ProgramFiles::thermo, database, error))
            return Console::fail(error.text());
    }

    if (!TextFile::readLines(ProgramFiles::mechanism, lines, error))
        return Console::fail(error.text());
    MechanismParser parser;
    Mechanism mechanism;
    if (!parser.parse(lines, ProgramFiles::mechanism, database, haveThermoFile ? ProgramFiles::thermo : "",
                      RunSetup::duplicateCheckWanted(input), mechanism, error))
        return failParsing(parser);
    for (const std::string &warning : parser.warnings())
        Console::line(" WARNING: " + warning);
    if (parser.hasThermoSection())
        thermoSource = haveThermoFile ? std::string(ProgramFiles::mechanism) + " (THERMO section) and " + ProgramFiles::thermo
                                      : std::string(ProgramFiles::mechanism) + " (THERMO section)";

    RunSetup setup;
    if (!setup.build(input, mechanism, true, error))
        return Console::fail(error.text());

    if (!TextFile::writeText(ProgramFiles::preparedMechanism, MechanismWriter::write(mechanism), error)
        || !TextFile::writeText(ProgramFiles::computation, "", error))
        return Console::fail(error.text());

    // The summary comes last, after the listing, so that it stays in view
    // at the end of a long console.
    if (setup.listMechanism()) {
        if (mechanism.species.size() <= listedSpecies || setup.listingRequested())
            listMechanism(mechanism);
        else
            Console::line(Strings::format(" The listing of the mechanism is left out: it has more than %zu species. "
                                          "A line LIST MECHANISM in %s asks for it.",
                                          listedSpecies, ProgramFiles::runDescription));
    }
    summarise(mechanism, setup, thermoSource);
    Console::line(std::string(" Prepared mechanism written to ") + ProgramFiles::preparedMechanism);
    return 0;
}

} // namespace

int main()
{
    return Console::guarded(&prepare);
}
