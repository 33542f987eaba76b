#include "platform/win32/Win32ConsoleInput.h"

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Error.h"

namespace {

// A prompt that has just started creates its console a moment after CreateProcessW returned.
constexpr ULONGLONG kConsoleWaitMilliseconds = 5000;
constexpr DWORD kConsolePollMilliseconds = 10;

// Attaches to the console of the process, waiting for a new prompt's console while the process
// runs when `wait` says so. A program has at most one console, so whatever it had before is
// given up first.
void AttachWaitingForConsole(DWORD processId, bool wait) {
    FreeConsole();
    if (AttachConsole(processId)) return;
    DWORD error = GetLastError();
    if (!wait) ThrowSystemError(error);
    UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!process) ThrowSystemError(error);
    const ULONGLONG deadline = GetTickCount64() + kConsoleWaitMilliseconds;
    while (GetTickCount64() < deadline &&
           WaitForSingleObject(process.get(), kConsolePollMilliseconds) == WAIT_TIMEOUT) {
        if (AttachConsole(processId)) return;
        error = GetLastError();
    }
    ThrowSystemError(error);
}

// While attached, this program receives the console's control signals. Ctrl+C and Ctrl+Break
// pressed in the prompt are meant for the prompt, never for this program, whose default handler
// would end it. (Closing the console ends every process attached to it whatever a handler
// returns: which is why the attachment lasts one input and is never kept.)
BOOL WINAPI IgnoreInterrupts(DWORD signal) {
    return signal == CTRL_C_EVENT || signal == CTRL_BREAK_EVENT;
}

// Attached to another process's console for the lifetime of the object.
class Win32AttachedConsole final : public AttachedConsole {
public:
    Win32AttachedConsole(DWORD processId, bool wait) {
        AttachWaitingForConsole(processId, wait);
        // Attaching resets the handler table, so the handler is added for each attachment.
        SetConsoleCtrlHandler(IgnoreInterrupts, TRUE);
    }
    ~Win32AttachedConsole() override { FreeConsole(); }
    Win32AttachedConsole(const Win32AttachedConsole&) = delete;
    Win32AttachedConsole& operator=(const Win32AttachedConsole&) = delete;

    std::vector<std::uint32_t> processes() override;
    void bringForward() override;
    PromptWindowState windowState() override;
    void type(const std::vector<PromptKey>& keys) override;
};

void AddKey(std::vector<INPUT_RECORD>& records, wchar_t unit, WORD virtualKey,
            DWORD controlKeys = 0) {
    INPUT_RECORD record{};
    record.EventType = KEY_EVENT;
    KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    key.wRepeatCount = 1;
    key.wVirtualKeyCode = virtualKey;
    key.wVirtualScanCode =
        virtualKey ? static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) : 0;
    key.uChar.UnicodeChar = unit;
    key.dwControlKeyState = controlKeys;
    key.bKeyDown = TRUE;
    records.push_back(record);
    key.bKeyDown = FALSE;
    records.push_back(record);
}

// The key of the character on the current layout when it has one without Ctrl or Alt. The
// console reads the character itself, so the key is only for programs that look at it; it
// is never combined with a shift state, which could turn the character into an editing key.
WORD VirtualKeyOf(wchar_t unit) {
    if (unit >= 0xD800 && unit <= 0xDFFF) return 0;
    const SHORT scan = VkKeyScanW(unit);
    if (scan == -1 || (HIBYTE(scan) & ~1) != 0) return 0;
    return LOBYTE(scan);
}

}  // namespace

std::vector<INPUT_RECORD> KeyRecords(const std::vector<PromptKey>& keys) {
    std::vector<INPUT_RECORD> records;
    records.reserve(keys.size() * 4);
    for (const PromptKey& key : keys) {
        if (key.enter) {
            AddKey(records, L'\r', VK_RETURN);
        } else if (key.escape) {
            // Escape empties the command line. Consoles that do not know the key (Wine 8's,
            // which takes it for a character) get the same from Ctrl+End and Ctrl+Home, which
            // delete everything after and before the cursor.
            AddKey(records, 0x1B, VK_ESCAPE);
            AddKey(records, 0, VK_END, LEFT_CTRL_PRESSED);
            AddKey(records, 0, VK_HOME, LEFT_CTRL_PRESSED);
        } else if (key.character >= 0x10000) {
            const char32_t offset = key.character - 0x10000;
            AddKey(records, static_cast<wchar_t>(0xD800 + (offset >> 10)), 0);
            AddKey(records, static_cast<wchar_t>(0xDC00 + (offset & 0x3FF)), 0);
        } else {
            const auto unit = static_cast<wchar_t>(key.character);
            AddKey(records, unit, VirtualKeyOf(unit));
        }
    }
    return records;
}

std::unique_ptr<AttachedConsole> Win32ConsoleInput::attach(std::uint32_t processId) {
    return std::make_unique<Win32AttachedConsole>(processId, true);
}

std::unique_ptr<AttachedConsole> Win32ConsoleInput::attachNow(std::uint32_t processId) {
    return std::make_unique<Win32AttachedConsole>(processId, false);
}

namespace {

void Win32AttachedConsole::type(const std::vector<PromptKey>& keys) {
    const std::vector<INPUT_RECORD> records = KeyRecords(keys);
    if (records.empty()) return;
    UniqueHandle input(CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                   nullptr));
    if (!input) ThrowSystemError();
    size_t done = 0;
    while (done < records.size()) {
        DWORD written = 0;
        if (!WriteConsoleInputW(input.get(), records.data() + done,
                                static_cast<DWORD>(records.size() - done), &written))
            ThrowSystemError();
        if (written == 0) ThrowSystemError(ERROR_WRITE_FAULT);
        done += written;
    }
}

std::vector<std::uint32_t> Win32AttachedConsole::processes() {
    std::vector<DWORD> ids(8);
    for (;;) {
        const DWORD count = GetConsoleProcessList(ids.data(), static_cast<DWORD>(ids.size()));
        if (count == 0) ThrowSystemError();
        if (count <= ids.size()) {
            ids.resize(count);
            break;
        }
        // More processes than room: the count says how many, give or take one that came or
        // went since.
        ids.resize(count + 8);
    }
    std::vector<std::uint32_t> others;
    for (DWORD id : ids) {
        if (id != GetCurrentProcessId()) others.push_back(id);
    }
    return others;
}

// The console window belongs to the console host, not to the prompt itself; a terminal that
// shows the console has a window of its own, which the decisions find.
void Win32AttachedConsole::bringForward() {
    Win32DesktopWindows desktop;
    BringPromptWindowForward(desktop, RefOf(GetConsoleWindow()));
}

PromptWindowState Win32AttachedConsole::windowState() {
    Win32DesktopWindows desktop;
    return StateOfPromptWindow(desktop, RefOf(GetConsoleWindow()));
}

}  // namespace
