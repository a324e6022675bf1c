// Runs a fuzz target over stored inputs, so that the ordinary suite checks its properties on
// every seed and every input that once failed, with any compiler and no fuzzing engine.
// Usage: replay_<target> <file or folder>...
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char* argv[])
{
    std::set<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i)
        if (std::filesystem::is_directory(argv[i]))
            for (const auto& entry : std::filesystem::directory_iterator(argv[i]))
                inputs.insert(entry.path());
    for (const auto& input : inputs) {
        std::printf("%s\n", input.c_str());
        std::fflush(stdout); // the name stays on record if the input aborts the run
        std::ifstream file(input, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return inputs.empty() ? 1 : 0; // a corpus gone missing is no success
}
