// The main window's menu bar, shortcuts and toolbar, built from its table as the program does.

#include <gtest/gtest.h>

#include <chrono>
#include <set>

#include "TestSupport.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/MessageLoop.h"
#include "platform/win32/ToolbarImages.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Form.h"
#include "platform/win32/Win32Toolbar.h"
#include "forms/ControlIds.h"
#include "forms/frmDosLaunchLayout.h"

namespace {

using namespace std::chrono_literals;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        form = std::make_unique<Win32Form>(table, false);
        window = form->window();
        toolbar = form->toolbarWindow();
        form->onMenu = [this](int id) { menus.push_back(id); };
    }
    void TearDown() override {
        SetKeys({});
        form.reset();
        PumpMessages();
    }

    static void SetKeys(std::initializer_list<int> held) {
        BYTE state[256] = {};
        for (int key : held) state[key] = 0x80;
        SetKeyboardState(state);
    }

    static std::wstring MenuText(HMENU menu, int position) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
        return text;
    }

    // Presses the left mouse button on the toolbar entry, as a click does.
    void ClickToolbar(int index) {
        RECT rect{};
        SendMessageW(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index - 1),
                     reinterpret_cast<LPARAM>(&rect));
        const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        SendMessageW(toolbar, WM_MOUSEMOVE, 0, at);
        SendMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(toolbar, WM_LBUTTONUP, 0, at);
        PumpMessages();
    }

    const FormSpec table = frmDosLaunchForm();
    std::unique_ptr<Win32Form> form;
    HWND window = nullptr;
    HWND toolbar = nullptr;
    std::vector<int> menus;
};

TEST_F(MainWindowTest, MenuBarShowsTheTableWithShortcuts) {
    HMENU bar = GetMenu(window);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), static_cast<int>(table.menus.size()));
    for (size_t m = 0; m < table.menus.size(); ++m) {
        const MenuSpec& menu = table.menus[m];
        SCOPED_TRACE(menu.name);
        EXPECT_EQ(MenuText(bar, static_cast<int>(m)), ToWide(menu.caption));
        HMENU sub = GetSubMenu(bar, static_cast<int>(m));
        ASSERT_NE(sub, nullptr);
        ASSERT_EQ(GetMenuItemCount(sub), static_cast<int>(menu.items.size()));
        for (size_t i = 0; i < menu.items.size(); ++i) {
            const MenuSpec& item = menu.items[i];
            SCOPED_TRACE(item.name);
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_ID;
            ASSERT_TRUE(GetMenuItemInfoW(sub, static_cast<UINT>(i), TRUE, &info));
            if (item.isSeparator()) {
                EXPECT_TRUE(info.fType & MFT_SEPARATOR);
                continue;
            }
            EXPECT_EQ(static_cast<int>(info.wID), item.id);
            std::wstring expected = ToWide(item.caption);
            if (item.ctrlShortcut)
                expected += std::wstring(L"\tCtrl+") + static_cast<wchar_t>(item.ctrlShortcut);
            EXPECT_EQ(MenuText(sub, static_cast<int>(i)), expected);
        }
    }
    EXPECT_EQ(MenuText(GetSubMenu(bar, 0), 0), L"新規作成(&N)\tCtrl+N");
}

TEST_F(MainWindowTest, ShortcutsAndMenuCommandsReachOnMenu) {
    form->show();
    TextBox& command = form->textBox("txtCommand");
    command.setFocus();
    struct Case {
        WPARAM key;
        int id;
    };
    const Case cases[] = {{'N', ids::mnuNew},
                          {'O', ids::mnuOpen},
                          {'S', ids::mnuSave},
                          {'D', ids::cmdMove},
                          {'E', ids::mnuSetting},
                          {'F', ids::mnuFind}};
    const auto press = [&](WPARAM key) {
        menus.clear();
        SetKeys({VK_CONTROL, VK_LCONTROL});
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        EXPECT_TRUE(WaitUntil([&] { return !menus.empty(); }, 5s));
        SetKeys({});
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<char>(c.key));
        press(c.key);
        EXPECT_EQ(menus, std::vector<int>{c.id});
    }
    EXPECT_EQ(command.text(), "") << "a shortcut types nothing";
    // Wherever the focus is in the window.
    const std::vector<Control*> elsewhere = {&form->listBox("lstCommand"), &form->checkBox("chbAdd"),
                                             &form->button("cmdSend")};
    for (Control* control : elsewhere) {
        control->setFocus();
        press('F');
        EXPECT_EQ(menus, std::vector<int>{ids::mnuFind});
    }

    // A menu item clicked sends WM_COMMAND without a control; a control's command is no menu.
    menus.clear();
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ids::mnuAbout, 0), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ids::txtCommand, EN_CHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, ids::txtCommand)));
    EXPECT_EQ(menus, std::vector<int>{ids::mnuAbout});
}

TEST_F(MainWindowTest, PopupMenuReportsTheChosenItem) {
    form->show();
    // The pop-up menu's loop takes the keys waiting in the queue: down to the second item.
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageW(window, WM_KEYDOWN, key, 1);
    form->popupMenu("mnuEdit");
    EXPECT_EQ(menus, std::vector<int>{ids::mnuRedo});
    EXPECT_THROW(form->popupMenu("mnuNothing"), std::out_of_range);
}

TEST_F(MainWindowTest, ToolbarHasTheTablesButtonsAndTips) {
    ASSERT_NE(toolbar, nullptr);
    ASSERT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 13);
    HWND tips = reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tips, nullptr);
    for (int index = 1; index <= 13; ++index) {
        SCOPED_TRACE(index);
        const ToolButtonSpec& entry = table.toolbar.buttons[static_cast<size_t>(index - 1)];
        TBBUTTON button{};
        ASSERT_TRUE(SendMessageW(toolbar, TB_GETBUTTON, static_cast<WPARAM>(index - 1),
                                 reinterpret_cast<LPARAM>(&button)));
        EXPECT_EQ(button.idCommand, entry.command);
        const bool separator = (button.fsStyle & BTNS_SEP) != 0;
        EXPECT_EQ(separator, index == 4 || index == 8 || index == 11);
        if (separator) continue;
        EXPECT_EQ(button.iBitmap, static_cast<int>(entry.image));
        // What the tooltip shows when the mouse rests on the button.
        wchar_t text[1100] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = toolbar;
        tool.uId = static_cast<UINT_PTR>(button.idCommand);
        tool.lpszText = text;
        SendMessageW(tips, TTM_GETTEXTW, 1100, reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(std::wstring(text), ToWide(entry.tooltip));
    }
}

TEST_F(MainWindowTest, EachToolbarButtonSendsItsMenuItemsCommandAndLeavesTheFocus) {
    form->show();
    form->textBox("txtCommand").setFocus();
    for (int index = 1; index <= 13; ++index) ClickToolbar(index);
    // The buttons in their places, the separators 4, 8 and 11 sending nothing.
    EXPECT_EQ(menus, (std::vector<int>{ids::mnuNew, ids::mnuOpen, ids::mnuSave, ids::mnuCut, ids::mnuCopy,
                                       ids::mnuPaste, ids::mnuUndo, ids::mnuRedo, ids::cmdMove,
                                       ids::mnuDelete}));
    EXPECT_EQ(form->activeControlName(), "txtCommand");
    RECT bar{};
    GetWindowRect(toolbar, &bar);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(bar.right - bar.left, client.right) << "across the whole width";
}

TEST(ToolbarImagesTest, ImagesMatchTheDpiWithoutBlurring) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    for (const UINT dpi : {96u, 120u, 144u, 192u}) {
        SCOPED_TRACE(dpi);
        HIMAGELIST images = CreateToolbarImages(parent, dpi);
        ASSERT_NE(images, nullptr);
        int width = 0, height = 0;
        ImageList_GetIconSize(images, &width, &height);
        EXPECT_EQ(width, MulDiv(16, static_cast<int>(dpi), 96));
        EXPECT_EQ(height, width);
        EXPECT_EQ(ImageList_GetImageCount(images), 10);
        // Drawn whole, each image shows something, and a doubled image repeats every pixel
        // twice: scaling by whole pixels never blurs.
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        HGDIOBJ old = SelectObject(dc, bitmap);
        for (int image = 0; image < 10; ++image) {
            SCOPED_TRACE(image);
            RECT all{0, 0, width, height};
            FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            ImageList_Draw(images, image, dc, 0, 0, ILD_NORMAL);
            int painted = 0;
            bool blocks = true;
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const COLORREF pixel = GetPixel(dc, x, y);
                    painted += pixel != RGB(255, 255, 255);
                    if (dpi == 192 && image != static_cast<int>(ToolImage::DirectoryTree))
                        blocks = blocks && pixel == GetPixel(dc, x & ~1, y & ~1);
                }
            }
            EXPECT_GT(painted, width * height / 10);
            EXPECT_TRUE(blocks);
        }
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        ImageList_Destroy(images);
    }
    DestroyWindow(parent);
}

// The images come when the window is first shown, before its first paint; the buttons have
// their size from the start, so that nothing moves when they come.
TEST_F(MainWindowTest, TheToolbarHasItsImagesWhenTheWindowIsFirstDrawn) {
    RECT before{};
    SendMessageW(toolbar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&before));
    form->show();
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), 10);
    RECT after{};
    SendMessageW(toolbar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&after));
    EXPECT_TRUE(EqualRect(&before, &after));

    // The first button, drawn as the toolbar draws itself: more than its background.
    const int width = after.right - after.left, height = after.bottom - after.top;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SetViewportOrgEx(dc, -after.left, -after.top, nullptr);
    SendMessageW(toolbar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                 PRF_CLIENT | PRF_ERASEBKGND);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    std::set<COLORREF> colours;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) colours.insert(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EXPECT_GT(colours.size(), 3u);
}

TEST_F(MainWindowTest, DpiChangeBuildsTheToolbarImagesAgain) {
    const UINT dpi = form->dpi() * 2;
    RECT suggested{0, 0, TwipsToPixels(4575, dpi), TwipsToPixels(6210, dpi)};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    toolbar = form->toolbarWindow();
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    EXPECT_EQ(width, ToolbarImageSize(dpi));
    EXPECT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 13);
    // The icons follow the DPI too.
    auto small = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(small, &info));
    BITMAP mask{};
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, SystemMetricForDpi(SM_CXSMICON, dpi));
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
}

}  // namespace
