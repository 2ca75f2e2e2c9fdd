#include "console.h"

#include "programfiles.h"

#include <cstdio>

namespace tarvelsim {

void Console::line(const std::string &text)
{
    std::fputs(text.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int Console::fail(const std::string &reason)
{
    line(" ERROR: " + reason);
    line(std::string(" ") + ProgramFiles::failure);
    return 1;
}

} // namespace tarvelsim
