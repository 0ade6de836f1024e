// Start-up: from process start to the first question painted, against a bare main window of the
// same size and against the same window showing one line of text, run in turn.
// Usage: startup_bench GAME_PROBE BARE_PROBE TEXT_PROBE [RUNS]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

long long monotonicNow()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

struct Run {
    double milliseconds;
    long peakKilobytes;
};

// Starts the probe in a fresh folder with an empty data folder and reads its paint stamp.
Run runOnce(const char* probe)
{
    char folder[] = "/tmp/mudracq-bench-XXXXXX";
    if (!mkdtemp(folder))
        std::exit(1);
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        std::exit(1);
    const long long start = monotonicNow();
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        if (chdir(folder) != 0)
            _exit(1);
        setenv("XDG_DATA_HOME", folder, 1);
        execl(probe, probe, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    char text[64] = {};
    const ssize_t got = read(pipeFds[0], text, sizeof text - 1);
    close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    std::system((std::string("rm -rf ") + folder).c_str());
    if (got <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s did not report its first paint (read %zd, status %d)\n", probe,
                     got, status);
        std::exit(1);
    }
    return {static_cast<double>(std::atoll(text) - start) / 1e6, usage.ru_maxrss};
}

template <typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    const int runs = argc > 4 ? std::atoi(argv[4]) : 21;
    // The probes start in folders of their own, so they are named by absolute path.
    constexpr int kProbes = 3;
    for (int i = 1; i <= kProbes; ++i)
        argv[i] = realpath(argv[i], nullptr);
    std::vector<double> times[kProbes];
    std::vector<long> memory[kProbes];
    for (int i = 0; i <= runs; ++i) {
        for (int p = 0; p < kProbes; ++p) {
            const Run run = runOnce(argv[p + 1]);
            if (i == 0)
                continue; // the first round only warms the file cache
            times[p].push_back(run.milliseconds);
            memory[p].push_back(run.peakKilobytes);
        }
    }
    double ms[kProbes];
    long kb[kProbes];
    for (int p = 0; p < kProbes; ++p) {
        ms[p] = median(times[p]);
        kb[p] = median(memory[p]);
    }
    const auto ratio = [](double a, double b) { return a / b; };
    std::printf("start-up to first paint, median of %d runs each\n", runs);
    std::printf("  game:                 %7.1f ms  peak %6ld kB\n", ms[0], kb[0]);
    std::printf("  bare window:          %7.1f ms  peak %6ld kB\n", ms[1], kb[1]);
    std::printf("  bare window and text: %7.1f ms  peak %6ld kB\n", ms[2], kb[2]);
    std::printf("  game / bare window:   %7.2f x time  %.2f x memory (goal <= 1.25 each)\n",
                ratio(ms[0], ms[1]), ratio(static_cast<double>(kb[0]), static_cast<double>(kb[1])));
    std::printf("  game / window + text: %7.2f x time  %.2f x memory\n", ratio(ms[0], ms[2]),
                ratio(static_cast<double>(kb[0]), static_cast<double>(kb[2])));
    return 0;
}
