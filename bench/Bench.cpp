// Start-up benchmark: time from CreateProcess until the main window is shown, for Tavimero.exe
// (in a fresh folder, so it starts with default settings and starts its prompt) and for a
// minimal Win32 window program. Then both at rest: their private memory, and the CPU time each
// takes over 10 s while nobody works them (Tavimero reads its prompt's directories on a timer).
// Last the size of Tavimero.exe against its limit. Prints the figures and ratios; it passes or
// fails nothing. The programs start in turn, run after run, so that a machine that gets busier
// or quieter on the way weighs on each alike. Given another build of Tavimero.exe (an earlier
// one, say), it starts in the same turns and gets a row of its own: a before-and-after under
// the same conditions.
//
//   tavimero_bench [runs] [other Tavimero.exe]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "BenchReport.h"
#include "Driver.h"
#include "forms/ControlIds.h"

#ifndef MINIMAL_WINDOW_BUILD_PATH
#define MINIMAL_WINDOW_BUILD_PATH ""
#endif

namespace {

using namespace e2e;
using Millis = std::chrono::duration<double, std::milli>;

constexpr milliseconds kBenchPoll{1};

// Starts exe, waits for its visible window with the caption and returns the time taken; ends
// the process and everything it started before returning.
double timeToWindow(const std::wstring& exe, const std::wstring& cwd, const std::wstring& caption) {
    const auto start = Clock::now();
    auto started = startProcess(exe, L"", cwd);
    const bool shown = pollUntil([&] { return findVisibleWindow(started.pid, caption) != nullptr; },
                                 kWindowTimeout, kBenchPoll);
    const double elapsed = Millis(Clock::now() - start).count();
    endProcessTree(started.pid, started.process.get());
    if (!shown)
        throw std::runtime_error("no window \"" + narrow(caption) + "\" from " + narrow(exe));
    return elapsed;
}

std::wstring copyOf(const std::wstring& program, const TempFolder& folder) {
    const std::wstring exe = folder / L"Tavimero.exe";
    if (!CopyFileW(program.c_str(), exe.c_str(), TRUE)) {
        throw std::runtime_error("cannot copy " + narrow(program));
    }
    return exe;
}

double tavimeroRun(const std::wstring& program) {
    TempFolder folder(L"Tavimero bench");
    return timeToWindow(copyOf(program, folder), folder.path(), widen(captions::MainWindow));
}

struct AtRest {
    double privateMiB = 0;
    double cpuMilliseconds = 0;  // over kRestPeriod
};

constexpr milliseconds kSettle{3000};  // start-up work done, the prompt started
constexpr milliseconds kRestPeriod{10000};

// Starts exe, lets it settle once its window shows, then measures it at rest.
AtRest atRest(const std::wstring& exe, const std::wstring& cwd, const std::wstring& caption) {
    auto started = startProcess(exe, L"", cwd);
    const bool shown = pollUntil([&] { return findVisibleWindow(started.pid, caption) != nullptr; },
                                 kWindowTimeout, kBenchPoll);
    if (!shown) {
        endProcessTree(started.pid, started.process.get());
        throw std::runtime_error("no window \"" + narrow(caption) + "\" from " + narrow(exe));
    }
    std::this_thread::sleep_for(kSettle);
    AtRest rest;
    rest.privateMiB = bench::PrivateMiB(started.process.get());
    const double before = bench::CpuMilliseconds(started.process.get());
    std::this_thread::sleep_for(kRestPeriod);
    rest.cpuMilliseconds = bench::CpuMilliseconds(started.process.get()) - before;
    endProcessTree(started.pid, started.process.get());
    return rest;
}

double fileMiB(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return static_cast<double>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) |
                               data.nFileSizeLow) /
           bench::kMiB;
}

double minimalRun() {
    const std::wstring exe = toWindowsPath(MINIMAL_WINDOW_BUILD_PATH);
    return timeToWindow(exe, L"", L"Minimal");
}

struct Contender {
    const char* name;
    std::function<double()> run;
    std::vector<double> times;
};

// Runs each contender once per turn, after one warm-up turn (the first start also loads and
// caches the system's libraries), prints each one's median and runs, and returns the medians.
std::vector<double> report(std::vector<Contender>& contenders, int runs) {
    for (Contender& contender : contenders) contender.run();
    for (int i = 0; i < runs; ++i)
        for (Contender& contender : contenders) contender.times.push_back(contender.run());
    std::vector<double> medians;
    for (const Contender& contender : contenders) {
        const double m = bench::Median(contender.times);
        std::printf("  %-20s median %8.1f ms   runs:", contender.name, m);
        for (double t : contender.times) std::printf(" %.1f", t);
        std::printf("\n");
        medians.push_back(m);
    }
    return medians;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::wstring other = argc > 2 ? toWindowsPath(argv[2]) : std::wstring();
    try {
        std::printf(
            "Time from CreateProcess to the shown main window, %d runs each after one warm-up "
            "run, in turns:\n",
            runs);
        std::vector<Contender> contenders{
            {"Tavimero.exe", [] { return tavimeroRun(programUnderTest()); }, {}},
            {"minimal_window.exe", minimalRun, {}}};
        if (!other.empty())
            contenders.push_back({"the other build", [&] { return tavimeroRun(other); }, {}});
        const std::vector<double> medians = report(contenders, runs);
        bench::PrintRow("start to the shown main window (goal: ratio <= 1.3)", medians[0], "ms",
                        "minimal window", medians[1]);
        if (!other.empty())
            bench::PrintRow("the other build's start", medians[2], "ms", "minimal window",
                            medians[1]);

        std::printf("At rest, %lld s after the window showed, then for %lld s:\n",
                    static_cast<long long>(kSettle.count() / 1000),
                    static_cast<long long>(kRestPeriod.count() / 1000));
        TempFolder folder(L"Tavimero bench rest");
        const AtRest tavimeroRest =
            atRest(copyOf(programUnderTest(), folder), folder.path(), widen(captions::MainWindow));
        const AtRest minimalRest =
            atRest(toWindowsPath(MINIMAL_WINDOW_BUILD_PATH), L"", L"Minimal");
        bench::PrintRow("private memory of Tavimero (goal <= 10 MiB)", tavimeroRest.privateMiB,
                        "MiB", "minimal window", minimalRest.privateMiB);
        bench::PrintRow("CPU time of Tavimero at rest over the period",
                        tavimeroRest.cpuMilliseconds, "ms", "minimal window",
                        minimalRest.cpuMilliseconds);
        std::printf(
            "  %-58s %9.2f %%\n", "  that is, of one core",
            100.0 * tavimeroRest.cpuMilliseconds / static_cast<double>(kRestPeriod.count()));

        bench::PrintRow("Tavimero.exe on disk, system DLLs only", fileMiB(programUnderTest()),
                        "MiB", "limit", 1.5);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
