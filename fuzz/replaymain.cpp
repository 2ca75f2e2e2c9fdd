// Runs a fuzz target over saved inputs, without libFuzzer: the regression
// test of the ordinary build. Every file of the folders (or every file named)
// goes to LLVMFuzzerTestOneInput once, in name order. A broken property
// aborts the run, after the name of the input that broke it.
//
//   fuzzreplay_<target> CORPUS [MORE...]
//
// CORPUS must exist and hold inputs: a corpus that went missing must fail the
// test, not pass it. The others (a target's saved crashers) are replayed when
// they exist.

#include "fuzzcheck.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> inputsOf(const fs::path& path)
{
    std::vector<fs::path> inputs;
    if (fs::is_regular_file(path)) {
        inputs.push_back(path);
        return inputs;
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(path)) {
        // Dot files are the folder's own (.gitkeep), not inputs.
        if (entry.is_regular_file() && entry.path().filename().string().front() != '.')
            inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

bool replay(const fs::path& input)
{
    std::ifstream stream(input, std::ios::binary);
    if (!stream) {
        std::fprintf(stderr, "cannot read %s\n", input.c_str());
        return false;
    }
    // A buffer of exactly the input's size, as libFuzzer hands it over.
    const std::vector<char> bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    std::printf("replaying %s (%zu bytes)\n", input.c_str(), data.size());
    std::fflush(stdout);
    // Never a null pointer, as libFuzzer never passes one.
    static const std::uint8_t none = 0;
    LLVMFuzzerTestOneInput(data.empty() ? &none : data.data(), data.size());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS [MORE...]\n", argv[0]);
        return 2;
    }
    std::size_t total = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path path(argv[i]);
        if (!fs::exists(path)) {
            if (i == 1) {
                std::fprintf(stderr, "the corpus %s does not exist\n", path.c_str());
                return 1;
            }
            continue;
        }
        const std::vector<fs::path> inputs = inputsOf(path);
        if (i == 1 && inputs.empty()) {
            std::fprintf(stderr, "the corpus %s holds no inputs\n", path.c_str());
            return 1;
        }
        for (const fs::path& input : inputs) {
            if (!replay(input))
                return 1;
        }
        std::printf("%zu inputs of %s replayed\n", inputs.size(), path.c_str());
        total += inputs.size();
    }
    std::printf("%zu inputs replayed without a fault\n", total);
    return 0;
}
