#pragma once

// Drives a real Tavimero.exe from outside, the way a user would: a fresh folder holding a copy
// of the program, its main window found by caption, controls worked by id with window messages,
// and the effects read back from the file system and the process table.
//
// The driver knows nothing of GoogleTest, so the benchmark uses it too. Waiting functions
// return false at their deadline; report() then tells what the window and the folder hold.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace e2e {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kPollInterval{20};
constexpr milliseconds kWindowTimeout{15000};  // program start until its window shows
constexpr milliseconds kEffectTimeout{10000};  // a typed command until its effect shows

// Calls done() every kPollInterval until it returns true or timeout has passed; the last call
// happens at or after the deadline, so a slow machine is not misread as a missing effect.
template <class Done>
bool pollUntil(Done done, milliseconds timeout, milliseconds interval = kPollInterval) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (done()) return true;
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(interval);
    }
}

// Text helpers.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);
std::wstring lower(std::wstring_view text);
bool sameTextIgnoringCase(std::wstring_view a, std::wstring_view b);
std::string printable(std::string_view bytes);  // C-style escapes for control and high bytes

// "/x/y" (a Unix path, as the cross build knows its files) becomes "Z:\x\y"; a Windows path
// only gets backslashes.
std::wstring toWindowsPath(std::string_view path);

// The program under test: the TAVIMERO_EXE environment variable when set, else the path the
// build put in.
std::wstring programUnderTest();

class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    Handle(Handle&& other) noexcept : h_(other.h_) { other.h_ = nullptr; }
    Handle& operator=(Handle&& other) noexcept;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle();
    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    HANDLE h_ = nullptr;
};

struct ProcessEntry {
    DWORD pid = 0;
    DWORD parent = 0;
    std::wstring exe;
};
std::vector<ProcessEntry> processTable();

// Every process started, directly or further down, by the process pid (its children, their
// children, ...), oldest generation first. Entries older than their recorded parent are left
// out: their parent id is a stale, reused number.
std::vector<DWORD> descendantsOf(DWORD pid);

// Visible top-level windows of a process; the one with the caption, or nullptr.
std::vector<HWND> visibleWindowsOf(DWORD pid);
HWND findVisibleWindow(DWORD pid, std::wstring_view caption);

// The full path of a running process's program file; empty when it cannot be read.
std::wstring imagePathOf(DWORD pid);

// Ends a process and everything it started, and waits for them to be gone.
void endProcessTree(DWORD pid, HANDLE process);

bool hasEnded(HANDLE process);
bool waitForEnd(HANDLE process, milliseconds timeout);

// A uniquely named folder under the Windows temporary folder, removed with what it holds.
class TempFolder {
public:
    explicit TempFolder(std::wstring_view nameHint);
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();
    const std::wstring& path() const { return path_; }  // long form, no trailing backslash
    std::wstring operator/(std::wstring_view name) const {
        return path_ + L"\\" + std::wstring(name);
    }
    std::string listing() const;  // one line per entry, for failure reports

private:
    std::wstring path_;
};

struct Started {
    Handle process;
    DWORD pid = 0;
};
// CreateProcessW of exe with the arguments, in the working folder cwd (empty: inherited).
Started startProcess(const std::wstring& exe, const std::wstring& arguments,
                     const std::wstring& cwd);

struct SessionOptions {
    std::wstring folderName = L"Tavimero e2e";  // a space in the path on purpose
    std::wstring arguments;                     // command line after the program's path
    // Called with the program's folder after the copy, before the start: a place for the
    // settings file and list files the program reads at start-up.
    std::function<void(const std::wstring& folder)> beforeStart;
    // The folder the program is started from; empty: the temporary folder's root.
    std::wstring workingFolder = {};
};

// One running Tavimero.exe copied into a fresh folder. The destructor ends it and every
// process it started, then removes the folder: the program allows one instance at a time.
class Session {
public:
    Session() : Session(SessionOptions{}) {}
    explicit Session(const SessionOptions& options);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session();

    const std::wstring& folder() const { return folder_.path(); }
    std::wstring pathOf(std::wstring_view name) const { return folder_ / name; }
    const std::wstring& exePath() const { return exe_; }
    DWORD pid() const { return pid_; }
    HANDLE process() const { return process_.get(); }
    HWND window() const { return window_; }

    // Controls by id. Messages go through SendMessageTimeout: a hung program fails the test
    // instead of hanging the run.
    HWND control(int id) const;
    void setText(int id, std::string_view utf8);
    std::string text(int id) const;
    void click(int id);  // BM_CLICK; returns when the program has handled the click
    bool isEnabled(int id) const;
    bool isChecked(int id) const;
    std::vector<std::string> listItems(int id) const;
    void postKey(int id, WORD virtualKey);  // WM_KEYDOWN and WM_KEYUP through the program's queue
    void menuCommand(int menuId);  // WM_COMMAND to the main window, as a menu item sends it

    // The prompts: cmd.exe processes that the program started. Each one seen is remembered with
    // an open handle, so its end is observed even after its id is reused.
    std::vector<DWORD> livePrompts();
    // A live prompt other than `other`, or 0 at the deadline.
    DWORD waitForPrompt(DWORD other = 0, milliseconds timeout = kEffectTimeout);
    bool waitForPromptEnd(DWORD promptPid, milliseconds timeout = kEffectTimeout);
    bool promptRunning(DWORD promptPid);
    void killPrompt(DWORD promptPid);  // as if the user closed the prompt window

    // Files in the program's folder.
    std::optional<std::string> readFile(std::wstring_view name) const;
    bool fileExists(std::wstring_view name) const;
    bool directoryExists(std::wstring_view name) const;
    bool waitForFile(std::wstring_view name, std::string_view expected,
                     milliseconds timeout = kEffectTimeout) const;
    bool waitForDirectory(std::wstring_view name, milliseconds timeout = kEffectTimeout) const;
    bool waitForText(int id, std::string_view expected,
                     milliseconds timeout = kEffectTimeout) const;

    // The state of the window and the folder, for failure messages.
    std::string report() const;

private:
    LRESULT send(HWND target, UINT message, WPARAM wParam, LPARAM lParam,
                 milliseconds timeout) const;
    LRESULT send(int id, UINT message, WPARAM wParam, LPARAM lParam, milliseconds timeout) const {
        return send(control(id), message, wParam, lParam, timeout);
    }
    void rememberPrompts();

    TempFolder folder_;
    std::wstring exe_;
    Handle process_;
    DWORD pid_ = 0;
    HWND window_ = nullptr;
    std::map<DWORD, Handle> prompts_;
};

// ---------------------------------------------------------------------------------------------
// Other windows of the program: dialogs, message boxes and the system's file boxes, worked by
// window handle. Sending functions throw when the window does not answer within the timeout.

LRESULT sendTo(HWND target, UINT message, WPARAM wParam, LPARAM lParam,
               milliseconds timeout = kEffectTimeout);
std::string windowText(HWND window);
void setWindowText(HWND window, std::string_view utf8);
std::wstring windowClass(HWND window);

// The descendant of parent with the control id (first in depth-first order), or nullptr.
HWND childById(HWND parent, int id);
// As childById, but throws naming the caption of parent when there is none.
HWND requireChild(HWND parent, int id);

// BM_CLICK, returning when the program has handled it.
void clickChild(HWND parent, int id);
// BM_CLICK posted: returns at once. For buttons whose handler shows a modal window (a message
// box), which would hold a sent message until it closes.
void postClickChild(HWND parent, int id);
bool childChecked(HWND parent, int id);
// WM_KEYDOWN and WM_KEYUP posted to a window, through the program's queue as typed keys go.
void postKeyTo(HWND target, WORD virtualKey);
bool childEnabled(HWND parent, int id);

// A visible top-level window of process pid with exactly the caption, other than `except`;
// nullptr at the deadline. A window of the dialog class ("#32770": message boxes, the
// system's file boxes) when dialogClassOnly.
HWND waitForWindowOf(DWORD pid, std::wstring_view caption, milliseconds timeout = kEffectTimeout,
                     HWND except = nullptr, bool dialogClassOnly = false);
// Every visible top-level window of pid with the caption.
std::vector<HWND> windowsOf(DWORD pid, std::wstring_view caption);
bool waitForWindowGone(HWND window, milliseconds timeout = kEffectTimeout);

// The message text of a message box: its static control with text (id 0xFFFF on Windows
// and Wine).
std::string messageBoxText(HWND box);
// Presses the box's OK button, or Cancel when it has no OK.
void closeMessageBox(HWND box);
// Presses the button with the id (IDYES, IDNO, ...) of a dialog or message box; returns at once.
void pressDialogButton(HWND dialog, int id);

// Top-level windows of pid with class and caption, one a line, for failure reports.
std::string describeWindowsOf(DWORD pid);

}  // namespace e2e
