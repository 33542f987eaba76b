// The options dialog "環境設定": what OK stores and applies at once (the Enter key's button, the
// list settings in Tavimero.ini), what reaches the file when the main window closes, and that
// every way of cancelling changes nothing.

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "Driver.h"
#include "Steps.h"
#include "forms/ControlIds.h"

namespace e2e {
namespace {

constexpr wchar_t kSettingsFile[] = L"Tavimero.ini";

// The value of key in section [Tavimero] of an INI text, or nothing.
std::optional<std::string> iniValue(const std::string& content, const std::string& key) {
    std::istringstream lines(content);
    std::string line;
    bool inSection = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inSection = sameTextIgnoringCase(widen(line), L"[Tavimero]");
            continue;
        }
        const auto equals = line.find('=');
        if (inSection && equals != std::string::npos &&
            sameTextIgnoringCase(widen(line.substr(0, equals)), widen(key))) {
            return line.substr(equals + 1);
        }
    }
    return std::nullopt;
}

std::optional<std::string> setting(const Session& s, const std::string& key) {
    const auto content = settingsText(s);
    return content ? iniValue(*content, key) : std::nullopt;
}

::testing::AssertionResult settingIs(const Session& s, const std::string& key,
                                     const std::string& expected) {
    if (pollUntil([&] { return setting(s, key) == std::optional<std::string>(expected); },
                  kEffectTimeout)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << key << " should be \"" << expected << "\" in " << narrow(kSettingsFile)
           << ", which holds \"" << printable(settingsText(s).value_or("(absent)"))
           << "\"\n"
           << s.report();
}

// Opens the dialog as the menu item does. It is modal: the message is posted, since a sent one
// would not return before the dialog closes.
HWND openOptions(Session& s) {
    PostMessageW(s.window(), WM_COMMAND, MAKEWPARAM(ids::mnuSetting, 0), 0);
    HWND dialog = waitForWindowOf(s.pid(), widen(captions::Options));
    EXPECT_NE(dialog, nullptr) << "no window \"" << captions::Options << "\"\n"
                               << describeWindowsOf(s.pid()) << s.report();
    return dialog;
}

::testing::AssertionResult closedAndMainWindowUsable(Session& s, HWND dialog) {
    if (!waitForWindowGone(dialog)) {
        return ::testing::AssertionFailure() << "the dialog is still open\n"
                                             << describeWindowsOf(s.pid()) << s.report();
    }
    if (!pollUntil([&] { return IsWindowEnabled(s.window()) != FALSE; }, kEffectTimeout)) {
        return ::testing::AssertionFailure()
               << "the main window stayed disabled after the modal dialog closed\n"
               << s.report();
    }
    return ::testing::AssertionSuccess();
}

struct DialogState {
    bool load = false;
    std::string path;
    bool pathEnabled = false;
    bool closePrompt = false;
    bool enterExecutes = false;
};

::testing::AssertionResult dialogShows(HWND dialog, const DialogState& expected) {
    const DialogState actual{childChecked(dialog, ids::chbLoad),
                             windowText(requireChild(dialog, ids::txtPath)),
                             childEnabled(dialog, ids::txtPath),
                             childChecked(dialog, ids::chbClose), childChecked(dialog, ids::optDo)};
    const bool optSend = childChecked(dialog, ids::optSend);
    const bool browseEnabled = childEnabled(dialog, ids::cmdOpen);
    if (actual.load == expected.load && actual.path == expected.path &&
        actual.pathEnabled == expected.pathEnabled && browseEnabled == expected.pathEnabled &&
        actual.closePrompt == expected.closePrompt &&
        actual.enterExecutes == expected.enterExecutes && optSend == !expected.enterExecutes) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "the dialog shows chbLoad " << actual.load << ", txtPath \"" << actual.path
           << "\" (enabled " << actual.pathEnabled << ", cmdOpen enabled " << browseEnabled
           << "), chbClose " << actual.closePrompt << ", optSend " << optSend << ", optDo "
           << actual.enterExecutes << "; expected chbLoad " << expected.load << ", txtPath \""
           << expected.path << "\" (enabled " << expected.pathEnabled << "), chbClose "
           << expected.closePrompt << ", optDo " << expected.enterExecutes;
}

// Enter in txtCommand: with the text executed, the file appears; typed only, it does not, and
// the next executed piece completes the waiting line (see InputTest.cpp).
::testing::AssertionResult enterExecutes(Session& s) {
    s.setText(ids::txtCommand, "echo x> ex.txt");
    s.postKey(ids::txtCommand, VK_RETURN);
    if (!s.waitForText(ids::txtCommand, "")) {
        return ::testing::AssertionFailure() << "Enter did not input the text\n" << s.report();
    }
    return fileHolds(s, L"ex.txt", "x\r\n");
}

::testing::AssertionResult enterInputsOnly(Session& s) {
    s.setText(ids::txtCommand, "echo y> ey.txt");
    s.postKey(ids::txtCommand, VK_RETURN);
    if (!s.waitForText(ids::txtCommand, "")) {
        return ::testing::AssertionFailure() << "Enter did not input the text\n" << s.report();
    }
    if (auto executed = execute(s, "z"); !executed) return executed;
    if (auto joined = fileHolds(s, L"ey.txtz", "y\r\n"); !joined) return joined;
    if (s.fileExists(L"ey.txt"))
        return ::testing::AssertionFailure() << "Enter executed the text\n" << s.report();
    return ::testing::AssertionSuccess();
}

// Closes the main window as its close box does and waits for the program to end.
::testing::AssertionResult closeProgram(Session& s) {
    PostMessageW(s.window(), WM_CLOSE, 0, 0);
    if (waitForEnd(s.process(), kEffectTimeout)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the program did not end after its window was closed\n"
                                         << describeWindowsOf(s.pid()) << s.report();
}

TEST(OptionsDialog, OkWithInputAndExecuteMakesEnterExecuteAtOnce) {
    Session s;
    const DWORD prompt = runningPrompt(s);
    HWND dialog = openOptions(s);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialogShows(dialog, DialogState{})) << "a fresh folder has no settings file";

    clickChild(dialog, ids::optDo);
    EXPECT_TRUE(childChecked(dialog, ids::optDo));
    EXPECT_FALSE(childChecked(dialog, ids::optSend)) << "the two option buttons are not one group";
    clickChild(dialog, ids::chbClose);
    clickChild(dialog, ids::cmdOptionOk);
    ASSERT_TRUE(closedAndMainWindowUsable(s, dialog));

    EXPECT_TRUE(enterExecutes(s));
    // Both list keys are written by OK, the path empty; the rest waits for the close.
    EXPECT_TRUE(settingIs(s, "LoadList", "No"));
    EXPECT_TRUE(settingIs(s, "PathOfList", ""));
    EXPECT_EQ(setting(s, "EnterKey"), std::nullopt) << "written before the main window closed";

    dialog = openOptions(s);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialogShows(dialog, DialogState{false, "", false, true, true}))
        << "the choices made before";
    clickChild(dialog, ids::cmdOptionCancel);
    ASSERT_TRUE(closedAndMainWindowUsable(s, dialog));

    ASSERT_TRUE(closeProgram(s));
    EXPECT_TRUE(settingIs(s, "EnterKey", "1"));
    EXPECT_TRUE(settingIs(s, "CloseDos", "Close"));
    EXPECT_TRUE(s.waitForPromptEnd(prompt))
        << "the prompt outlived the program although chbClose was ticked";
}

TEST(OptionsDialog, OkWritesListSettingsAtOnceAndShowsThemNextTime) {
    Session s;
    runningPrompt(s);
    const std::string listPath = narrow(s.pathOf(L"my list.txt"));

    HWND dialog = openOptions(s);
    ASSERT_NE(dialog, nullptr);
    clickChild(dialog, ids::chbLoad);
    EXPECT_TRUE(childEnabled(dialog, ids::txtPath)) << "ticking chbLoad leaves txtPath disabled";
    EXPECT_TRUE(childEnabled(dialog, ids::cmdOpen)) << "ticking chbLoad leaves cmdOpen disabled";
    setWindowText(requireChild(dialog, ids::txtPath), listPath);
    clickChild(dialog, ids::cmdOptionOk);
    ASSERT_TRUE(closedAndMainWindowUsable(s, dialog));
    EXPECT_TRUE(settingIs(s, "LoadList", "Yes"));
    EXPECT_TRUE(settingIs(s, "PathOfList", listPath));
    EXPECT_TRUE(enterInputsOnly(s)) << "OK changed the Enter key although optSend stayed selected";

    // Unticking keeps the path in the file; the dialog reads both back each time it opens.
    dialog = openOptions(s);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialogShows(dialog, DialogState{true, listPath, true, false, false}));
    clickChild(dialog, ids::chbLoad);
    EXPECT_FALSE(childEnabled(dialog, ids::txtPath));
    EXPECT_FALSE(childEnabled(dialog, ids::cmdOpen));
    clickChild(dialog, ids::cmdOptionOk);
    ASSERT_TRUE(closedAndMainWindowUsable(s, dialog));
    EXPECT_TRUE(settingIs(s, "LoadList", "No"));
    EXPECT_TRUE(settingIs(s, "PathOfList", listPath));

    dialog = openOptions(s);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialogShows(dialog, DialogState{false, listPath, false, false, false}));
    clickChild(dialog, ids::cmdOptionOk);
    ASSERT_TRUE(closedAndMainWindowUsable(s, dialog));
}

TEST(OptionsDialog, CancellingChangesNothing) {
    enum class Way { CancelButton, EscapeKey, CloseBox };
    for (const Way way : {Way::CancelButton, Way::EscapeKey, Way::CloseBox}) {
        SCOPED_TRACE(way == Way::CancelButton ? "cancel button"
                     : way == Way::EscapeKey  ? "Esc"
                                              : "close box");
        Session s;
        const DWORD prompt = runningPrompt(s);
        HWND dialog = openOptions(s);
        ASSERT_NE(dialog, nullptr);
        clickChild(dialog, ids::chbLoad);
        setWindowText(requireChild(dialog, ids::txtPath), narrow(s.pathOf(L"list.txt")));
        clickChild(dialog, ids::chbClose);
        clickChild(dialog, ids::optDo);
        switch (way) {
        case Way::CancelButton:
            clickChild(dialog, ids::cmdOptionCancel);
            break;
        case Way::EscapeKey: {
            HWND focus = requireChild(dialog, ids::chbClose);
            PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            PostMessageW(focus, WM_KEYUP, VK_ESCAPE, 0xC0010001);
            break;
        }
        case Way::CloseBox:
            PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        }
        ASSERT_TRUE(closedAndMainWindowUsable(s, dialog));
        EXPECT_TRUE(enterInputsOnly(s));
        EXPECT_FALSE(s.fileExists(kSettingsFile)) << "cancelling wrote the settings file\n"
                                                  << s.report();

        dialog = openOptions(s);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialogShows(dialog, DialogState{})) << "the cancelled choices came back";
        clickChild(dialog, ids::cmdOptionCancel);
        ASSERT_TRUE(closedAndMainWindowUsable(s, dialog));

        ASSERT_TRUE(closeProgram(s));
        EXPECT_TRUE(settingIs(s, "EnterKey", "0"));
        EXPECT_TRUE(settingIs(s, "CloseDos", "No"));
        EXPECT_EQ(setting(s, "LoadList"), std::nullopt);
        EXPECT_TRUE(s.promptRunning(prompt))
            << "the prompt was closed with the program although chbClose was cancelled";
    }
}

TEST(OptionsDialog, ShowsStoredSettingsAndStoresOneForAnyNonZeroEnterKey) {
    Session s(SessionOptions{
        L"Tavimero e2e", L"", [](const std::wstring& folder) {
            const std::wstring list = folder + L"\\start list.txt";
            const std::string settings =
                "[Tavimero]\r\nLoadList=Yes\r\nPathOfList=" + narrow(list) +
                "\r\nCloseDos=Close\r\nEnterKey=-1\r\n";
            const std::string listLines = "echo started\r\n";
            for (const auto& [path, bytes] :
                 {std::pair{folder + L"\\Tavimero.ini", settings}, std::pair{list, listLines}}) {
                Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
                DWORD written = 0;
                if (file) {
                    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr);
                }
            }
        }});
    runningPrompt(s);
    EXPECT_EQ(s.listItems(ids::lstCommand), std::vector<std::string>{"echo started"}) << s.report();
    EXPECT_TRUE(enterExecutes(s)) << "EnterKey=-1 should make Enter execute";

    HWND dialog = openOptions(s);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialogShows(
        dialog, DialogState{true, narrow(s.pathOf(L"start list.txt")), true, true, true}));
    clickChild(dialog, ids::cmdOptionOk);
    ASSERT_TRUE(closedAndMainWindowUsable(s, dialog));
    ASSERT_TRUE(closeProgram(s));
    EXPECT_TRUE(settingIs(s, "EnterKey", "1"));
    EXPECT_TRUE(settingIs(s, "LoadList", "Yes"));
}

}  // namespace
}  // namespace e2e
