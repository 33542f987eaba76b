// A list declared to take Enter and to show images, as the directory browser's folder list is:
// Enter reaches that list and no other control, its entries stay strings that LB_GETTEXT
// reads, and each line shows its entry's image, indented with the text, at every DPI.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "TestSupport.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/Win32Form.h"

namespace {

constexpr int idFolders = 3401, idPlain = 3402, idOk = 3403;

FormSpec FolderForm() {
    FormSpec form;
    form.name = "TavimeroFolderListTest";
    form.caption = "フォルダ一覧のテスト";
    form.outerWidthTwips = 6000;
    form.outerHeightTwips = 4500;
    form.font = {"ＭＳ Ｐゴシック", 900};
    // clang-format off
    form.controls = {
        {"lstFolders", ControlKind::ListBox, "", {120, 120, 3000, 1500}, "", 0, {}, idFolders,
         StyleTakesEnter | StyleItemImages},
        {"lstPlain", ControlKind::ListBox, "", {120, 1800, 3000, 900}, "", 1, {}, idPlain},
        {"cmdOk", ControlKind::Button, "OK", {120, 3000, 1200, 375}, "", 2, {}, idOk,
         StyleDefaultButton},
    };
    // clang-format on
    return form;
}

class FolderListTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        form = std::make_unique<Win32Form>(FolderForm(), false);
        window = form->window();
        form->button("cmdOk").onClick = [this] { ++okClicks; };
        for (ListBox* list : {&form->listBox("lstFolders"), &form->listBox("lstPlain")}) {
            list->onKeyDown = [this, list](int key, int) {
                if (key == VK_RETURN) enterHeardBy.push_back(list);
            };
        }
        ListBox& folders = form->listBox("lstFolders");
        folders.addItem("C:\\");
        folders.addItem("  Tools");
        folders.addItem("    sub");
        folders.setItemImage(0, ItemImage::OpenFolder);
        folders.setItemImage(1, ItemImage::OpenFolder);
        folders.setItemImage(2, ItemImage::ClosedFolder);
        form->listBox("lstPlain").addItem("a.txt");
    }
    void TearDown() override {
        form.reset();
        PumpMessages();
    }

    HWND item(int id) const { return GetDlgItem(window, id); }

    // One line of the folder list as the list has it drawn, in 32-bit pixels, row by row.
    struct Line {
        int width = 0;
        int height = 0;
        std::vector<uint32_t> pixels;
        uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
        // The first column with anything but the background on it.
        int firstDrawnColumn(uint32_t background) const {
            for (int x = 0; x < width; ++x)
                for (int y = 0; y < height; ++y)
                    if (at(x, y) != background) return x;
            return -1;
        }
        // The columns from x on, size wide.
        std::vector<uint32_t> columns(int x, int size) const {
            std::vector<uint32_t> out;
            for (int y = 0; y < height; ++y)
                for (int c = x; c < x + size && c < width; ++c) out.push_back(at(c, y));
            return out;
        }
    };
    Line draw(int index) const {
        HWND list = item(idFolders);
        Line line;
        line.width = 200;
        line.height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = line.width;
        info.bmiHeader.biHeight = -line.height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bitmap);
        DRAWITEMSTRUCT entry{};
        entry.CtlType = ODT_LISTBOX;
        entry.CtlID = idFolders;
        entry.itemID = static_cast<UINT>(index);
        entry.itemAction = ODA_DRAWENTIRE;
        entry.hwndItem = list;
        entry.hDC = dc;
        entry.rcItem = {0, 0, line.width, line.height};
        entry.itemData = static_cast<ULONG_PTR>(SendMessageW(list, LB_GETITEMDATA, index, 0));
        SendMessageW(window, WM_DRAWITEM, idFolders, reinterpret_cast<LPARAM>(&entry));
        GdiFlush();
        const auto* start = static_cast<const uint32_t*>(bits);
        line.pixels.assign(start, start + line.width * line.height);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return line;
    }

    std::unique_ptr<Win32Form> form;
    HWND window = nullptr;
    int okClicks = 0;
    std::vector<ListBox*> enterHeardBy;
};

TEST_F(FolderListTest, EnterReachesTheListThatTakesItAndPressesOkElsewhere) {
    struct Case {
        const char* list;
        int id;
        bool heard;
        int clicks;
    };
    const Case cases[] = {{"lstFolders", idFolders, true, 0}, {"lstPlain", idPlain, false, 1}};
    form->show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        okClicks = 0;
        enterHeardBy.clear();
        form->listBox(c.list).setFocus();
        PostMessageW(item(c.id), WM_KEYDOWN, VK_RETURN, 1);
        PostMessageW(item(c.id), WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC0000001));
        WaitUntil([&] { return okClicks > 0 || !enterHeardBy.empty(); }, std::chrono::seconds(5));
        PumpMessages();
        EXPECT_EQ(okClicks, c.clicks);
        EXPECT_EQ(enterHeardBy, c.heard ? std::vector<ListBox*>{&form->listBox(c.list)}
                                        : std::vector<ListBox*>{});
    }
    // The list claims Enter only: Tab and Esc stay the dialog manager's.
    for (const WPARAM key : {VK_TAB, VK_ESCAPE}) {
        MSG message{item(idFolders), WM_KEYDOWN, key, 1, 0, {}};
        EXPECT_FALSE(SendMessageW(item(idFolders), WM_GETDLGCODE, key,
                                  reinterpret_cast<LPARAM>(&message)) &
                     DLGC_WANTMESSAGE)
            << key;
    }
}

TEST_F(FolderListTest, EntriesStayStringsAndShowTheirImagesAtEveryDpi) {
    HWND list = item(idFolders);
    ListBox& folders = form->listBox("lstFolders");
    EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS),
              LBS_OWNERDRAWFIXED | LBS_HASSTRINGS);
    wchar_t text[16] = {};
    SendMessageW(list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"    sub");
    // An image moves with its entry; a new entry has none.
    folders.insertItem(0, "new");
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 0, 0), static_cast<LRESULT>(ItemImage::None));
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 3, 0),
              static_cast<LRESULT>(ItemImage::ClosedFolder));
    folders.removeItem(0);

    const uint32_t background = [] {
        const COLORREF c = GetSysColor(COLOR_WINDOW);
        return static_cast<uint32_t>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
    }();
    for (const UINT dpi : {96u, 144u}) {
        SCOPED_TRACE(dpi);
        if (dpi != form->dpi()) {
            const int side = TwipsToPixels(6000, dpi);
            RECT suggested{10, 10, 10 + side, 10 + side};
            SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&suggested));
        }
        const int size = SystemMetricForDpi(SM_CXSMICON, dpi);
        EXPECT_GE(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), size) << "lines fit the images";
        const Line root = draw(0), tools = draw(1), sub = draw(2);
        const int rootStart = root.firstDrawnColumn(background);
        const int toolsStart = tools.firstDrawnColumn(background);
        const int subStart = sub.firstDrawnColumn(background);
        ASSERT_GE(rootStart, 0) << "nothing drawn";
        // Deeper entries start further right, and their images with them.
        EXPECT_GT(toolsStart, rootStart);
        EXPECT_GT(subStart, toolsStart);
        // The image's first three quarters: clear of the text after it.
        const int part = size - size / 4;
        EXPECT_EQ(root.columns(rootStart, part), tools.columns(toolsStart, part))
            << "the same image, open";
        EXPECT_NE(tools.columns(toolsStart, part), sub.columns(subStart, part))
            << "an open and a closed folder look the same";
    }
}

}  // namespace
