#include "platform/win32/Win32Desktop.h"

#include "platform/PlatformError.h"
#include "platform/win32/Wide.h"

namespace {

struct ProcessWindowSearch {
    DWORD processId;
    HWND found = nullptr;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ProcessWindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

INPUT KeyInput(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

WORD KeyOf(char c) {
    if (c == ' ') return VK_SPACE;
    if (c >= 'a' && c <= 'z') return static_cast<WORD>(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<WORD>(c);
    throw PlatformError("キー文字列が無効です。");
}

}  // namespace

std::vector<INPUT> KeystrokeInputs(const std::string& keys) {
    std::vector<INPUT> inputs;
    bool alt = false;
    for (const char c : keys) {
        if (c == '%') {
            if (alt) throw PlatformError("キー文字列が無効です。");
            alt = true;
            continue;
        }
        const WORD key = KeyOf(c);
        if (alt) inputs.push_back(KeyInput(VK_MENU, false));
        inputs.push_back(KeyInput(key, false));
        inputs.push_back(KeyInput(key, true));
        if (alt) inputs.push_back(KeyInput(VK_MENU, true));
        alt = false;
    }
    if (alt) throw PlatformError("キー文字列が無効です。");
    return inputs;
}

void Win32Desktop::activateProcess(std::uint32_t processId) {
    ProcessWindowSearch search{processId};
    EnumWindows(&FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found) throw PlatformError("プロセスのウィンドウが見つかりません。");
    SetForegroundWindow(search.found);
}

void Win32Desktop::sendKeys(const std::string& keys) {
    std::vector<INPUT> inputs = KeystrokeInputs(keys);  // validates everything before sending
    if (inputs.empty()) return;
    if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
        throw PlatformError("キー入力を送れませんでした。");
}

std::string Win32DesktopWindows::className(WindowRef window) {
    wchar_t name[256]{};
    const int length = GetClassNameW(HwndOf(window), name, static_cast<int>(std::size(name)));
    return length > 0 ? ToUtf8(std::wstring(name, static_cast<size_t>(length))) : std::string();
}

WindowRef Win32DesktopWindows::rootOwner(WindowRef window) {
    return RefOf(GetAncestor(HwndOf(window), GA_ROOTOWNER));
}

bool Win32DesktopWindows::isVisible(WindowRef window) { return IsWindowVisible(HwndOf(window)); }

WindowRef Win32DesktopWindows::foreground() { return RefOf(GetForegroundWindow()); }

bool Win32DesktopWindows::isOwnWindow(WindowRef window) {
    DWORD process = 0;
    return GetWindowThreadProcessId(HwndOf(window), &process) && process == GetCurrentProcessId();
}

void Win32DesktopWindows::placeBehind(WindowRef window, WindowRef above) {
    // Posted to the other window's thread, so that a busy console host or terminal never holds
    // this program up.
    SetWindowPos(HwndOf(window), HwndOf(above), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_ASYNCWINDOWPOS);
}

void Win32DesktopWindows::bringToFront(WindowRef window) { SetForegroundWindow(HwndOf(window)); }
