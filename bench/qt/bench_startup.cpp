// Start to first paint and peak memory of fortpad beside a bare window with
// the same widgets, run in turn so that both see the same machine load.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Run {
    double ms;
    double cpu_ms; // user + system: steadier than wall time on a busy machine
    double rss_mb;
};

double to_ms(const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; }

Run run_once(const char* program)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s did not start and paint\n", program);
        std::exit(1);
    }
    return {elapsed.count(), to_ms(usage.ru_utime) + to_ms(usage.ru_stime), double(usage.ru_maxrss) / 1024.0};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 21;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const char* programs[] = {FORTPAD_PROBE, BARE_PROBE};
    std::vector<double> ms[2], cpu[2], rss[2];
    run_once(programs[0]); // warm the file cache for both
    run_once(programs[1]);
    for (int i = 0; i < runs; ++i)
        for (int p = 0; p < 2; ++p) {
            const Run run = run_once(programs[p]);
            ms[p].push_back(run.ms);
            cpu[p].push_back(run.cpu_ms);
            rss[p].push_back(run.rss_mb);
        }
    std::printf("start to first paint, medians of %d runs (%s)\n", runs, std::getenv("QT_QPA_PLATFORM"));
    std::printf("%-12s %10s %10s %14s\n", "", "wall (ms)", "CPU (ms)", "peak RSS (MB)");
    for (int p = 0; p < 2; ++p)
        std::printf("%-12s %10.1f %10.1f %14.1f\n", p == 0 ? "fortpad" : "bare window", median(ms[p]), median(cpu[p]),
                    median(rss[p]));
    std::printf("%-12s %10.2f %10.2f %14.2f\n", "ratio", median(ms[0]) / median(ms[1]),
                median(cpu[0]) / median(cpu[1]), median(rss[0]) / median(rss[1]));
    return 0;
}
