#pragma once

#include <string>
#include <vector>

namespace tarvelsim {

// The small text operations every reader of the fixed-format files needs.
class Strings
{
public:
    static std::string trimmed(const std::string &text);
    static std::string upper(const std::string &text);
    static bool equalNoCase(const std::string &a, const std::string &b);
    static bool startsWithNoCase(const std::string &text, const std::string &prefix);
    // Blank-separated words.
    static std::vector<std::string> words(const std::string &text);
    // The text before a "!" comment.
    static std::string withoutComment(const std::string &line);
    // Columns [start, start + length) of a fixed-format line; short lines give
    // what they have.
    static std::string column(const std::string &line, size_t start, size_t length);
    // A whole word as a number: sign, digits, decimal point and an exponent
    // written with E or, as FORTRAN programs write it, D.
    [[nodiscard]] static bool toNumber(const std::string &text, double &value);
    // printf into a std::string.
    static std::string format(const char *pattern, ...) __attribute__((format(printf, 1, 2)));
};

} // namespace tarvelsim
