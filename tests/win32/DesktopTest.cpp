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

}  // namespace
