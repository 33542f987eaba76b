// Directory-reading benchmark: the time of one readDirectories() on a real prompt (cmd.exe, idle
// at its command line), beside one isRunning() on the same prompt, a single call to the system,
// for scale. Prints the medians and their ratio; it passes or fails nothing on time. It fails
// (exit code 1) only when the prompt cannot be started or read at all.
//
//   tavimero_directories_bench [reads]   (default 1000)

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/PlatformError.h"
#include "platform/win32/Win32PromptLauncher.h"

namespace {

using Clock = std::chrono::steady_clock;
using Micros = std::chrono::duration<double, std::micro>;

template <typename Call>
std::vector<double> Time(int runs, Call call) {
    std::vector<double> times;
    times.reserve(static_cast<size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        call();
        times.push_back(Micros(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times;
}

double Median(const std::vector<double>& sorted) { return sorted[sorted.size() / 2]; }

void Print(const char* what, const std::vector<double>& sorted) {
    std::printf("%-28s median %8.1f us   min %8.1f us   90%% %8.1f us   max %8.1f us\n", what,
                Median(sorted), sorted.front(), sorted[sorted.size() * 9 / 10], sorted.back());
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    char folder[MAX_PATH * 3];
    WideCharToMultiByte(CP_UTF8, 0, temp, -1, folder, sizeof folder, nullptr, nullptr);

    Win32PromptLauncher launcher;
    std::unique_ptr<PromptProcess> prompt;
    try {
        prompt = launcher.start(SystemPrompt::Cmd, folder);
    } catch (const PlatformError& error) {
        std::fprintf(stderr, "cannot start cmd.exe: %s\n", error.what());
        return 1;
    }
    // The prompt has its console once start() returns; its directory is readable a moment later.
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    std::optional<PromptDirectories> first;
    while (!(first = prompt->readDirectories()) && Clock::now() < deadline) Sleep(10);
    if (!first) {
        std::fprintf(stderr, "the prompt's directories could not be read\n");
        prompt->terminate();
        return 1;
    }
    std::printf("prompt in %s, %zu drive entries; %d reads each\n", first->current.c_str(),
                first->drives.size(), runs);

    int failed = 0;
    const std::vector<double> reads = Time(runs, [&] { failed += !prompt->readDirectories(); });
    const std::vector<double> checks = Time(runs, [&] { (void)prompt->isRunning(); });
    Print("readDirectories()", reads);
    Print("isRunning() (one call)", checks);
    std::printf("ratio of medians: %.1f; reads that gave nothing: %d\n",
                Median(reads) / std::max(Median(checks), 0.001), failed);
    prompt->terminate();
    return 0;
}
