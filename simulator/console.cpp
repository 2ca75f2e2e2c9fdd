#include "console.h"

#include "programfiles.h"

#include <cstdio>
#include <exception>
#include <new>

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

namespace tarvelsim {

int Console::guarded(int (*body)())
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return fail("the input is too large for the memory of this computer");
    } catch (const std::exception& exception) {
        return fail(exception.what());
    }
}

} // namespace tarvelsim
