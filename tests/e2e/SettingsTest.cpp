// The settings file Tavimero.ini beside the program: read at start-up, written at close.

#include <gtest/gtest.h>

#include <string>

#include "Driver.h"
#include "Steps.h"
#include "SystemBoxes.h"
#include "forms/ControlIds.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

// The keys the close writes, in their order.
struct Keys {
    std::string AddListMain = "No", AddListDirectory = "No", DoDirectory = "0", CloseDos = "No", CD,
                EnterKey = "0", Width = "4575", Height = "6210", Placeholders = "1";
};

std::string settingsFile(const Keys& k) {
    return "[Tavimero]\r\nAddListMain=" + k.AddListMain +
           "\r\nAddListDirectory=" + k.AddListDirectory + "\r\nDoDirectory=" + k.DoDirectory +
           "\r\nCloseDos=" + k.CloseDos + "\r\nCD=" + k.CD + "\r\nEnterKey=" + k.EnterKey +
           "\r\nWidth=" + k.Width + "\r\nHeight=" + k.Height + "\r\nPlaceholders=" + k.Placeholders +
           "\r\n";
}

// A settings file the program created: UTF-16 LE after its byte-order mark.
std::string newSettingsFile(const Keys& k) {
    std::string bytes = "\xFF\xFE";
    for (const wchar_t unit : widen(settingsFile(k))) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

SessionOptions withSettings(const std::string& bytes) {
    SessionOptions options;
    options.beforeStart = [bytes](const std::wstring& folder) {
        CreateDirectoryW((folder + L"\\sub").c_str(), nullptr);
        writeBytes(folder + L"\\Tavimero.ini", bytes);
    };
    return options;
}

// Closes the main window as the user does and waits for the program to end.
::testing::AssertionResult closeProgram(Session& s) {
    post(s.window(), WM_CLOSE);
    if (waitForEnd(s.process(), kEffectTimeout)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the program did not end\n" << s.report();
}

int pixelsToTwips(int pixels) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return MulDiv(pixels, 1440, dpi);
}

TEST(Settings, FirstCloseWritesEveryKeyWithItsDefault) {
    Session s;
    runningPrompt(s);
    RECT outer{};
    GetWindowRect(s.window(), &outer);
    SCOPED_TRACE("window " + std::to_string(outer.right - outer.left) + " x " +
                 std::to_string(outer.bottom - outer.top) + " pixels");
    ASSERT_TRUE(closeProgram(s));
    Keys expected;
    expected.CD = narrow(s.folder());
    EXPECT_TRUE(fileHolds(s, L"Tavimero.ini", newSettingsFile(expected)));
}

TEST(Settings, ValuesReadAtStartupComeBackInTheirOwnForm) {
    struct Case {
        const char* what;
        Keys given;
        bool ticked;   // chbAdd after the start
        Keys written;  // CD: relative to the program's folder; Width "min": the system's minimum
    };
    const Case cases[] = {
        {"values out of range or in the wrong form",
         {"yes", "No", "7", "Yes", "C:\\missing\\folder", "-1", "0", "6210"},
         false,
         {"No", "No", "2", "No", "", "-1", "min", "6210"}},
        {"values kept as they are",
         {"Yes", "Yes", "1", "No", "\\sub\\", "007", "6000", "7200"},
         true,
         {"Yes", "Yes", "1", "No", "\\sub", "7", "6000", "7200"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A CD starting with a backslash is in the program's folder, unknown until the start.
        Keys given = c.given;
        SessionOptions options;
        options.beforeStart = [&given](const std::wstring& folder) {
            CreateDirectoryW((folder + L"\\sub").c_str(), nullptr);
            if (given.CD.front() == '\\') given.CD = narrow(folder) + given.CD;
            writeBytes(folder + L"\\Tavimero.ini", settingsFile(given));
        };
        Session s(options);
        runningPrompt(s);
        EXPECT_EQ(s.isChecked(ids::chbAdd), c.ticked);
        ASSERT_TRUE(closeProgram(s));

        Keys expected = c.written;
        expected.CD = narrow(s.folder()) + expected.CD;
        if (expected.Width == "min")
            expected.Width = std::to_string(pixelsToTwips(GetSystemMetrics(SM_CXMINTRACK)));
        EXPECT_TRUE(fileHolds(s, L"Tavimero.ini", settingsFile(expected)));
    }
}

TEST(Settings, CloseDosDecidesWhetherThePromptEndsWithTheProgram) {
    struct Case {
        const char* value;
        bool promptEnds;
    };
    for (const Case& c : {Case{"Close", true}, Case{"No", false}}) {
        SCOPED_TRACE(std::string("CloseDos=") + c.value);
        Session s(withSettings(std::string("[Tavimero]\r\nCloseDos=") + c.value + "\r\n"));
        const DWORD prompt = runningPrompt(s);
        ASSERT_TRUE(closeProgram(s));
        if (c.promptEnds) {
            EXPECT_TRUE(s.waitForPromptEnd(prompt)) << "the prompt still runs\n" << s.report();
        } else {
            EXPECT_FALSE(s.waitForPromptEnd(prompt, 2s)) << "the prompt ended with the program\n"
                                                         << s.report();
        }
        const auto written = s.readFile(L"Tavimero.ini").value_or("");
        EXPECT_NE(written.find(std::string("\r\nCloseDos=") + c.value + "\r\n"), std::string::npos)
            << printable(written);
    }
}

// A folder whose name the ANSI code page cannot hold is written in full (the file in UTF-16 with
// its mark), and the next start is in it.
TEST(Settings, AFolderOutsideTheAnsiCodePageSurvivesACloseAndAStart) {
    const std::wstring greek = L"Ελληνικά";
    SessionOptions options;
    options.beforeStart = [&](const std::wstring& folder) {
        CreateDirectoryW((folder + L"\\" + greek).c_str(), nullptr);
    };
    Session s(options);
    runningPrompt(s);
    ASSERT_TRUE(execute(s, "cd " + narrow(greek)));
    const std::string inside = narrow(s.folder() + L"\\" + greek);
    ASSERT_TRUE(pollUntil([&] { return s.text(ids::txtCD) == inside; }, kEffectTimeout))
        << s.text(ids::txtCD) << "\n" << s.report();
    ASSERT_TRUE(closeProgram(s));

    Keys expected;
    expected.CD = inside;
    EXPECT_TRUE(fileHolds(s, L"Tavimero.ini", newSettingsFile(expected)));

    Started again = startProcess(s.exePath(), L"", s.folder());
    HWND main = nullptr;
    pollUntil([&] { return (main = findVisibleWindow(again.pid, widen(captions::MainWindow))) != nullptr; },
              kWindowTimeout);
    ASSERT_NE(main, nullptr) << "the program did not start again";
    EXPECT_TRUE(pollUntil([&] { return windowText(GetDlgItem(main, ids::txtCD)) == inside; }, kEffectTimeout))
        << "the second start shows " << windowText(GetDlgItem(main, ids::txtCD));
    endProcessTree(again.pid, again.process.get());
}

// A list that cannot be opened at start-up is reported before the window shows; the program
// then starts as usual.
TEST(Settings, ListThatCannotBeOpenedAtStartupIsReported) {
    const std::string checkSettings = "ツールの環境設定をご確認ください。";
    struct Case {
        const wchar_t* name;
        std::string message;  // after the list's path
    };
    const Case cases[] = {
        {L"list.doc",
         "は開けません。\r\nテキストファイル（.txt)以外のファイルは開けません\r\n" + checkSettings},
        {L"missing.txt", "を開けません。\r\nあるいはファイルが存在しません。\r\n" + checkSettings},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(narrow(c.name));
        TempFolder folder(L"Tavimero e2e");
        const std::wstring exe = folder / L"Tavimero.exe";
        ASSERT_TRUE(CopyFileW(programUnderTest().c_str(), exe.c_str(), TRUE));
        const std::wstring list = folder / c.name;
        if (std::wstring_view(c.name).ends_with(L".doc")) writeBytes(list, "echo a");
        writeBytes(folder / L"Tavimero.ini",
                   "[Tavimero]\r\nLoadList=Yes\r\nPathOfList=" + narrow(list) + "\r\n");

        Started program = startProcess(exe, L"", folder.path());
        HWND box = nullptr;
        pollUntil(
            [&] {
                return (box = findVisibleWindow(program.pid, L"エラー")) ||
                       hasEnded(program.process.get());
            },
            kWindowTimeout);
        EXPECT_NE(box, nullptr) << "no message\n" << folder.listing();
        if (box) {
            EXPECT_EQ(messageBoxText(box), narrow(list) + c.message);
            EXPECT_TRUE(pressAndWaitForClose(box, IDOK));
            EXPECT_TRUE(pollUntil(
                [&] {
                    return findVisibleWindow(program.pid, widen(captions::MainWindow)) != nullptr;
                },
                kWindowTimeout))
                << "the main window did not show after the message";
        }
        endProcessTree(program.pid, program.process.get());
    }
}

}  // namespace
}  // namespace e2e
