// Start-up: runs `quillmere --self-test` (which quits after its first painted
// main window) and the minimal Qt Widgets window beside it, alternately, and
// prints the median wall time, CPU time and peak memory (maximum resident set
// size) of each, and their ratios and difference. Wall time suffers most when
// other work shares the machine; CPU time (user + system) much less.
//
//   bench_startup <quillmere> <minimal-window> [runs]
#include "BenchSupport.h"

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
    double milliseconds = 0;
    double cpuMilliseconds = 0;
    long maxResidentKiB = 0;
    int status = 0;
};

Run runOnce(const std::vector<std::string> &command)
{
    std::vector<char *> argv;
    for (const std::string &arg : command)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[0], argv.data());
        std::perror("execv");
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    const auto ms = [](const timeval &t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return Run{std::chrono::duration<double, std::milli>(end - start).count(),
               ms(usage.ru_utime) + ms(usage.ru_stime), usage.ru_maxrss, status};
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <quillmere> <minimal-window> [runs]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 15;
    const std::vector<std::string> app{argv[1], "--self-test"};
    const std::vector<std::string> anchor{argv[2]};

    // One warm-up each, so both start from a warm file cache.
    runOnce(app);
    runOnce(anchor);

    std::vector<double> appTimes, anchorTimes, appCpu, anchorCpu, appMemory, anchorMemory;
    for (int i = 0; i < runs; ++i) {
        const Run a = runOnce(app);
        const Run b = runOnce(anchor);
        if (a.status != 0 || b.status != 0) {
            std::fprintf(stderr, "a run failed (status %d / %d)\n", a.status, b.status);
            return 1;
        }
        appTimes.push_back(a.milliseconds);
        anchorTimes.push_back(b.milliseconds);
        appCpu.push_back(a.cpuMilliseconds);
        anchorCpu.push_back(b.cpuMilliseconds);
        appMemory.push_back(static_cast<double>(a.maxResidentKiB));
        anchorMemory.push_back(static_cast<double>(b.maxResidentKiB));
    }

    using BenchSupport::median;
    const double t = median(appTimes), t0 = median(anchorTimes);
    const double c = median(appCpu), c0 = median(anchorCpu);
    const double m = median(appMemory) / 1024.0, m0 = median(anchorMemory) / 1024.0;
    std::printf("start-up to the first painted window, median of %d runs each\n", runs);
    std::printf("  quillmere --self-test: %7.1f ms (CPU %5.1f ms), peak memory %6.1f MB\n", t, c, m);
    std::printf("  minimal Qt window:     %7.1f ms (CPU %5.1f ms), peak memory %6.1f MB\n", t0, c0, m0);
    std::printf("  time ratio:            %7.2f (goal <= 1.3); CPU time ratio %.2f\n", t / t0, c / c0);
    std::printf("  extra peak memory:     %7.1f MB (goal <= 8)\n", m - m0);
    return 0;
}
