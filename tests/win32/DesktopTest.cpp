#include <gtest/gtest.h>

#include "platform/PlatformError.h"
#include "platform/win32/Win32Desktop.h"

namespace {

struct Stroke {
    WORD key;
    bool up;
    bool operator==(const Stroke&) const = default;
};

std::vector<Stroke> Strokes(const std::string& keys) {
    std::vector<Stroke> strokes;
    for (const INPUT& input : KeystrokeInputs(keys))
        strokes.push_back({input.ki.wVk, (input.ki.dwFlags & KEYEVENTF_KEYUP) != 0});
    return strokes;
}

TEST(DesktopTest, KeystrokesOfTheSupportedForm) {
    const std::pair<std::string, std::vector<Stroke>> cases[] = {
        {"% ", {{VK_MENU, false}, {VK_SPACE, false}, {VK_SPACE, true}, {VK_MENU, true}}},
        {"%x", {{VK_MENU, false}, {'X', false}, {'X', true}, {VK_MENU, true}}},
        {"a1", {{'A', false}, {'A', true}, {'1', false}, {'1', true}}},
        {"", {}},
    };
    for (const auto& [keys, strokes] : cases) {
        SCOPED_TRACE(keys);
        EXPECT_EQ(Strokes(keys), strokes);
    }
}

TEST(DesktopTest, OtherKeystrokeTextsAreRefused) {
    for (const std::string keys : {"{ENTER}", "~", "%%x", "x%", "+a", "あ"}) {
        SCOPED_TRACE(keys);
        EXPECT_THROW(KeystrokeInputs(keys), PlatformError);
    }
}

TEST(DesktopTest, ActivationWithoutSuchWindowThrows) {
    Win32Desktop desktop;
    // Process id 0 is the idle process, which has no windows.
    EXPECT_THROW(desktop.activateProcess(0), PlatformError);
}

HWND MakeWindow(const wchar_t* className, DWORD style, DWORD exStyle, HWND owner, int size) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);  // fails harmlessly when registered by an earlier case
    return CreateWindowExW(exStyle, className, L"", style, 20, 20, size, size, owner, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// A terminal's stand-in for a console, as the system makes it: 0 by 0, hidden, owned by the
// terminal's window (or by nothing).
HWND MakeStandIn(HWND owner) {
    return MakeWindow(L"PseudoConsoleWindow", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, owner,
                      0);
}

TEST(DesktopTest, AStandInIsSeenThroughItsOwnerAndNeverMovedOrShown) {
    HWND terminal = MakeWindow(L"TavimeroTestTerminal", WS_OVERLAPPEDWINDOW, 0, nullptr, 300);
    ASSERT_TRUE(terminal);
    ShowWindow(terminal, SW_SHOWNOACTIVATE);
    HWND owned = MakeStandIn(terminal);
    HWND lone = MakeStandIn(nullptr);
    ASSERT_TRUE(owned && lone);
    Win32DesktopWindows desktop;
    EXPECT_EQ(desktop.className(RefOf(owned)), kPseudoConsoleClass);
    EXPECT_EQ(PromptWindowOf(desktop, RefOf(owned)), RefOf(terminal));
    EXPECT_EQ(PromptWindowOf(desktop, RefOf(lone)), 0u);
    EXPECT_EQ(StateOfPromptWindow(desktop, RefOf(lone)), PromptWindowState::NotShown);
    EXPECT_NE(StateOfPromptWindow(desktop, RefOf(owned)), PromptWindowState::NotShown);

    for (HWND standIn : {owned, lone}) {
        BringPromptWindowForward(desktop, RefOf(standIn));
        RECT rect{};
        GetWindowRect(standIn, &rect);
        EXPECT_EQ(rect.right - rect.left, 0);
        EXPECT_EQ(rect.bottom - rect.top, 0);
        EXPECT_FALSE(IsWindowVisible(standIn));
    }
    DestroyWindow(lone);
    DestroyWindow(owned);
    DestroyWindow(terminal);
    // A window that has gone is no stand-in, and acting on it does nothing.
    EXPECT_EQ(desktop.className(RefOf(owned)), "");
    EXPECT_NO_THROW(BringPromptWindowForward(desktop, RefOf(owned)));
}

}  // namespace
