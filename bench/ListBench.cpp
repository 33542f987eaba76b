// Command list benchmark: how long Tavimero.exe takes to fill its command list from large list
// files, against the bare cost of reading and decoding the same file in this process.
//
//   tavimero_list_bench [lines] [runs]
//
// A fresh folder gets a copy of Tavimero.exe, a list file of `lines` distinct lines (default
// 100000, in random order, one in eight Japanese, UTF-8 with a byte-order mark) and a second
// one of as many lines of which half are in the first. Measured:
//   - read + decode: ReadFile and MultiByteToWideChar of the first file here (the baseline);
//   - start without a list: CreateProcess until the main window shows;
//   - open at start-up: with LoadList=Yes, CreateProcess until the list box holds every line,
//     for the lines in the order the program saves them and for the shuffled file;
//   - append: "add another list" with the second file, from pressing the file box's Open
//     button until the list box holds the union;
//   - add one line: one input-and-execute with chbAdd ticked against one with it clear;
//   - the private memory of the program at rest, without a list and with the large one.
// It prints the figures and their ratios to the baseline; it passes or fails nothing on time.
// It fails (exit code 1) only when the program does not do the work at all.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "BenchReport.h"
#include "Driver.h"
#include "ListLines.h"
#include "forms/ControlIds.h"

namespace {

using namespace e2e;
using bench::listText;
using Millis = std::chrono::duration<double, std::milli>;

constexpr milliseconds kBenchPoll{5};
constexpr milliseconds kSettle{2000};  // after the work, before the memory is read
constexpr double kInputGoal = 10;      // ms for one input-and-execute
constexpr milliseconds kLoadTimeout{std::chrono::minutes(15)};  // only to end a run that hangs
constexpr wchar_t kAppendTitle[] = L"現在のリストに追加するリスト";
// The file name box of the system's open box: a combo box (cmb13) on current systems, an edit
// control (edt1) on older ones.
constexpr int kFileNameCombo = 0x47c;
constexpr int kFileNameEdit = 0x480;

void writeFile(const std::wstring& path, const std::string& bytes) {
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file ||
        !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        throw std::runtime_error("cannot write " + narrow(path));
    }
}

// ReadFile of the whole file and its conversion to UTF-16, as a program that only reads the
// list would do it. Returns the milliseconds taken; lineCount receives the lines decoded.
double readAndDecode(const std::wstring& path, size_t& lineCount) {
    const auto start = Clock::now();
    Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size))
        throw std::runtime_error("cannot open " + narrow(path));
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) {
        throw std::runtime_error("cannot read " + narrow(path));
    }
    const char* text = bytes.data() + 3;
    const int length = static_cast<int>(got) - 3;
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, text, length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, length, wide.data(), wideLength);
    lineCount = static_cast<size_t>(std::count(wide.begin(), wide.end(), L'\n'));
    return Millis(Clock::now() - start).count();
}

// The list box's count, or -1 while the program is too busy to answer.
LRESULT countOf(HWND list) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 1000, &count)) return -1;
    return static_cast<LRESULT>(count);
}

// A running Tavimero.exe started by the benchmark, ended with everything it started.
struct Program {
    Started started;
    HWND window = nullptr;
    ~Program() {
        if (started.pid) endProcessTree(started.pid, started.process.get());
    }
    HWND control(int id) const {
        HWND found = childById(window, id);
        if (!found)
            throw std::runtime_error("the main window has no control with id " +
                                     std::to_string(id));
        return found;
    }
};

void startAndWaitForWindow(Program& program, const std::wstring& exe, const std::wstring& folder) {
    program.started = startProcess(exe, L"", folder);
    const std::wstring caption = widen(captions::MainWindow);
    pollUntil(
        [&] {
            program.window = findVisibleWindow(program.started.pid, caption);
            return program.window != nullptr || hasEnded(program.started.process.get());
        },
        kLoadTimeout, kBenchPoll);
    if (!program.window)
        throw std::runtime_error("no main window\n" + describeWindowsOf(program.started.pid));
}

// Waits until the list box holds `expected` entries. A program that answers with the same
// other count for kStall, or shows a message box (a dialog window other than `closing`, the
// file box that is just going away), is not at work on the list: that ends the benchmark at
// once instead of at kLoadTimeout.
void waitForCount(const Program& program, LRESULT expected, const char* what,
                  HWND closing = nullptr) {
    constexpr milliseconds kStall{30000};
    HWND list = program.control(ids::lstCommand);
    LRESULT count = -1;
    LRESULT steady = -1;
    auto steadySince = Clock::now();
    std::string why;
    const bool reached = pollUntil(
        [&] {
            count = countOf(list);
            if (count == expected) return true;
            if (count != steady) {
                steady = count;
                steadySince = Clock::now();
            } else if (count >= 0 && Clock::now() - steadySince > kStall) {
                why = "the count stays at " + std::to_string(count);
                return true;
            }
            for (HWND w : visibleWindowsOf(program.started.pid)) {
                if (w != program.window && w != closing && windowClass(w) == L"#32770") {
                    why = "a box \"" + windowText(w) + "\" says \"" + messageBoxText(w) + "\"";
                    return true;
                }
            }
            return hasEnded(program.started.process.get());
        },
        kLoadTimeout, kBenchPoll);
    if (!reached || count != expected) {
        throw std::runtime_error(std::string(what) + ": the list holds " + std::to_string(count) +
                                 " entries, not " + std::to_string(expected) +
                                 (why.empty() ? "" : "; " + why) + "\n" +
                                 describeWindowsOf(program.started.pid));
    }
}

// One input-and-execute as the user does it; returns when the program has handled the click.
double timedExecute(const Program& program, const std::string& command) {
    const std::wstring text = widen(command);
    sendTo(program.control(ids::txtCommand), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    const auto start = Clock::now();
    sendTo(program.control(ids::cmdSendAndDo), BM_CLICK, 0, 0, std::chrono::seconds(60));
    return Millis(Clock::now() - start).count();
}

// Lines 0..count-1 in the user's alphabetical order, letter case ignored, equal ones in their
// first order: a list file as the program writes it.
std::string orderedText(int count) {
    std::vector<std::wstring> lines;
    for (int i = 0; i < count; ++i) lines.push_back(widen(bench::line(i)));
    std::stable_sort(lines.begin(), lines.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                              static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size())) == CSTR_LESS_THAN;
    });
    std::string text = "\xEF\xBB\xBF";
    for (const std::wstring& line : lines) text += narrow(line) + "\r\n";
    return text;
}

void printRow(const char* name, double ms, double baseline) {
    std::printf("  %-56s %10.1f ms   x%.1f\n", name, ms, ms / baseline);
}

}  // namespace

int main(int argc, char** argv) {
    const int lines = argc > 1 ? std::max(2, std::atoi(argv[1])) : 100000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    try {
        TempFolder folder(L"Tavimero list bench");
        const std::wstring exe = folder / L"Tavimero.exe";
        if (!CopyFileW(programUnderTest().c_str(), exe.c_str(), TRUE)) {
            throw std::runtime_error("cannot copy " + narrow(programUnderTest()));
        }
        const std::wstring first = folder / L"first.txt";
        const std::wstring second = folder / L"second.txt";
        writeFile(first, listText(0, lines, 1));
        writeFile(second, listText(lines / 2, lines, 2));
        const LRESULT allLines = lines + lines / 2;

        std::printf(
            "Command list of %d lines (one in eight Japanese, UTF-8); second list of %d lines, %d "
            "new:\n",
            lines, lines, lines / 2);

        std::vector<double> decodeTimes;
        size_t decoded = 0;
        for (int i = 0; i < runs; ++i) decodeTimes.push_back(readAndDecode(first, decoded));
        const double baseline = bench::Median(decodeTimes);
        std::printf("  %-56s %10.1f ms   (%zu lines, median of %d)\n",
                    "baseline: ReadFile + MultiByteToWideChar here", baseline, decoded, runs);

        double withoutList = 0;
        double withoutListMiB = 0;
        {
            Program program;
            const auto start = Clock::now();
            startAndWaitForWindow(program, exe, folder.path());
            withoutList = Millis(Clock::now() - start).count();
            printRow("start without a list, to the shown window", withoutList, baseline);
            std::this_thread::sleep_for(kSettle);
            withoutListMiB = bench::PrivateMiB(program.started.process.get());
        }

        {
            // The same lines in the order the program saves them: checked, not sorted.
            const std::wstring ordered = folder / L"ordered.txt";
            writeFile(ordered, orderedText(lines));
            writeFile(folder / L"Tavimero.ini",
                      "[Tavimero]\r\nLoadList=Yes\r\nPathOfList=" + narrow(ordered) + "\r\n");
            Program inOrder;
            const auto orderedStart = Clock::now();
            startAndWaitForWindow(inOrder, exe, folder.path());
            waitForCount(inOrder, lines, "open a list in order at start-up");
            bench::PrintRow("open a list in order at start-up, less the start without one",
                            Millis(Clock::now() - orderedStart).count() - withoutList, "ms",
                            "ReadFile + decode", baseline);
        }

        writeFile(folder / L"Tavimero.ini",
                  "[Tavimero]\r\nLoadList=Yes\r\nPathOfList=" + narrow(first) + "\r\n");
        Program program;
        const auto start = Clock::now();
        startAndWaitForWindow(program, exe, folder.path());
        const double shown = Millis(Clock::now() - start).count();
        waitForCount(program, lines, "open at start-up");
        const double opened = Millis(Clock::now() - start).count();
        printRow("open at start-up, to the shown window", shown, baseline);
        printRow("open at start-up, to every line in the list box", opened, baseline);
        bench::PrintRow("open the list at start-up, less the start without one (goal x6)",
                        opened - withoutList, "ms", "ReadFile + decode", baseline);
        std::this_thread::sleep_for(kSettle);
        bench::PrintRow("private memory at rest with the list",
                        bench::PrivateMiB(program.started.process.get()), "MiB", "without a list",
                        withoutListMiB);

        PostMessageW(program.window, WM_COMMAND, MAKEWPARAM(ids::mnuAddAnother, 0), 0);
        HWND box = waitForWindowOf(program.started.pid, kAppendTitle, std::chrono::seconds(30),
                                   program.window, true);
        if (!box)
            throw std::runtime_error("no open box \"" + narrow(kAppendTitle) + "\"\n" +
                                     describeWindowsOf(program.started.pid));
        HWND name = childById(box, kFileNameCombo);
        if (!name) name = childById(box, kFileNameEdit);
        if (!name) throw std::runtime_error("the open box has no file name box");
        setWindowText(name, narrow(second));
        const auto appendStart = Clock::now();
        pressDialogButton(box, IDOK);
        waitForCount(program, allLines, "append", box);
        bench::PrintRow("append the second list, Open until the union is listed (goal x6)",
                        Millis(Clock::now() - appendStart).count(), "ms", "ReadFile + decode",
                        baseline);

        // Alternating runs, so that a slow phase of the machine does not fall on one side only.
        HWND add = program.control(ids::chbAdd);
        std::vector<double> clear, ticked;
        for (int i = 0; i < runs; ++i) {
            if (sendTo(add, BM_GETCHECK, 0, 0) == BST_CHECKED) sendTo(add, BM_CLICK, 0, 0);
            clear.push_back(timedExecute(program, "rem bench clear " + std::to_string(i)));
            sendTo(add, BM_CLICK, 0, 0);
            ticked.push_back(timedExecute(program, "rem bench added " + std::to_string(i)));
        }
        waitForCount(program, allLines + runs, "add one line");
        const double withoutAdding = bench::Median(clear);
        const double withAdding = bench::Median(ticked);
        bench::PrintRow("one input-and-execute, clicked from outside until handled, chbAdd clear",
                        withoutAdding, "ms", "goal (click to line in the prompt)", kInputGoal);
        bench::PrintRow("one input-and-execute, chbAdd ticked (median)", withAdding, "ms",
                        "chbAdd clear", withoutAdding);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
