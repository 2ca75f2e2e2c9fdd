#pragma once

#include "diagnostic.h"

#include <string>
#include <vector>

namespace tarvelsim {

// Whole-file text input and output. Reading goes through zlib, which passes
// plain files through unchanged, so a gzip-compressed mechanism or thermo
// database is read as readily as plain text.
class TextFile
{
public:
    // Lines without their line ends (a trailing carriage return is dropped too).
    [[nodiscard]] static bool readLines(const std::string &path, std::vector<std::string> &lines,
                                        Diagnostic &error);
    [[nodiscard]] static bool readText(const std::string &path, std::string &text, Diagnostic &error);
    [[nodiscard]] static bool writeText(const std::string &path, const std::string &text,
                                        Diagnostic &error);
    static bool exists(const std::string &path);
};

} // namespace tarvelsim
