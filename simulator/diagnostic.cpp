#include "diagnostic.h"

#include <utility>

namespace tarvelsim {

Diagnostic::Diagnostic(std::string fileName, int lineNumber, std::string why)
    : file(std::move(fileName)), line(lineNumber), reason(std::move(why))
{
}

std::string Diagnostic::text() const
{
    std::string result = file.empty() ? std::string("input") : file;
    if (line > 0)
        result += ", line " + std::to_string(line);
    return result + ": " + reason;
}

} // namespace tarvelsim
