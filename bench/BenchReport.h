#pragma once
// What the benchmarks share: medians, one printed row per figure (the figure, what it is
// measured against, their ratio), and a running program's memory and CPU time.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// psapi.h needs the types windows.h declares.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// "  what   figure unit   against: baseline unit   ratio r" on one line.
inline void PrintRow(const char* what, double figure, const char* unit, const char* against,
                     double baseline) {
    std::printf("  %-58s %9.1f %-3s  %-30s %9.1f %-3s  ratio %5.2f\n", what, figure, unit, against,
                baseline, unit, baseline > 0 ? figure / baseline : 0.0);
}

constexpr double kMiB = 1024.0 * 1024.0;

// The private bytes of a process (its commit charge: memory no other process shares), in MiB;
// 0 when unknown. Read as PagefileUsage, which holds the same figure as PrivateUsage on Windows
// and is the one Wine fills in.
inline double PrivateMiB(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
    return static_cast<double>(counters.PagefileUsage) / kMiB;
}

// The CPU time a process has used so far, kernel and user, in milliseconds.
inline double CpuMilliseconds(HANDLE process) {
    FILETIME created{}, ended{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return 0;
    const auto value = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(value(kernel) + value(user)) / 10000.0;
}

}  // namespace bench
