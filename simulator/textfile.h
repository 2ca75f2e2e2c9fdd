#pragma once

#include "diagnostic.h"

#include <cstdio>
#include <string>
#include <vector>

namespace tarvelsim {

// Whole-file text input and output. Reading goes through zlib, which passes
// plain files through unchanged, so a gzip-compressed mechanism or thermo
// database is read as readily as plain text.
//
// Files are written where they stand, never through a symbolic link at
// their name: a link there is replaced by a new file, so that a run folder
// cannot be made to overwrite a file elsewhere.
class TextFile
{
public:
    // What a file may inflate to at most; a compressed file that would grow
    // beyond it (a "gzip bomb") is refused rather than exhausting memory.
    static constexpr size_t defaultSizeLimit = size_t(256) << 20;

    // Lines without their line ends (a trailing carriage return is dropped too).
    [[nodiscard]] static bool readLines(const std::string& path, std::vector<std::string>& lines, Diagnostic& error,
                                        size_t sizeLimit = defaultSizeLimit);
    [[nodiscard]] static bool readText(const std::string& path, std::string& text, Diagnostic& error,
                                       size_t sizeLimit = defaultSizeLimit);
    [[nodiscard]] static bool writeText(const std::string &path, const std::string &text,
                                        Diagnostic &error);
    // A new, empty file for writing (see above); null with the reason in
    // error when it cannot be created.
    static std::FILE* create(const std::string& path, Diagnostic& error);
    static bool exists(const std::string &path);
};

} // namespace tarvelsim
