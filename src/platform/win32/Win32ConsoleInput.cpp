#include "platform/win32/Win32ConsoleInput.h"

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Error.h"

namespace {

// Attached to another process's console for the lifetime of the object. A program has at
// most one console, so whatever it had before is given up first.
class AttachedConsole {
public:
    explicit AttachedConsole(std::uint32_t processId) {
        FreeConsole();
        if (!AttachConsole(processId)) ThrowSystemError();
    }
    ~AttachedConsole() { FreeConsole(); }
    AttachedConsole(const AttachedConsole&) = delete;
    AttachedConsole& operator=(const AttachedConsole&) = delete;
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

void Win32ConsoleInput::type(std::uint32_t processId, const std::vector<PromptKey>& keys) {
    const std::vector<INPUT_RECORD> records = KeyRecords(keys);
    if (records.empty()) return;
    AttachedConsole console(processId);
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

std::vector<std::uint32_t> Win32ConsoleInput::consoleProcesses(std::uint32_t processId) {
    AttachedConsole console(processId);
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

void Win32ConsoleInput::activateConsoleWindow(std::uint32_t processId) {
    try {
        AttachedConsole console(processId);
        // The window belongs to the console host, not to the prompt itself.
        if (HWND window = GetConsoleWindow()) SetForegroundWindow(window);
    } catch (...) {
        // Best effort: the text reaches the prompt whether or not its window comes forward.
    }
}
