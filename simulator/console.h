#pragma once

#include <string>

namespace tarvelsim {

// The programs' console output. The front end follows it line by line while
// the program runs, so every line is flushed at once.
class Console
{
public:
    static void line(const std::string &text);
    // The reason, then the failure sentence; the program's exit code.
    static int fail(const std::string &reason);
    // Runs a program's body; what it throws (memory running out on a huge
    // input) ends it with the failure sentence rather than an abort.
    static int guarded(int (*body)());
};

} // namespace tarvelsim
