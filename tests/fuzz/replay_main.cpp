// Runs a fuzz target over stored inputs, so that the ordinary suite checks the fuzz properties
// on every seed and on every input that once failed, with any compiler and no fuzzing engine.
// Usage: replay_<target> <file or folder>...
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<std::filesystem::path> InputsUnder(const std::filesystem::path& path)
{
    std::vector<std::filesystem::path> inputs;
    if (std::filesystem::is_directory(path)) {
        for (const auto& entry : std::filesystem::directory_iterator(path))
            if (entry.is_regular_file())
                inputs.push_back(entry.path());
    } else if (std::filesystem::is_regular_file(path)) {
        inputs.push_back(path);
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

std::vector<uint8_t> Contents(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace

int main(int argc, char* argv[])
{
    size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& input : InputsUnder(argv[i])) {
            std::printf("%s\n", input.c_str());
            std::fflush(stdout); // the name stays on record if the input aborts the run
            const std::vector<uint8_t> bytes = Contents(input);
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    std::printf("%zu inputs replayed\n", replayed);
    // A corpus that went missing must not pass as an empty success.
    return replayed > 0 ? 0 : 1;
}
