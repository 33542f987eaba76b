// A frame whose controls scroll inside it, and the editable combo box, against real controls.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "TestSupport.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/MessageLoop.h"
#include "platform/win32/Win32Form.h"

namespace {

constexpr int idArea = 3201, idAfter = 3202, idChoices = 3203, idList = 3204, idFirstRow = 3300;
constexpr int Rows = 15, RowTwips = 390, AreaTwips = 4 * RowTwips;

FormSpec ScrollingForm() {
    FormSpec form;
    form.name = "TavimeroScrollingTest";
    form.caption = "スクロールのテスト";
    form.clientWidthTwips = 6000;
    form.clientHeightTwips = 4200;
    form.font = {"ＭＳ ゴシック", 900};
    form.controls.push_back({"fraRows",
                             ControlKind::Frame,
                             "",
                             {0, 120, 5000, AreaTwips},
                             "",
                             0,
                             {},
                             idArea,
                             StyleScrolls});
    for (int row = 0; row < Rows; ++row) {
        form.controls.push_back({"txtRow" + std::to_string(row),
                                 ControlKind::TextBox,
                                 "行" + std::to_string(row),
                                 {120, row * RowTwips + 45, 3000, 300},
                                 "fraRows",
                                 1 + row,
                                 {},
                                 idFirstRow + row});
    }
    form.controls.push_back(
        {"cmdAfter", ControlKind::Button, "次", {120, 2000, 1200, 375}, "", 100, {}, idAfter});
    form.controls.push_back({"cboChoices",
                             ControlKind::ComboBox,
                             "",
                             {120, 2600, 3000, 300},
                             "",
                             101,
                             {},
                             idChoices,
                             StyleEditable});
    form.controls.push_back(
        {"cboList", ControlKind::ComboBox, "", {120, 3200, 3000, 300}, "", 102, {}, idList});
    return form;
}

class ScrollingFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        form = std::make_unique<Win32Form>(ScrollingForm(), false);
        window = form->window();
        area = GetDlgItem(window, idArea);
    }
    void TearDown() override {
        form.reset();
        PumpMessages();
    }
    HWND row(int index) const { return GetDlgItem(area, idFirstRow + index); }
    int px(int twips) const { return TwipsToPixels(twips, form->dpi()); }
    // Whether the control stands wholly inside the area's visible client rectangle.
    bool inView(HWND control) const {
        RECT view, rect;
        GetClientRect(area, &view);
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, area, reinterpret_cast<POINT*>(&rect), 2);
        return rect.top >= view.top && rect.bottom <= view.bottom;
    }
    int rowTop(int index) const {
        RECT rect;
        GetWindowRect(row(index), &rect);
        MapWindowPoints(nullptr, area, reinterpret_cast<POINT*>(&rect), 2);
        return rect.top;
    }
    void PressKey(HWND target, WPARAM key) {
        PostMessageW(target, WM_KEYDOWN, key, 1);
        PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
        PumpMessages();
    }

    std::unique_ptr<Win32Form> form;
    HWND window = nullptr;
    HWND area = nullptr;
};

TEST_F(ScrollingFormTest, TheRowsAreTheAreasOwnWindowsWithAScrollBarForWhatDoesNotFit) {
    ASSERT_NE(area, nullptr);
    for (int index = 0; index < Rows; ++index) ASSERT_EQ(GetParent(row(index)), area) << index;
    EXPECT_EQ(rowTop(0), px(45));
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(area, SB_VERT, &info));
    EXPECT_EQ(info.nMax + 1, px((Rows - 1) * RowTwips + 45 + 300));
    RECT view;
    GetClientRect(area, &view);
    EXPECT_EQ(static_cast<int>(info.nPage), view.bottom);
    EXPECT_TRUE(inView(row(0)));
    EXPECT_FALSE(inView(row(Rows - 1)));
    // The form still finds them by name, and their rectangles stay in twips of the area.
    EXPECT_EQ(form->textBox("txtRow3").text(), "行3");
    EXPECT_EQ(form->textBox("txtRow3").rect().top, 3 * RowTwips + 45);
}

TEST_F(ScrollingFormTest, TheScrollBarAndTheWheelMoveTheRows) {
    SendMessageW(area, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_TRUE(inView(row(Rows - 1)));
    EXPECT_FALSE(inView(row(0)));
    SendMessageW(area, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(rowTop(0), px(45));
    SendMessageW(area, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(rowTop(1), px(45));
    SendMessageW(area, WM_VSCROLL, SB_LINEUP, 0);
    SendMessageW(area, WM_VSCROLL, SB_LINEUP, 0);  // never past the top
    EXPECT_EQ(rowTop(0), px(45));
    // A wheel turned over a row scrolls the area it sits in.
    SendMessageW(row(0), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_LT(rowTop(0), px(45));
}

TEST_F(ScrollingFormTest, TheFocusedRowComesIntoViewAndTabLeavesTheAreaInOrder) {
    // Shown, the form gives the focus to the first control in tab order: the first row.
    form->show();
    PumpMessages();
    ASSERT_EQ(GetFocus(), row(0));
    for (int index = 1; index < Rows; ++index) {
        PressKey(GetFocus(), VK_TAB);
        ASSERT_EQ(GetFocus(), row(index)) << index;
        EXPECT_TRUE(inView(row(index))) << index;
    }
    PressKey(GetFocus(), VK_TAB);
    EXPECT_EQ(GetFocus(), GetDlgItem(window, idAfter));
    EXPECT_EQ(form->activeControlName(), "cmdAfter");
    // Back with Shift+Tab into the last row, and round from the last control to the first row.
    std::array<BYTE, 256> shift{};
    shift[VK_SHIFT] = 0x80;
    SetKeyboardState(shift.data());
    PressKey(GetFocus(), VK_TAB);
    SetKeyboardState(std::array<BYTE, 256>{}.data());
    EXPECT_EQ(GetFocus(), row(Rows - 1));
    SetFocus(GetDlgItem(window, idList));
    PressKey(GetFocus(), VK_TAB);
    EXPECT_EQ(GetFocus(), row(0));
    form->textBox("txtRow0").setFocus();
    EXPECT_TRUE(inView(row(0)));
}

TEST_F(ScrollingFormTest, ARowsNotificationsReachTheForm) {
    int changes = 0;
    form->textBox("txtRow2").onChange = [&] { ++changes; };
    SendMessageW(row(2), WM_CHAR, L'x', 1);  // typed by the user: the edit reports EN_CHANGE
    EXPECT_EQ(changes, 1);
}

TEST_F(ScrollingFormTest, AnEditableComboTakesTypedTextAndOffersItsEntries) {
    HWND box = GetDlgItem(window, idChoices);
    EXPECT_EQ(GetWindowLongW(box, GWL_STYLE) & 3, CBS_DROPDOWN);
    ComboBox& choices = form->comboBox("cboChoices");
    for (const char* entry : {"-o", "--output", "出力"}) choices.addItem(entry);
    struct Case {
        std::string set;
        int index;
    };
    // Only an entry of exactly the text is selected: the box's own search ignores letter case.
    for (const Case& c :
         {Case{"--output", 1}, Case{"--OUTPUT", -1}, Case{"--output=結果.txt", -1}, Case{"", -1}}) {
        choices.setText(c.set);
        EXPECT_EQ(choices.text(), c.set);
        EXPECT_EQ(choices.listIndex(), c.index) << c.set;
    }
    choices.setListIndex(2);
    EXPECT_EQ(choices.text(), "出力");

    // A drop-down list shows only its entries.
    ComboBox& list = form->comboBox("cboList");
    for (const char* entry : {"a:", "c:"}) list.addItem(entry);
    list.setText("c:");
    EXPECT_EQ(list.listIndex(), 1);
    EXPECT_EQ(list.text(), "c:");
    list.setText("z:");
    EXPECT_EQ(list.listIndex(), -1);
    EXPECT_EQ(list.text(), "");
}

}  // namespace
