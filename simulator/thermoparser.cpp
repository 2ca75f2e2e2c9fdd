#include "thermoparser.h"

#include "strings.h"

#include <cctype>

namespace tarvelsim {

namespace {

bool isBlankOrComment(const std::string &line)
{
    const std::string text = Strings::trimmed(line);
    return text.empty() || text[0] == '!';
}

bool isEndLine(const std::string &line)
{
    const std::vector<std::string> words = Strings::words(Strings::withoutComment(line));
    return !words.empty() && Strings::equalNoCase(words[0], "END");
}

bool isSectionKeyword(const std::string &line)
{
    const std::vector<std::string> words = Strings::words(Strings::withoutComment(line));
    if (words.empty())
        return false;
    return Strings::startsWithNoCase(words[0], "REAC") || Strings::startsWithNoCase(words[0], "ELEM")
        || Strings::startsWithNoCase(words[0], "SPEC");
}

// The digit in column 80 of a record line, or a blank.
char sequenceDigit(const std::string& line)
{
    const std::string column = Strings::trimmed(Strings::column(line, 79, 1));
    return column.empty() ? ' ' : column[0];
}

// The common-temperatures line: three numbers and nothing else. A record's
// first line always starts with a name, so the two cannot be confused.
bool readTemperatureLine(const std::string &line, double &common)
{
    const std::vector<std::string> words = Strings::words(Strings::withoutComment(line));
    if (words.size() < 2 || words.size() > 3)
        return false;
    double values[3] = {0, 0, 0};
    for (size_t i = 0; i < words.size(); ++i) {
        if (!Strings::toNumber(words[i], values[i]))
            return false;
    }
    common = values[1];
    return true;
}

bool readRecords(const std::vector<std::string> &lines, size_t &index, const std::string &file,
                 bool inMechanism, std::vector<ThermoRecord> &records, Diagnostic &error)
{
    double common = 1000.0;
    while (index < lines.size() && isBlankOrComment(lines[index]))
        ++index;
    if (index < lines.size() && readTemperatureLine(lines[index], common))
        ++index;
    while (index < lines.size()) {
        const std::string &line = lines[index];
        if (isBlankOrComment(line)) {
            ++index;
            continue;
        }
        if (isEndLine(line))
            return true;
        if (inMechanism && isSectionKeyword(line))
            return true;
        if (std::isspace(static_cast<unsigned char>(line[0]))) {
            error = Diagnostic(file, static_cast<int>(index + 1),
                               "a thermo record must start with the species name in column 1");
            return false;
        }
        const std::string name = Strings::words(Strings::column(line, 0, 18)).front();
        // Column 80 numbers a record's lines 1 to 4. Where the first line
        // carries its 1, a line numbered otherwise than next shows which line
        // is missing, so the message can name the record it belongs to rather
        // than the record after it. A line without a number there is taken
        // as it comes.
        if (sequenceDigit(line) == '1') {
            for (size_t i = 1; i < 4; ++i) {
                const char digit = index + i < lines.size() ? sequenceDigit(lines[index + i]) : '1';
                const bool present = digit == static_cast<char>('1' + i) || digit < '1' || digit > '4';
                if (!present) {
                    error = Diagnostic(file, static_cast<int>(index + 1),
                                       Strings::format("the thermo record of species %s lacks its line %zu "
                                                       "(the line numbered %zu in column 80)",
                                                       name.c_str(), i + 1, i + 1));
                    return false;
                }
            }
        }
        if (index + 3 >= lines.size()) {
            error = Diagnostic(file, static_cast<int>(index + 1),
                               "incomplete thermo record: four lines are needed");
            return false;
        }
        ThermoRecord record;
        record.name = name;
        for (size_t i = 0; i < 4; ++i)
            record.lines[i] = lines[index + i];
        record.file = file;
        record.line = static_cast<int>(index + 1);
        record.defaultCommonTemperature = common;
        records.push_back(record);
        index += 4;
    }
    return true;
}

bool readField(const ThermoRecord &record, size_t lineIndex, size_t start, size_t width, double &value,
               const char *what, Diagnostic &error)
{
    const std::string text = Strings::column(record.lines[lineIndex], start, width);
    if (Strings::toNumber(text, value))
        return true;
    error = Diagnostic(record.file, record.line + static_cast<int>(lineIndex),
                       Strings::format("thermo data of %s: %s in columns %zu-%zu is not a number: \"%s\"",
                                       record.name.c_str(), what, start + 1, start + width,
                                       Strings::trimmed(text).c_str()));
    return false;
}

// One element field: a symbol of two characters and an atom count of three.
bool readElement(const ThermoRecord &record, size_t start, ThermoData &data, Diagnostic &error)
{
    const std::string symbol = Strings::trimmed(Strings::column(record.lines[0], start, 2));
    const std::string count = Strings::trimmed(Strings::column(record.lines[0], start + 2, 3));
    // Blank fields, and the "0" or "00" that some files put into unused ones,
    // carry no element. So do digits that belong to a wider temperature field
    // spilling into the fifth element's columns.
    if (symbol.empty() || !std::isalpha(static_cast<unsigned char>(symbol[0])))
        return true;
    double atoms = 0.0;
    if (count.empty())
        return true;
    if (!Strings::toNumber(count, atoms)) {
        error = Diagnostic(record.file, record.line,
                           Strings::format("thermo data of %s: atom count \"%s\" of element %s is not a number",
                                           record.name.c_str(), count.c_str(), symbol.c_str()));
        return false;
    }
    if (atoms != 0.0)
        data.composition.emplace_back(symbol, atoms);
    return true;
}

} // namespace

bool ThermoParser::readFile(const std::vector<std::string> &lines, const std::string &file,
                            std::vector<ThermoRecord> &records, Diagnostic &error)
{
    size_t index = 0;
    while (index < lines.size() && isBlankOrComment(lines[index]))
        ++index;
    if (index < lines.size()) {
        const std::vector<std::string> words = Strings::words(Strings::withoutComment(lines[index]));
        if (!words.empty() && Strings::startsWithNoCase(words[0], "THER"))
            ++index;
    }
    return readRecords(lines, index, file, false, records, error);
}

bool ThermoParser::readSection(const std::vector<std::string> &lines, size_t &index, const std::string &file,
                               std::vector<ThermoRecord> &records, Diagnostic &error)
{
    return readRecords(lines, index, file, true, records, error);
}

bool ThermoParser::decode(const ThermoRecord &record, ThermoData &data, Diagnostic &error)
{
    data = ThermoData();
    data.name = record.name;
    for (size_t start = 24; start < 44; start += 5) {
        if (!readElement(record, start, data, error))
            return false;
    }
    if (!readElement(record, 73, data, error))
        return false;
    const std::string phase = Strings::column(record.lines[0], 44, 1);
    data.phase = phase.empty() || phase[0] == ' ' ? 'G' : static_cast<char>(std::toupper(phase[0]));

    double low = 0, high = 0, common = record.defaultCommonTemperature;
    if (!readField(record, 0, 45, 10, low, "the low temperature", error)
        || !readField(record, 0, 55, 10, high, "the high temperature", error))
        return false;
    if (!Strings::trimmed(Strings::column(record.lines[0], 65, 8)).empty()
        && !readField(record, 0, 65, 8, common, "the common temperature", error))
        return false;
    if (!(low > 0 && low < common && common < high)) {
        error = Diagnostic(record.file, record.line,
                           Strings::format("thermo data of %s: temperatures %g < %g < %g are not in order",
                                           record.name.c_str(), low, common, high));
        return false;
    }

    double values[14];
    const size_t perLine[3] = {5, 5, 4};
    size_t n = 0;
    for (size_t lineIndex = 1; lineIndex <= 3; ++lineIndex) {
        for (size_t field = 0; field < perLine[lineIndex - 1]; ++field, ++n) {
            if (!readField(record, lineIndex, field * 15, 15, values[n], "a coefficient", error))
                return false;
        }
    }
    NasaPolynomial::Coefficients upper{}, lower{};
    for (size_t i = 0; i < 7; ++i) {
        upper[i] = values[i];
        lower[i] = values[7 + i];
    }
    data.polynomial = NasaPolynomial(low, common, high, lower, upper);
    return true;
}

} // namespace tarvelsim
