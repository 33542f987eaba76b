// Start-up benchmark: time from CreateProcess until the main window is shown, for Tavimero.exe
// (in a fresh folder, so it starts with default settings and starts its prompt) and for a
// minimal Win32 window program. Prints the medians and their ratio; it passes or fails nothing.
//
//   tavimero_bench [runs]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

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

double tavimeroRun() {
    TempFolder folder(L"Tavimero bench");
    const std::wstring exe = folder / L"Tavimero.exe";
    if (!CopyFileW(programUnderTest().c_str(), exe.c_str(), TRUE)) {
        throw std::runtime_error("cannot copy " + narrow(programUnderTest()));
    }
    return timeToWindow(exe, folder.path(), widen(captions::MainWindow));
}

double minimalRun() {
    const std::wstring exe = toWindowsPath(MINIMAL_WINDOW_BUILD_PATH);
    return timeToWindow(exe, L"", L"Minimal");
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double report(const char* name, const std::function<double()>& run, int runs) {
    run();  // warm-up: the first start also loads and caches the system's libraries
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(run());
    const double m = median(times);
    std::printf("  %-20s median %8.1f ms   runs:", name, m);
    for (double t : times) std::printf(" %.1f", t);
    std::printf("\n");
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    try {
        std::printf(
            "Time from CreateProcess to the shown main window, %d runs each after one warm-up "
            "run:\n",
            runs);
        const double tavimero = report("Tavimero.exe", tavimeroRun, runs);
        const double minimal = report("minimal_window.exe", minimalRun, runs);
        std::printf("  ratio Tavimero / minimal window: %.2f\n", tavimero / minimal);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
