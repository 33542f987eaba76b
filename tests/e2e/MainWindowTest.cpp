// The main window as the user sees it: menus, toolbar, resizing, the start folder from the
// command line, the help and version boxes.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Driver.h"
// The common controls header builds on the definitions Driver.h brings.
#include <commctrl.h>

#include "Remote.h"
#include "Steps.h"
#include "forms/ControlIds.h"
#include "forms/MainWindowResize.h"
#include "forms/frmDosLaunchLayout.h"
#include "text/Product.h"

#ifndef TAVIMERO_MENU_PROBE
#define TAVIMERO_MENU_PROBE ""
#endif

namespace e2e {
namespace {

// The menus as the probe library writes them: depth, command id, text with the shortcut.
void describeMenus(const std::vector<MenuSpec>& menus, int depth, std::string& out) {
    for (const MenuSpec& menu : menus) {
        const bool item = menu.items.empty() && !menu.isSeparator();
        std::string text = menu.isSeparator() ? "-" : menu.caption;
        if (menu.ctrlShortcut) text += std::string("\tCtrl+") + menu.ctrlShortcut;
        out +=
            std::to_string(depth) + "\t" + std::to_string(item ? menu.id : 0) + "\t" + text + "\n";
        describeMenus(menu.items, depth + 1, out);
    }
}

TEST(MainWindow, MenusShowTheTablesCaptionsWithTheirShortcuts) {
    Session s;
    const std::wstring probe = s.pathOf(L"MenuProbe.dll");
    ASSERT_TRUE(CopyFileW(toWindowsPath(TAVIMERO_MENU_PROBE).c_str(), probe.c_str(), FALSE))
        << "the probe library " << TAVIMERO_MENU_PROBE << " is missing";
    ASSERT_TRUE(loadLibraryInto(s.process(), s.pid(), probe, kEffectTimeout));
    const auto shown = s.readFile(L"MenuProbe.txt");
    ASSERT_TRUE(shown) << "the probe wrote nothing\n" << s.report();
    std::string expected;
    describeMenus(frmDosLaunchForm().menus, 0, expected);
    EXPECT_EQ(*shown, expected);
    EXPECT_NE(shown->find("1\t" + std::to_string(ids::mnuNew) + "\t新規作成(&N)\tCtrl+N\n"),
              std::string::npos);
}

TEST(MainWindow, ToolbarTipsAreTheTables) {
    Session s;
    const ToolbarSpec table = frmDosLaunchForm().toolbar;
    HWND toolbar = requireChild(s.window(), ids::tlbDos);
    ASSERT_EQ(sendTo(toolbar, TB_BUTTONCOUNT, 0, 0), static_cast<LRESULT>(table.buttons.size()));
    HWND tips = reinterpret_cast<HWND>(sendTo(toolbar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tips, nullptr);
    // The toolbar and its tooltip window write into memory of their own process.
    constexpr size_t kTextLength = 1100;
    constexpr size_t kToolAt = sizeof(TBBUTTON), kTextAt = kToolAt + sizeof(TTTOOLINFOW);
    RemoteMemory memory(s.process(), kTextAt + kTextLength * sizeof(wchar_t));
    for (size_t i = 0; i < table.buttons.size(); ++i) {
        SCOPED_TRACE(i + 1);
        ASSERT_TRUE(sendTo(toolbar, TB_GETBUTTON, i, memory.address()));
        const auto button = memory.read<TBBUTTON>();
        EXPECT_EQ((button.fsStyle & BTNS_SEP) != 0, table.buttons[i].isSeparator());
        EXPECT_EQ(button.idCommand, table.buttons[i].command);
        if (table.buttons[i].isSeparator()) continue;
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = toolbar;
        tool.uId = static_cast<UINT_PTR>(button.idCommand);
        tool.lpszText = reinterpret_cast<LPWSTR>(memory.address(kTextAt));
        memory.write(&tool, sizeof tool, kToolAt);
        const wchar_t nothing = L'\0';
        memory.write(&nothing, sizeof nothing, kTextAt);
        sendTo(tips, TTM_GETTEXTW, kTextLength, memory.address(kToolAt));
        std::wstring text(kTextLength, L'\0');
        memory.read(text.data(), kTextLength * sizeof(wchar_t), kTextAt);
        text.resize(wcsnlen(text.c_str(), kTextLength));
        EXPECT_EQ(narrow(text), table.buttons[i].tooltip);
    }
}

// ---- resizing

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

struct Layout {
    int width = 0, height = 0;  // what the rules see: the client area in the design's frame
    TwipsRect txtCD, lstCommand, txtCommand, fraButtons, cmdSend;
};

Layout readLayout(const Session& s) {
    const int dpi = screenDpi();
    const auto twips = [dpi](LONG pixels) { return MulDiv(pixels, 1440, dpi); };
    const auto rectOf = [&](int id) {
        RECT rect{};
        GetWindowRect(s.control(id), &rect);
        MapWindowPoints(nullptr, s.window(), reinterpret_cast<POINT*>(&rect), 2);
        return TwipsRect{twips(rect.left), twips(rect.top), twips(rect.right - rect.left),
                         twips(rect.bottom - rect.top)};
    };
    RECT client{};
    GetClientRect(s.window(), &client);
    return {twips(client.right) + DesignFrame.width,
            twips(client.bottom) + DesignFrame.height,
            rectOf(ids::txtCD),
            rectOf(ids::lstCommand),
            rectOf(ids::txtCommand),
            rectOf(ids::fraButtons),
            rectOf(ids::cmdSend)};
}

TEST(MainWindow, ResizingMovesTheControlsByTheRules) {
    Session s;
    constexpr int kOnePixel = 15;  // twips at 96 DPI: the tolerance for rounding to pixels
    const int dpi = screenDpi();
    const int line = MulDiv(
        static_cast<int>(sendTo(s.control(ids::lstCommand), LB_GETITEMHEIGHT, 0, 0)), 1440, dpi);
    ASSERT_GT(line, 0);
    struct Size {
        int width, height;  // twips
    };
    // Larger, smaller than the design, and so small that some rules leave controls as they were.
    const Size sizes[] = {{7500, 7200}, {9000, 5400}, {4575, 6210}, {3600, 3300}, {6000, 9000}};
    Layout before = readLayout(s);
    for (const Size& size : sizes) {
        SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
        SetWindowPos(s.window(), nullptr, 0, 0, MulDiv(size.width, dpi, 1440),
                     MulDiv(size.height, dpi, 1440), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        sendTo(s.window(), WM_NULL, 0, 0);  // the program has handled the change
        Layout now = readLayout(s);
        const int w = now.width, h = now.height;  // as the window took them
        const auto closeTo = [](int actual, int expected) {
            return std::abs(actual - expected) <= kOnePixel;
        };

        EXPECT_PRED2(closeTo, now.txtCD.width, w - 185 > 0 ? w - 185 : before.txtCD.width);
        EXPECT_PRED2(closeTo, now.lstCommand.width,
                     w - 120 > 0 ? w - 120 : before.lstCommand.width);
        EXPECT_PRED2(closeTo, now.txtCommand.width,
                     w - 120 > 0 ? w - 120 : before.txtCommand.width);
        EXPECT_PRED2(closeTo, now.fraButtons.left,
                     w / 2 - 2170 > 0 ? w / 2 - 2170 : before.fraButtons.left);
        const int list = now.lstCommand.height;
        if (h - 3450 > 0) {
            // Whole lines only: at most what was asked, less than a line short of it.
            EXPECT_LE(list, h - 3450 + kOnePixel);
            EXPECT_GT(list, h - 3450 - line - kOnePixel);
            RECT client{};
            GetClientRect(s.control(ids::lstCommand), &client);
            EXPECT_EQ(MulDiv(client.bottom, 1440, dpi) % line, 0);
        } else {
            EXPECT_PRED2(closeTo, list, before.lstCommand.height);
        }
        EXPECT_PRED2(closeTo, now.txtCommand.top, list + 960);
        EXPECT_PRED2(closeTo, now.fraButtons.top, list + 1920);
        // The buttons go with their frame.
        EXPECT_PRED2(closeTo, now.cmdSend.left, now.fraButtons.left);
        EXPECT_PRED2(closeTo, now.cmdSend.top, now.fraButtons.top + 375);
        // The list and the current-directory box stay where they are.
        EXPECT_PRED2(closeTo, now.lstCommand.top, 840);
        EXPECT_PRED2(closeTo, now.txtCD.top, 480);
        before = now;
    }
}

// ---- the start folder on the command line

TEST(MainWindow, FolderOnTheCommandLineStartsThePromptThere) {
    // A folder without a space given as it is, and one with a space in quotes, as the shell
    // passes a dropped folder.
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    std::wstring plain = std::wstring(temp) + L"tvmstart" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(plain.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    ASSERT_EQ(plain.find(L' '), std::wstring::npos);
    TempFolder spaced(L"start here");
    struct Case {
        std::wstring folder;
        std::wstring argument;
    };
    const Case cases[] = {{plain, plain}, {spaced.path(), L"\"" + spaced.path() + L"\""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(narrow(c.argument));
        {
            Session s(SessionOptions{L"Tavimero e2e", c.argument, nullptr});
            runningPrompt(s);
            EXPECT_TRUE(sameTextIgnoringCase(widen(s.text(ids::txtCD)), c.folder)) << s.report();
            ASSERT_TRUE(execute(s, "cd > where.txt"));
            const std::wstring where = c.folder + L"\\where.txt";
            std::string content;
            const bool there = pollUntil(
                [&] {
                    Handle file(CreateFileW(where.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
                    if (!file) return false;
                    char buffer[1024];
                    DWORD read = 0;
                    ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr);
                    content.assign(buffer, read);
                    return sameTextIgnoringCase(widen(content), c.folder + L"\r\n");
                },
                kEffectTimeout);
            EXPECT_TRUE(there) << "where.txt: \"" << printable(content) << "\"\n" << s.report();
        }
        DeleteFileW((c.folder + L"\\where.txt").c_str());
    }
    RemoveDirectoryW(plain.c_str());
}

// ---- boxes

TEST(MainWindow, HelpWithoutItsFileIsReportedInABox) {
    Session s;
    ASSERT_FALSE(s.fileExists(L"help.html"));
    PostMessageW(s.window(), WM_COMMAND, MAKEWPARAM(ids::mnuViewHelp, 0), 0);
    HWND box = waitForWindowOf(s.pid(), L"エラー", kEffectTimeout, nullptr, true);
    ASSERT_NE(box, nullptr) << describeWindowsOf(s.pid());
    EXPECT_EQ(messageBoxText(box), "ヘルプファイルが見つかりません。");
    closeMessageBox(box);
    EXPECT_TRUE(waitForWindowGone(box));
    // Back to work: the window answers and types into the prompt.
    ASSERT_TRUE(execute(s, "echo help> help.txt"));
    EXPECT_TRUE(fileHolds(s, L"help.txt", "help\r\n"));
}

TEST(MainWindow, AboutBoxShowsTheVersionAndClosesWithEnter) {
    Session s;
    PostMessageW(s.window(), WM_COMMAND, MAKEWPARAM(ids::mnuAbout, 0), 0);
    HWND box = waitForWindowOf(s.pid(), widen(captions::About), kEffectTimeout);
    ASSERT_NE(box, nullptr) << describeWindowsOf(s.pid());
    EXPECT_EQ(windowText(requireChild(box, ids::lblAbout)), product::VersionCaption);
    const std::string info = windowText(requireChild(box, ids::lblInfo));
    std::vector<std::string> lines;
    for (size_t start = 0;;) {
        const size_t end = info.find("\r\n", start);
        lines.push_back(info.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 2;
    }
    const std::vector<std::string> expected = {"種別： フリーウェア", "配布開始日： 2002年5月1日",
                                               std::string("ホームページ： ") + product::HomePage,
                                               "", "Copyright (C) 2002 Tavimero 開発チーム"};
    EXPECT_EQ(lines, expected);
    EXPECT_FALSE(IsWindowEnabled(s.window())) << "the box is modal";

    PostMessageW(requireChild(box, ids::cmdAboutOk), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_TRUE(waitForWindowGone(box)) << describeWindowsOf(s.pid());
    EXPECT_TRUE(pollUntil([&] { return IsWindowEnabled(s.window()) != FALSE; }, kEffectTimeout));
    // The main window is active again, not the prompt's window below it.
    EXPECT_TRUE(pollUntil([&] { return GetForegroundWindow() == s.window(); }, kEffectTimeout))
        << describeWindowsOf(s.pid());
}

// ---- toolbar clicks

TEST(MainWindow, ToolbarButtonsActAndSeparatorsDoNothing) {
    Session s;
    runningPrompt(s);
    HWND toolbar = requireChild(s.window(), ids::tlbDos);
    RemoteMemory memory(s.process(), sizeof(RECT));
    const auto click = [&](int index) {
        sendTo(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index - 1), memory.address());
        const RECT rect = memory.read<RECT>();
        const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        sendTo(toolbar, WM_MOUSEMOVE, 0, at);
        sendTo(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
        sendTo(toolbar, WM_LBUTTONUP, 0, at);
    };
    s.click(ids::chbAdd);
    ASSERT_TRUE(execute(s, "echo one> one.txt"));
    ASSERT_EQ(s.listItems(ids::lstCommand), std::vector<std::string>{"echo one> one.txt"});

    // Button 13 deletes the chosen entry: the clicks reach the program by their index.
    sendTo(s.control(ids::lstCommand), LB_SETCURSEL, 0, 0);
    click(13);
    EXPECT_TRUE(pollUntil([&] { return s.listItems(ids::lstCommand).empty(); }, kEffectTimeout))
        << s.report();

    ASSERT_TRUE(execute(s, "echo two> two.txt"));
    sendTo(s.control(ids::lstCommand), LB_SETCURSEL, 0, 0);
    s.setText(ids::txtCommand, "dir");
    const std::string windows = describeWindowsOf(s.pid());
    for (const int separator : {4, 8, 11}) {
        SCOPED_TRACE(separator);
        click(separator);
        EXPECT_EQ(s.listItems(ids::lstCommand), std::vector<std::string>{"echo two> two.txt"});
        EXPECT_EQ(sendTo(s.control(ids::lstCommand), LB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(s.text(ids::txtCommand), "dir");
        EXPECT_EQ(describeWindowsOf(s.pid()), windows);
    }
    ASSERT_TRUE(execute(s, "echo three> three.txt"));
    EXPECT_TRUE(fileHolds(s, L"three.txt", "three\r\n"));
}

}  // namespace
}  // namespace e2e
