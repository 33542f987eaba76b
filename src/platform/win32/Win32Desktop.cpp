#include "platform/win32/Win32Desktop.h"

#include "platform/PlatformError.h"

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
