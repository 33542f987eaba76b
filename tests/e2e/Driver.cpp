#include "Driver.h"

#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <set>
#include <sstream>
#include <stdexcept>

#include "ProbeSupport.h"
#include "forms/ControlIds.h"

#ifndef TAVIMERO_EXE_BUILD_PATH
#define TAVIMERO_EXE_BUILD_PATH ""
#endif

namespace e2e {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------------------------
// Text

std::wstring widen(std::string_view utf8) { return probe::Wide(utf8); }

std::string narrow(std::wstring_view utf16) { return probe::Utf8(utf16); }

std::wstring lower(std::wstring_view text) {
    std::wstring out(text);
    if (!out.empty()) CharLowerBuffW(out.data(), static_cast<DWORD>(out.size()));
    return out;
}

bool sameTextIgnoringCase(std::wstring_view a, std::wstring_view b) { return lower(a) == lower(b); }

std::string printable(std::string_view bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c < 0x20 || c >= 0x7f) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::wstring toWindowsPath(std::string_view path) {
    std::wstring out = widen(path);
    std::replace(out.begin(), out.end(), L'/', L'\\');
    if (!out.empty() && out.front() == L'\\' && (out.size() < 2 || out[1] != L'\\'))
        out = L"Z:" + out;
    return out;
}

std::wstring programUnderTest() {
    wchar_t buf[MAX_PATH * 4];
    const DWORD n =
        GetEnvironmentVariableW(L"TAVIMERO_EXE", buf, static_cast<DWORD>(std::size(buf)));
    if (n > 0 && n < std::size(buf)) return toWindowsPath(narrow(std::wstring_view(buf, n)));
    return toWindowsPath(TAVIMERO_EXE_BUILD_PATH);
}

// ---------------------------------------------------------------------------------------------
// Processes and windows

Handle& Handle::operator=(Handle&& other) noexcept {
    if (this != &other) {
        if (h_) CloseHandle(h_);
        h_ = other.h_;
        other.h_ = nullptr;
    }
    return *this;
}

Handle::~Handle() {
    if (h_) CloseHandle(h_);
}

std::vector<ProcessEntry> processTable() {
    std::vector<ProcessEntry> table;
    Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return table;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Process32FirstW(snapshot.get(), &entry); ok;
         ok = Process32NextW(snapshot.get(), &entry)) {
        table.push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
    }
    return table;
}

namespace {

std::optional<ULONGLONG> creationTime(DWORD pid) {
    Handle h(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!h || !GetProcessTimes(h.get(), &created, &exited, &kernel, &user)) return std::nullopt;
    return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

}  // namespace

std::vector<DWORD> descendantsOf(DWORD pid) {
    const auto table = processTable();
    std::vector<DWORD> found;
    std::set<DWORD> seen{pid, GetCurrentProcessId()};
    std::deque<DWORD> parents{pid};
    while (!parents.empty()) {
        const DWORD parent = parents.front();
        parents.pop_front();
        const auto parentCreated = creationTime(parent);
        for (const auto& e : table) {
            if (e.parent != parent || seen.count(e.pid)) continue;
            const auto created = creationTime(e.pid);
            if (parentCreated && created && *created < *parentCreated) continue;
            seen.insert(e.pid);
            found.push_back(e.pid);
            parents.push_back(e.pid);
        }
    }
    return found;
}

std::vector<HWND> visibleWindowsOf(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s->pid && IsWindowVisible(hwnd)) s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findVisibleWindow(DWORD pid, std::wstring_view caption) {
    for (HWND hwnd : visibleWindowsOf(pid)) {
        wchar_t buf[256];
        const int n = GetWindowTextW(hwnd, buf, static_cast<int>(std::size(buf)));
        if (std::wstring_view(buf, static_cast<size_t>(n)) == caption) return hwnd;
    }
    return nullptr;
}

std::wstring imagePathOf(DWORD pid) {
    Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return {};
    wchar_t path[MAX_PATH * 4];
    DWORD size = static_cast<DWORD>(std::size(path));
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &size)) return {};
    return std::wstring(path, size);
}

bool hasEnded(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

bool waitForEnd(HANDLE process, milliseconds timeout) {
    return WaitForSingleObject(process, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

void endProcessTree(DWORD pid, HANDLE process) {
    const auto tree = descendantsOf(pid);
    std::vector<Handle> ending;
    if (process) {
        TerminateProcess(process, 1);
    } else if (Handle h{OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)}) {
        TerminateProcess(h.get(), 1);
        ending.push_back(std::move(h));
    }
    for (DWORD child : tree) {
        Handle h(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, child));
        if (!h) continue;
        TerminateProcess(h.get(), 1);
        ending.push_back(std::move(h));
    }
    if (process) waitForEnd(process, std::chrono::seconds(5));
    for (const auto& h : ending) waitForEnd(h.get(), std::chrono::seconds(5));
}

Started startProcess(const std::wstring& exe, const std::wstring& arguments,
                     const std::wstring& cwd) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    // Wine now and then fails to set up a new process on a loaded machine and reports
    // ERROR_INTERNAL_ERROR; that says nothing about the program, so the start is tried again.
    DWORD error = ERROR_SUCCESS;
    pollUntil(
        [&] {
            error = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                   nullptr, cwd.empty() ? nullptr : cwd.c_str(), &si, &pi)
                        ? ERROR_SUCCESS
                        : GetLastError();
            return error != ERROR_INTERNAL_ERROR;
        },
        std::chrono::seconds(1), milliseconds(200));
    if (error != ERROR_SUCCESS) {
        throw std::runtime_error("CreateProcessW failed for " + narrow(exe) + " (error " +
                                 std::to_string(error) + ")");
    }
    CloseHandle(pi.hThread);
    return {Handle(pi.hProcess), pi.dwProcessId};
}

// ---------------------------------------------------------------------------------------------
// Folders and files

namespace {

std::wstring tempRoot() {
    wchar_t buf[MAX_PATH + 1];
    const DWORD n = GetTempPathW(static_cast<DWORD>(std::size(buf)), buf);
    std::wstring root(buf, n);
    while (root.size() > 3 && root.back() == L'\\') root.pop_back();
    return root;
}

std::wstring longPath(const std::wstring& path) {
    wchar_t buf[MAX_PATH * 4];
    const DWORD n = GetLongPathNameW(path.c_str(), buf, static_cast<DWORD>(std::size(buf)));
    return n > 0 && n < std::size(buf) ? std::wstring(buf, n) : path;
}

std::atomic<int> folderCounter{0};

}  // namespace

TempFolder::TempFolder(std::wstring_view nameHint) {
    const std::wstring root = tempRoot();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::wstring candidate = root + L"\\" + std::wstring(nameHint) + L" " +
                                       std::to_wstring(GetCurrentProcessId()) + L"-" +
                                       std::to_wstring(++folderCounter);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = longPath(candidate);
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    throw std::runtime_error("cannot create a temporary folder under " + narrow(root));
}

TempFolder::~TempFolder() {
    // Files may be held for a moment by processes that are just ending.
    pollUntil(
        [&] {
            std::error_code ec;
            fs::remove_all(fs::path(path_), ec);
            return !ec && !fs::exists(fs::path(path_), ec);
        },
        std::chrono::seconds(5), milliseconds(50));
}

std::string TempFolder::listing() const {
    std::ostringstream out;
    std::error_code ec;
    out << narrow(path_) << ":\n";
    for (auto it = fs::recursive_directory_iterator(fs::path(path_), ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const auto relative = it->path().lexically_relative(fs::path(path_));
        out << "  " << narrow(relative.wstring());
        std::error_code sizeEc;
        if (it->is_directory(sizeEc)) {
            out << "\\\n";
        } else {
            out << "  (" << it->file_size(sizeEc) << " bytes)\n";
        }
    }
    if (ec) out << "  (listing failed: " << ec.message() << ")\n";
    return out.str();
}

// ---------------------------------------------------------------------------------------------
// Session

Session::Session(const SessionOptions& options) : folder_(options.folderName) {
    const std::wstring program = programUnderTest();
    exe_ = folder_ / L"Tavimero.exe";
    if (!CopyFileW(program.c_str(), exe_.c_str(), TRUE)) {
        throw std::runtime_error("cannot copy " + narrow(program) + " to " + narrow(exe_) +
                                 " (error " + std::to_string(GetLastError()) + ")");
    }
    if (options.beforeStart) options.beforeStart(folder_.path());
    // Started from another folder, so a prompt that inherits the caller's folder is told apart
    // from one that starts in the program's folder.
    auto started = startProcess(exe_, options.arguments,
                                options.workingFolder.empty() ? tempRoot() : options.workingFolder);
    process_ = std::move(started.process);
    pid_ = started.pid;
    const std::wstring caption = widen(captions::MainWindow);
    pollUntil(
        [&] {
            window_ = findVisibleWindow(pid_, caption);
            return window_ != nullptr || hasEnded(process_.get());
        },
        kWindowTimeout);
    if (!window_) {
        std::ostringstream why;
        why << "no visible window \"" << captions::MainWindow << "\" of process " << pid_;
        DWORD code = 0;
        if (hasEnded(process_.get()) && GetExitCodeProcess(process_.get(), &code)) {
            why << ": the program ended with exit code " << code;
        } else {
            why << " within " << kWindowTimeout.count() << " ms";
        }
        why << "\n" << folder_.listing();
        endProcessTree(pid_, process_.get());
        throw std::runtime_error(why.str());
    }
    rememberPrompts();
}

Session::~Session() {
    endProcessTree(pid_, process_.get());
    for (auto& [pid, h] : prompts_) {
        if (!hasEnded(h.get())) {
            TerminateProcess(h.get(), 1);
            waitForEnd(h.get(), std::chrono::seconds(5));
        }
    }
}

HWND Session::control(int id) const {
    if (HWND direct = GetDlgItem(window_, id)) return direct;
    // Controls placed inside a container window are not direct children.
    if (HWND nested = childById(window_, id)) return nested;
    throw std::runtime_error("the main window has no control with id " + std::to_string(id));
}

LRESULT Session::send(HWND target, UINT message, WPARAM wParam, LPARAM lParam,
                      milliseconds timeout) const {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(target, message, wParam, lParam, SMTO_NORMAL,
                             static_cast<UINT>(timeout.count()), &result)) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%x", message);
        std::ostringstream why;
        why << "the program did not answer message 0x" << hex << " to window id "
            << GetDlgCtrlID(target) << " within " << timeout.count() << " ms (program "
            << (hasEnded(process_.get()) ? "ended" : "running") << ")\n"
            << folder_.listing();
        throw std::runtime_error(why.str());
    }
    return static_cast<LRESULT>(result);
}

void Session::setText(int id, std::string_view utf8) {
    const std::wstring text = widen(utf8);
    send(id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), kEffectTimeout);
}

std::string Session::text(int id) const {
    const auto length = send(id, WM_GETTEXTLENGTH, 0, 0, kEffectTimeout);
    std::wstring buf(static_cast<size_t>(length) + 1, L'\0');
    const auto copied =
        send(id, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), kEffectTimeout);
    buf.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return narrow(buf);
}

void Session::click(int id) { send(id, BM_CLICK, 0, 0, std::chrono::seconds(30)); }

bool Session::isEnabled(int id) const { return IsWindowEnabled(control(id)) != FALSE; }

bool Session::isChecked(int id) const {
    return send(id, BM_GETCHECK, 0, 0, kEffectTimeout) == BST_CHECKED;
}

std::vector<std::string> Session::listItems(int id) const {
    std::vector<std::string> items;
    const auto count = send(id, LB_GETCOUNT, 0, 0, kEffectTimeout);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = send(id, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0, kEffectTimeout);
        std::wstring buf(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        const auto copied = send(id, LB_GETTEXT, static_cast<WPARAM>(i),
                                 reinterpret_cast<LPARAM>(buf.data()), kEffectTimeout);
        buf.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
        items.push_back(narrow(buf));
    }
    return items;
}

void Session::postKey(int id, WORD virtualKey) { postKeyTo(control(id), virtualKey); }

void postKeyTo(HWND target, WORD virtualKey) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(target, WM_KEYDOWN, virtualKey, scan | 1);
    PostMessageW(target, WM_KEYUP, virtualKey, scan | 1 | (LPARAM{1} << 30) | (LPARAM{1} << 31));
}

void Session::menuCommand(int menuId) {
    send(window_, WM_COMMAND, MAKEWPARAM(menuId, 0), 0, std::chrono::seconds(30));
}

void Session::rememberPrompts() {
    for (const auto& e : processTable()) {
        if (e.parent != pid_ || !sameTextIgnoringCase(e.exe, L"cmd.exe") || prompts_.count(e.pid))
            continue;
        Handle h(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION,
                             FALSE, e.pid));
        if (h) prompts_.emplace(e.pid, std::move(h));
    }
}

std::vector<DWORD> Session::livePrompts() {
    rememberPrompts();
    std::vector<DWORD> live;
    for (const auto& [pid, h] : prompts_) {
        if (!hasEnded(h.get())) live.push_back(pid);
    }
    return live;
}

DWORD Session::waitForPrompt(DWORD other, milliseconds timeout) {
    DWORD found = 0;
    pollUntil(
        [&] {
            for (DWORD pid : livePrompts()) {
                if (pid != other) found = pid;
            }
            return found != 0;
        },
        timeout);
    return found;
}

bool Session::waitForPromptEnd(DWORD promptPid, milliseconds timeout) {
    rememberPrompts();
    const auto it = prompts_.find(promptPid);
    return it == prompts_.end() || waitForEnd(it->second.get(), timeout);
}

bool Session::promptRunning(DWORD promptPid) {
    rememberPrompts();
    const auto it = prompts_.find(promptPid);
    return it != prompts_.end() && !hasEnded(it->second.get());
}

void Session::killPrompt(DWORD promptPid) {
    rememberPrompts();
    const auto it = prompts_.find(promptPid);
    if (it == prompts_.end()) return;
    // The console host goes with the prompt, as when the user closes the prompt window.
    for (DWORD child : descendantsOf(promptPid)) {
        Handle h(OpenProcess(PROCESS_TERMINATE, FALSE, child));
        if (h) TerminateProcess(h.get(), 1);
    }
    TerminateProcess(it->second.get(), 1);
    waitForEnd(it->second.get(), kEffectTimeout);
}

std::optional<std::string> Session::readFile(std::wstring_view name) const {
    Handle file(CreateFileW(pathOf(name).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string content;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), buf, sizeof buf, &got, nullptr) && got > 0)
        content.append(buf, got);
    return content;
}

bool Session::fileExists(std::wstring_view name) const {
    const DWORD attributes = GetFileAttributesW(pathOf(name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Session::directoryExists(std::wstring_view name) const {
    const DWORD attributes = GetFileAttributesW(pathOf(name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Session::waitForFile(std::wstring_view name, std::string_view expected,
                          milliseconds timeout) const {
    return pollUntil([&] { return readFile(name) == std::optional<std::string>(expected); },
                     timeout);
}

bool Session::waitForDirectory(std::wstring_view name, milliseconds timeout) const {
    return pollUntil([&] { return directoryExists(name); }, timeout);
}

bool Session::waitForText(int id, std::string_view expected, milliseconds timeout) const {
    return pollUntil([&] { return text(id) == expected; }, timeout);
}

std::string Session::report() const {
    std::ostringstream out;
    const auto guarded = [&](const char* label, auto read) {
        out << label << ": ";
        try {
            read();
        } catch (const std::exception& e) {
            out << "(unreadable: " << e.what() << ")";
        }
        out << "\n";
    };
    out << "program " << pid_ << (hasEnded(process_.get()) ? " has ended" : " is running") << "\n";
    guarded("txtCD", [&] { out << '"' << printable(text(ids::txtCD)) << '"'; });
    guarded("txtCommand", [&] { out << '"' << printable(text(ids::txtCommand)) << '"'; });
    guarded("chbAdd", [&] { out << (isChecked(ids::chbAdd) ? "ticked" : "not ticked"); });
    guarded("buttons", [&] {
        out << "cmdSend " << (isEnabled(ids::cmdSend) ? "enabled" : "disabled") << ", cmdSendAndDo "
            << (isEnabled(ids::cmdSendAndDo) ? "enabled" : "disabled");
    });
    guarded("lstCommand", [&] {
        for (const auto& item : listItems(ids::lstCommand)) out << "[" << printable(item) << "] ";
    });
    out << "prompts seen:";
    for (const auto& [pid, h] : prompts_)
        out << " " << pid << (hasEnded(h.get()) ? " (ended)" : " (running)");
    out << "\n" << folder_.listing();
    return out.str();
}

// ---------------------------------------------------------------------------------------------
// Other windows of the program

LRESULT sendTo(HWND target, UINT message, WPARAM wParam, LPARAM lParam, milliseconds timeout) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(target, message, wParam, lParam, SMTO_NORMAL,
                             static_cast<UINT>(timeout.count()), &result)) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%x", message);
        throw std::runtime_error(
            "window \"" + windowText(target) + "\" (id " + std::to_string(GetDlgCtrlID(target)) +
            ") did not answer message 0x" + hex + " within " + std::to_string(timeout.count()) +
            " ms" + (IsWindow(target) ? "" : ": it is gone"));
    }
    return static_cast<LRESULT>(result);
}

std::string windowText(HWND window) {
    // GetWindowTextW would not ask a control of another process for its text.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length))
        return "(no answer)";
    std::wstring buf(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                             SMTO_NORMAL, 5000, &copied)) {
        return "(no answer)";
    }
    buf.resize(std::min<size_t>(copied, length));
    return narrow(buf);
}

void setWindowText(HWND window, std::string_view utf8) {
    const std::wstring text = widen(utf8);
    sendTo(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring windowClass(HWND window) {
    wchar_t buf[128];
    const int n = GetClassNameW(window, buf, static_cast<int>(std::size(buf)));
    return std::wstring(buf, static_cast<size_t>(std::max(n, 0)));
}

HWND childById(HWND parent, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (GetDlgCtrlID(hwnd) == s->id) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND requireChild(HWND parent, int id) {
    HWND child = childById(parent, id);
    if (!child) {
        throw std::runtime_error("window \"" + windowText(parent) + "\" has no control with id " +
                                 std::to_string(id));
    }
    return child;
}

void clickChild(HWND parent, int id) {
    sendTo(requireChild(parent, id), BM_CLICK, 0, 0, std::chrono::seconds(30));
}

void postClickChild(HWND parent, int id) { PostMessageW(requireChild(parent, id), BM_CLICK, 0, 0); }

bool childChecked(HWND parent, int id) {
    return sendTo(requireChild(parent, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool childEnabled(HWND parent, int id) {
    return IsWindowEnabled(requireChild(parent, id)) != FALSE;
}

std::vector<HWND> windowsOf(DWORD pid, std::wstring_view caption) {
    std::vector<HWND> found;
    for (HWND hwnd : visibleWindowsOf(pid)) {
        wchar_t buf[256];
        const int n = GetWindowTextW(hwnd, buf, static_cast<int>(std::size(buf)));
        if (std::wstring_view(buf, static_cast<size_t>(std::max(n, 0))) == caption)
            found.push_back(hwnd);
    }
    return found;
}

HWND waitForWindowOf(DWORD pid, std::wstring_view caption, milliseconds timeout, HWND except,
                     bool dialogClassOnly) {
    HWND found = nullptr;
    pollUntil(
        [&] {
            for (HWND hwnd : windowsOf(pid, caption)) {
                if (hwnd == except) continue;
                if (dialogClassOnly && windowClass(hwnd) != L"#32770") continue;
                found = hwnd;
                return true;
            }
            return false;
        },
        timeout);
    return found;
}

bool waitForWindowGone(HWND window, milliseconds timeout) {
    return pollUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeout);
}

std::string messageBoxText(HWND box) {
    if (HWND text = GetDlgItem(box, 0xFFFF)) return windowText(text);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (lower(windowClass(child)) != L"static") continue;
        const std::string content = windowText(child);
        if (!content.empty()) return content;
    }
    return {};
}

void closeMessageBox(HWND box) { pressDialogButton(box, GetDlgItem(box, IDOK) ? IDOK : IDCANCEL); }

void pressDialogButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string describeWindowsOf(DWORD pid) {
    std::ostringstream out;
    out << "visible windows of process " << pid << ":\n";
    for (HWND hwnd : visibleWindowsOf(pid)) {
        wchar_t buf[256];
        const int n = GetWindowTextW(hwnd, buf, static_cast<int>(std::size(buf)));
        out << "  [" << narrow(windowClass(hwnd)) << "] \""
            << narrow(std::wstring_view(buf, static_cast<size_t>(std::max(n, 0)))) << "\""
            << (IsWindowEnabled(hwnd) ? "" : " (disabled)") << "\n";
    }
    return out.str();
}

}  // namespace e2e
