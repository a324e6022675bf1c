// Starts two commands in turn, many times, and compares them: whole-process wall time and peak
// memory (maximum resident set), as medians, and the median ratio of neighbouring runs.
// Usage: startup_runner <runs> <command A...> -- <command B...>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Run
{
    double seconds;
    long peakKiB;
};

Run RunOnce(std::vector<char*>& command)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(command[0], command.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed (status %d)\n", command[0], status);
        std::exit(1);
    }
    return {elapsed.count(), usage.ru_maxrss};
}

template <typename T> T Median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 5)
        return 2;
    const int runs = std::atoi(argv[1]);
    std::vector<char*> first;
    std::vector<char*> second;
    std::vector<char*>* filling = &first;
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "--") {
            filling = &second;
            continue;
        }
        filling->push_back(argv[i]);
    }
    first.push_back(nullptr);
    second.push_back(nullptr);

    RunOnce(first); // warm the file cache for both before measuring
    RunOnce(second);
    std::vector<double> timeA, timeB;
    std::vector<long> memoryA, memoryB;
    for (int i = 0; i < runs; ++i) { // alternated, so that the machine's state hits both alike
        const Run a = RunOnce(first);
        const Run b = RunOnce(second);
        timeA.push_back(a.seconds);
        memoryA.push_back(a.peakKiB);
        timeB.push_back(b.seconds);
        memoryB.push_back(b.peakKiB);
    }
    const double tA = Median(timeA), tB = Median(timeB);
    const long mA = Median(memoryA), mB = Median(memoryB);
    // The machine's speed drifts over a run; a pair of neighbouring runs shares the drift, so the
    // median of the pairs' ratios is steadier than the ratio of the medians.
    std::vector<double> pairRatios;
    for (std::size_t i = 0; i < timeA.size(); ++i)
        pairRatios.push_back(timeA[i] / timeB[i]);
    std::printf("runs each: %d\n", runs);
    std::printf("wall time   A %.1f ms   B %.1f ms   A/B %.3f   pairs' A/B %.3f\n", tA * 1000,
                tB * 1000, tA / tB, Median(pairRatios));
    std::printf("peak memory A %ld KiB   B %ld KiB   A/B %.3f\n", mA, mB,
                static_cast<double>(mA) / static_cast<double>(mB));
    return 0;
}
