// Start-up step benchmark: where the time between a process's creation and its shown main
// window goes, timed inside fresh processes through the real Win32 classes. Each run starts
// this program again as a child, which goes through the program's own start-up steps (the
// loader and the libraries loaded with the program, common controls, the platform objects, the
// main window with its menu, icons, toolbar and controls, the settings, showing with the first
// paint, OLE) and reports each step's time; a second main window after the first shows what the
// process's first top-level window costs beyond its own work. A child of the other kind makes
// only the minimal window's one plain window, as the yardstick. Prints medians; it passes or
// fails nothing on time.
//
//   tavimero_startup_bench [runs]   (default 15)

#include <ole2.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "BenchReport.h"
#include "forms/frmDosLaunch.h"
#include "forms/frmDosLaunchLayout.h"
#include "forms/mdlDos.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/Win32Platform.h"

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

// Between runs: what the system does after a process ended (its windows, its libraries) is
// over before the next one starts, and is not counted against it.
constexpr DWORD kSettleMilliseconds = 500;

// Milliseconds since this process was created, by the system's clock.
double SinceProcessCreated() {
    FILETIME created{}, ended{}, kernel{}, user{}, now{};
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    const auto value = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(value(now) - value(created)) / 10000.0;
}

// The steps, in order, as "name=milliseconds" lines on standard output.
class Steps {
public:
    Steps() : last_(Clock::now()) {}
    void Mark(const char* name) {
        const auto now = Clock::now();
        std::printf("%s=%.3f\n", name, Millis(now - last_).count());
        last_ = now;
    }

private:
    Clock::time_point last_;
};

int TavimeroChild() {
    std::printf("before main=%.3f\n", SinceProcessCreated());
    Steps steps;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    steps.Mark("common controls");
    Win32Platform win32;
    mdlDos shared;
    steps.Mark("platform objects");
    frmDosLaunch main(win32.platform(), shared);
    steps.Mark("main window: frame, menu, icons, toolbar, controls");
    main.Form_Load();
    steps.Mark("settings and start folder");
    if (!main.StartedOk()) return 1;
    main.Show();
    steps.Mark("showing and the first paint");
    const bool ole = SUCCEEDED(OleInitialize(nullptr));
    steps.Mark("OLE, after the window shows");
    {
        // The same window once more: what the process's first top-level window cost beyond it.
        std::unique_ptr<Form> again = win32.platform().forms.create(frmDosLaunchForm());
        steps.Mark("a second main window (not in the start)");
    }
    if (ole) OleUninitialize();
    std::fflush(stdout);
    return 0;
}

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// The minimal window's steps.
int MinimalChild() {
    std::printf("before main=%.3f\n", SinceProcessCreated());
    Steps steps;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PlainProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"MinimalWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Minimal", WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 400, 300, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    steps.Mark("window");
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    steps.Mark("showing and the first paint");
    DestroyWindow(window);
    std::fflush(stdout);
    return 0;
}

// Runs this program as a child of the given kind and collects its steps.
std::vector<std::pair<std::string, double>> RunChild(const char* kind) {
    wchar_t self[MAX_PATH]{};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --child ";
    for (const char* c = kind; *c; ++c) command += static_cast<wchar_t>(*c);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::vector<std::pair<std::string, double>> steps;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        CloseHandle(readEnd);
        CloseHandle(writeEnd);
        return steps;
    }
    CloseHandle(writeEnd);
    std::string output;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0)
        output.append(buffer, read);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(readEnd);
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        const auto equals = line.rfind('=');
        if (equals != std::string::npos)
            steps.emplace_back(line.substr(0, equals), std::atof(line.c_str() + equals + 1));
    }
    return steps;
}

// Medians of each step over the runs, printed in the order of the steps; returns the median
// of the steps' sum from main up to the first paint (`last`). The time before main is this
// program's loader for both kinds of child, so it is shown but not compared.
double Report(const char* title, const char* kind, int runs, const std::string& last) {
    RunChild(kind);  // warm-up: the first start also loads and caches the system's libraries
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> times;
    std::vector<double> totals;
    for (int run = 0; run < runs; ++run) {
        Sleep(kSettleMilliseconds);
        double total = 0;
        bool counting = true;
        for (const auto& [name, ms] : RunChild(kind)) {
            if (!times.count(name)) order.push_back(name);
            times[name].push_back(ms);
            if (counting && name != "before main") total += ms;
            if (name == last) counting = false;
        }
        totals.push_back(total);
    }
    std::printf("%s, medians of %d runs:\n", title, runs);
    for (const std::string& name : order)
        std::printf("  %-58s %9.1f ms\n", name.c_str(), bench::Median(times[name]));
    const double total = bench::Median(totals);
    std::printf("  %-58s %9.1f ms\n", "main to the first paint", total);
    return total;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "--child") == 0)
        return std::strcmp(argv[2], "minimal") == 0 ? MinimalChild() : TavimeroChild();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const double tavimero =
        Report("Tavimero's start-up steps", "tavimero", runs, "showing and the first paint");
    const double minimal =
        Report("The minimal window's steps", "minimal", runs, "showing and the first paint");
    bench::PrintRow("main to the first paint, in the process", tavimero, "ms", "minimal window",
                    minimal);
    return 0;
}
