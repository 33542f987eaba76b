// Input-step benchmark: where the time of one input-and-execute goes, timed inside this process
// through the real Win32 classes. A main window (frmDosLaunch on the Win32 platform) starts its
// prompt as the program does; then
//   - the click on 入力＋実行 (BM_CLICK, chbAdd clear) until the line is in the prompt's input,
//     against the goal, and until the program has handled it, against typing the same line
//     straight into the prompt's console through Win32ConsoleInput;
//   - each step of an input on its own: the console's process list, bringing the console window
//     forward, typing, bringing the main window back, the input buttons off and on, emptying the
//     command box, and adding one line to a list of 100,000;
//   - the steps of opening a list of 100,000 lines: decoding, sort keys, the list box, the whole,
//     and the whole for a file in order, against the list box's fill;
//   - the search window over those entries: its first opening, and one keystroke.
// Messages are handled between runs (not timed), as the message loop would. Prints medians; it
// passes or fails nothing on time, and fails (exit code 1) only when no prompt starts.
//
//   tavimero_input_bench [runs]   (default 30)

#include <ole2.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchReport.h"
#include "ListLines.h"
#include "commandlist/CommandList.h"
#include "commandlist/CommandSearch.h"
#include "commandlist/ListFile.h"
#include "forms/ControlIds.h"
#include "forms/frmDosLaunch.h"
#include "forms/frmDosLaunchLayout.h"
#include "forms/frmSearch.h"
#include "forms/mdlDos.h"
#include "platform/win32/MessageLoop.h"
#include "platform/win32/Win32Platform.h"
#include "prompt/PromptKeys.h"

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

constexpr double kInputGoal = 10;  // ms from the click to the line in the prompt's input
constexpr int kListLines = 100000;
constexpr int kListRuns = 5;

// The real console input, noting when the last typing ended.
class TimedConsole final : public ConsoleInput {
public:
    explicit TimedConsole(ConsoleInput& real) : real_(real) {}
    std::unique_ptr<AttachedConsole> attach(std::uint32_t processId) override {
        return std::make_unique<Attached>(real_.attach(processId), typedAt);
    }
    std::unique_ptr<AttachedConsole> attachNow(std::uint32_t processId) override {
        return std::make_unique<Attached>(real_.attachNow(processId), typedAt);
    }
    Clock::time_point typedAt;

private:
    class Attached final : public AttachedConsole {
    public:
        Attached(std::unique_ptr<AttachedConsole> real, Clock::time_point& typedAt)
            : real_(std::move(real)), typedAt_(typedAt) {}
        std::vector<std::uint32_t> processes() override { return real_->processes(); }
        void bringForward() override { real_->bringForward(); }
        PromptWindowState windowState() override { return real_->windowState(); }
        void type(const std::vector<PromptKey>& keys) override {
            real_->type(keys);
            typedAt_ = Clock::now();
        }

    private:
        std::unique_ptr<AttachedConsole> real_;
        Clock::time_point& typedAt_;
    };
    ConsoleInput& real_;
};

// Handles what has arrived (paints, the console window, timers) for a while.
void Pump(std::chrono::milliseconds duration) {
    const auto end = Clock::now() + duration;
    MSG message{};
    do {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ProcessMessage(message);
        Sleep(1);
    } while (Clock::now() < end);
}

// Runs step `runs` times, handling messages between runs; the median of what step returns
// (milliseconds), or of the time it took when it returns a negative value.
double Measure(int runs, const std::function<double(int)>& step) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        Pump(std::chrono::milliseconds(20));
        const auto start = Clock::now();
        const double reported = step(i);
        times.push_back(reported >= 0 ? reported : Millis(Clock::now() - start).count());
    }
    return bench::Median(times);
}

void PrintStep(const char* what, double ms) { std::printf("  %-58s %9.2f ms\n", what, ms); }

std::string narrowText(const std::wstring& text) {
    std::string utf8(text.size() * 3, '\0');
    utf8.resize(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(),
                                                        static_cast<int>(text.size()), utf8.data(),
                                                        static_cast<int>(utf8.size()), nullptr, nullptr)));
    return utf8;
}

HWND OwnWindowOfClass(const wchar_t* name) {
    for (HWND window = FindWindowExW(nullptr, nullptr, name, nullptr); window;
         window = FindWindowExW(nullptr, window, name, nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) return window;
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    // As the program: OLE for the drop targets.
    const bool ole = SUCCEEDED(OleInitialize(nullptr));
    Win32Platform win32;
    Platform& real = win32.platform();
    TimedConsole console(real.console);
    Platform platform{real.forms,   real.launcher, console,       real.desktop, real.clipboard,
                      real.files,   real.messages, real.system,   real.shell,   real.dialogs,
                      real.profile, real.codePage, real.collation};
    mdlDos shared;
    auto main = std::make_unique<frmDosLaunch>(platform, shared);
    main->Form_Load();
    if (!main->StartedOk()) {
        std::fprintf(stderr, "the main window did not start\n");
        return 1;
    }
    main->Show();
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (!main->Prompt().IsRunning() && Clock::now() < deadline)
        Pump(std::chrono::milliseconds(20));
    if (!main->Prompt().IsRunning()) {
        std::fprintf(stderr, "no prompt started\n");
        return 1;
    }
    Pump(std::chrono::milliseconds(500));
    const auto prompt = static_cast<std::uint32_t>(main->Prompt().DosPid());
    HWND window = OwnWindowOfClass(L"frmDosLaunch");
    HWND box = GetDlgItem(window, ids::txtCommand);
    HWND execute = GetDlgItem(window, ids::cmdSendAndDo);
    const std::wstring line = L"rem tavimero input bench";

    std::printf("One input-and-execute, in this process (median of %d):\n", runs);
    std::vector<double> untilTyped;
    const double handled = Measure(runs, [&](int) {
        SetWindowTextW(box, line.c_str());
        const auto start = Clock::now();
        SendMessageW(execute, BM_CLICK, 0, 0);
        untilTyped.push_back(Millis(console.typedAt - start).count());
        return -1.0;
    });
    const std::vector<PromptKey> keys = ToPromptKeys("rem tavimero input bench\r");
    const double bare = Measure(runs, [&](int) {
        real.console.type(prompt, keys);
        return -1.0;
    });
    bench::PrintRow("the click on 入力＋実行, until the line is in the prompt",
                    bench::Median(untilTyped), "ms", "goal", kInputGoal);
    bench::PrintRow("the click on 入力＋実行, until it was handled", handled, "ms",
                    "the line typed straight in", bare);
    main->Show();  // the main window active again

    // A second main window of the same design stands for the steps that act on the window.
    std::unique_ptr<Form> form = platform.forms.create(frmDosLaunchForm());
    form->show();
    Pump(std::chrono::milliseconds(200));
    Button& cmdSend = form->button("cmdSend");
    Button& cmdSendAndDo = form->button("cmdSendAndDo");
    TextBox& txtCommand = form->textBox("txtCommand");
    ListBox& lstCommand = form->listBox("lstCommand");

    std::printf("Its steps one by one (median of %d):\n", runs);
    PrintStep("console: the processes on the prompt's console", Measure(runs, [&](int) {
                  real.console.consoleProcesses(prompt);
                  return -1.0;
              }));
    PrintStep("console: the console window brought forward", Measure(runs, [&](int) {
                  real.console.activateConsoleWindow(prompt);
                  return -1.0;
              }));
    PrintStep("console: the line typed with Enter", bare);
    PrintStep("main window: activated", Measure(runs, [&](int) {
                  form->activate();
                  return -1.0;
              }));
    PrintStep("main window: the input buttons off and on", Measure(runs, [&](int) {
                  cmdSend.setEnabled(false);
                  cmdSendAndDo.setEnabled(false);
                  cmdSend.setEnabled(true);
                  cmdSendAndDo.setEnabled(true);
                  return -1.0;
              }));
    PrintStep("main window: the command box emptied", Measure(runs, [&](int) {
                  txtCommand.setText("rem");
                  const auto start = Clock::now();
                  txtCommand.setText("");
                  return Millis(Clock::now() - start).count();
              }));
    std::vector<std::string> entries;
    for (int i = 0; i < 100000; ++i) entries.push_back("echo entry " + std::to_string(100000 + i));
    lstCommand.addItems(entries);
    PrintStep("list: one line added after 100,000", Measure(runs, [&](int i) {
                  lstCommand.addItems(std::vector<std::string>{"rem added " + std::to_string(i)});
                  return -1.0;
              }));

    // Opening a large list, step by step: the same work as the program's open, on the second
    // window's list box.
    const std::string bytes = bench::listText(0, kListLines, 1);
    std::printf("A list of %d lines opened, its steps (median of %d):\n", kListLines, kListRuns);
    std::vector<std::string> lines;
    PrintStep("list file: the bytes decoded into lines", Measure(kListRuns, [&](int) {
                  lines = listfile::Decode(bytes, platform.codePage).entries;
                  return -1.0;
              }));
    PrintStep("list: a sort key for every line", Measure(kListRuns, [&](int) {
                  for (const std::string& text : lines) platform.collation.sortKey(text);
                  return -1.0;
              }));
    PrintStep("list box: every line shown, in one call", Measure(kListRuns, [&](int) {
                  lstCommand.clear();
                  const auto start = Clock::now();
                  lstCommand.addItems(lines);
                  return Millis(Clock::now() - start).count();
              }));
    PrintStep("list box: every line removed, in one call", Measure(kListRuns, [&](int) {
                  lstCommand.addItems(lines);
                  const auto start = Clock::now();
                  lstCommand.clear();
                  return Millis(Clock::now() - start).count();
              }));
    CommandList list(lstCommand, platform.collation);
    PrintStep("list: loaded whole into an empty list (keys, order, list box)",
              Measure(kListRuns, [&](int) {
                  list.Clear();
                  std::vector<std::string> read = lines;  // as the file's lines are handed over
                  const auto start = Clock::now();
                  list.Load(std::move(read));
                  return Millis(Clock::now() - start).count();
              }));
    // The same lines in the order the program saves them.
    const std::vector<std::string> ordered = list.Entries();
    PrintStep("list: the order of lines in order checked", Measure(kListRuns, [&](int) {
                  for (size_t i = 1; i < ordered.size(); ++i)
                      platform.collation.compare(ordered[i - 1], ordered[i]);
                  return -1.0;
              }));
    const double filled = Measure(kListRuns, [&](int) {
        lstCommand.clear();
        const auto start = Clock::now();
        lstCommand.addItems(ordered);
        return Millis(Clock::now() - start).count();
    });
    const double loadedInOrder = Measure(kListRuns, [&](int) {
        list.Clear();
        std::vector<std::string> read = ordered;
        const auto start = Clock::now();
        list.Load(std::move(read));
        return Millis(Clock::now() - start).count();
    });
    bench::PrintRow("list: loaded whole, a file in order, less the list box's fill", loadedInOrder - filled,
                    "ms", "the list box's fill", filled);

    // The search window over the 100,000 entries, on the second window.
    struct NoMainWindow final : SearchActions {
        void TakeListEntry(int) override {}
    } nowhere;
    std::string lastText;
    std::unique_ptr<frmSearch> search;
    const double opened = Measure(kListRuns, [&](int) {
        if (search) search->Close();
        search.reset();
        list.Load(std::vector<std::string>(ordered));  // its search texts not yet made
        const auto start = Clock::now();
        search = std::make_unique<frmSearch>(platform.forms, list, lastText, nowhere);
        search->Show(*form, 120, 960);
        return Millis(Clock::now() - start).count();
    });
    bench::PrintRow("search: the first opening over 100,000 entries", opened, "ms", "goal", 200);
    HWND searchBox = GetDlgItem(OwnWindowOfClass(L"frmSearch"), ids::txtSearch);
    // Typing, then taking back: texts that match many, some and no entries.
    const std::vector<std::wstring> typed = {L"e",      L"ec",      L"ech",      L"echo",
                                             L"echo ",  L"echo 日", L"echo 日本", L"echo 日本語",
                                             L"echo 日本語 0", L"echo 日本語 00", L"c", L"co",
                                             L"cop",    L"copy",    L"copy ｂａｃｋｕｐ", L"x",
                                             L"xq",     L"d",       L"di",       L"dir"};
    const double keystroke = Measure(static_cast<int>(typed.size()) * 3, [&](int i) {
        const std::wstring& text = typed[static_cast<size_t>(i) % typed.size()];
        const auto start = Clock::now();
        SendMessageW(searchBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        return Millis(Clock::now() - start).count();
    });
    bench::PrintRow("search: one keystroke over 100,000 entries", keystroke, "ms", "goal", 15);
    PrintStep("search: the matching alone, one keystroke",
              Measure(static_cast<int>(typed.size()) * 3, [&](int i) {
                  const std::wstring& text = typed[static_cast<size_t>(i) % typed.size()];
                  const std::string utf8 = narrowText(text);
                  const auto start = Clock::now();
                  search::FindMatches(list.SearchTexts(), utf8);
                  return Millis(Clock::now() - start).count();
              }));
    const std::vector<std::string> thousand(ordered.begin(), ordered.begin() + 1000);
    lstCommand.setItems(thousand);
    PrintStep("search: of that, a list filled anew with 1,000", Measure(kListRuns * 4, [&](int i) {
                  // The same kind of list as the search window's, through the form layer.
                  const auto start = Clock::now();
                  lstCommand.setItems(std::span(thousand).subspan(static_cast<size_t>(i % 2)));
                  return Millis(Clock::now() - start).count();
              }));
    PrintStep("search: of that, the text box's own handling of a text",
              Measure(kListRuns * 4, [&](int i) {
                  const wchar_t* text = i % 2 ? L"echo 日本語" : L"copy";
                  const auto start = Clock::now();
                  SendMessageW(GetDlgItem(OwnWindowOfClass(L"frmDosLaunch"), ids::txtCD), WM_SETTEXT, 0,
                               reinterpret_cast<LPARAM>(text));
                  return Millis(Clock::now() - start).count();
              }));
    search.reset();
    form.reset();
    main.reset();
    if (ole) OleUninitialize();
    return 0;
}
