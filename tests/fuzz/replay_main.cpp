// Runs a fuzz target over stored inputs, so that the ordinary suite checks its properties on
// every seed and every input that once failed, with any compiler and no fuzzing engine.
// Usage: replay_<target> <folder>...
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char* argv[])
{
    int replayed = 0;
    for (int i = 1; i < argc; ++i)
        for (const auto& input : std::filesystem::directory_iterator(argv[i])) {
            std::printf("%s\n", input.path().c_str());
            std::fflush(stdout); // the name stays on record if the input aborts the run
            std::ifstream file(input.path(), std::ios::binary);
            const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++replayed;
        }
    std::printf("%d inputs replayed\n", replayed);
    return replayed == 0; // a corpus gone missing is no success
}
