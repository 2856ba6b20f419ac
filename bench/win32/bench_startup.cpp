// Start to first paint and peak working set of fortpad.exe beside a bare
// window with the same controls, run in turn so that both see the same load.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Run {
    double ms;
    double working_set_mb;
};

double now_ms()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) * 1e3 / double(frequency.QuadPart);
}

Run run_once(const wchar_t* program, int number)
{
    const std::wstring event_name = L"fortpad-first-paint-" + std::to_wstring(GetCurrentProcessId()) + L"-"
                                    + std::to_wstring(number);
    const HANDLE painted = CreateEventW(nullptr, TRUE, FALSE, event_name.c_str());
    SetEnvironmentVariableW(L"FORTPAD_FIRST_PAINT_EVENT", event_name.c_str());
    std::wstring command = L"\"" + std::wstring(program) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = now_ms();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)
        || WaitForSingleObject(painted, 30'000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "%ls did not start and paint\n", program);
        std::exit(1);
    }
    const double elapsed = now_ms() - start;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(painted);
    return {elapsed, double(memory.PeakWorkingSetSize) / (1024.0 * 1024.0)};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int runs = argc > 1 ? _wtoi(argv[1]) : 21;
    const wchar_t* programs[] = {FORTPAD_PROBE, BARE_PROBE};
    std::vector<double> ms[2], working_set[2];
    int number = 0;
    run_once(programs[0], number++); // warm the file cache for both
    run_once(programs[1], number++);
    for (int i = 0; i < runs; ++i)
        for (int p = 0; p < 2; ++p) {
            const Run run = run_once(programs[p], number++);
            ms[p].push_back(run.ms);
            working_set[p].push_back(run.working_set_mb);
        }
    std::printf("start to first paint under Wine, medians of %d runs\n", runs);
    std::printf("%-12s %10s %22s\n", "", "wall (ms)", "peak working set (MB)");
    for (int p = 0; p < 2; ++p)
        std::printf("%-12s %10.1f %22.1f\n", p == 0 ? "fortpad.exe" : "bare window", median(ms[p]),
                    median(working_set[p]));
    std::printf("%-12s %10.2f %22.2f\n", "ratio", median(ms[0]) / median(ms[1]),
                median(working_set[0]) / median(working_set[1]));
    return 0;
}
