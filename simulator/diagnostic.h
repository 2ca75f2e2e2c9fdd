#pragma once

#include <string>

namespace tarvelsim {

// Why an input could not be used: the file, the line (1-based, 0 when the
// problem is not tied to one line) and the reason, as both programs print it.
struct Diagnostic
{
    std::string file;
    int line = 0;
    std::string reason;

    Diagnostic() = default;
    Diagnostic(std::string file, int line, std::string reason);

    std::string text() const;
};

} // namespace tarvelsim
