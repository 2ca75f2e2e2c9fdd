#ifndef TARVEL_FUZZ_FUZZCHECK_H
#define TARVEL_FUZZ_FUZZCHECK_H

// What every fuzz target shares: the entry point libFuzzer calls, and the
// check of a property the reader must keep whatever its input. A broken
// property aborts, which the fuzzer reports as a crash and saves the input
// for, and which fails the replay of that input in the ordinary build.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

[[noreturn]] inline void fuzzFailure(const char* file, int line, const char* condition, const char* what)
{
    std::fprintf(stderr, "%s:%d: fuzz check failed: %s (%s)\n", file, line, what, condition);
    std::fflush(stderr);
    std::abort();
}

#define FUZZ_CHECK(condition, what)                                                                                    \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            fuzzFailure(__FILE__, __LINE__, #condition, what);                                                         \
    } while (false)

#endif
