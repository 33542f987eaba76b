// The control kinds against real controls: positions in twips, option groups, drop-down lists,
// timers, labels, text selections, mouse buttons, and a list that shows entries where it is told.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "TestSupport.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/MessageLoop.h"
#include "platform/win32/Win32Form.h"

namespace {

using namespace std::chrono_literals;

constexpr int idText = 3101, idList = 3102, idOther = 3103, idFrameA = 3104, idA1 = 3105,
              idA2 = 3106, idFrameB = 3107, idB1 = 3108, idB2 = 3109, idCombo = 3110,
              idLabel = 3111, idTimer = 3112, idInner = 3113;

FormSpec ControlsForm() {
    FormSpec form;
    form.name = "TavimeroControlsTest";
    form.caption = "コントロールのテスト";
    form.outerWidthTwips = 9000;
    form.outerHeightTwips = 7500;
    form.font = {"ＭＳ ゴシック", 900};
    // Option A2 comes late in the tab order on purpose: options of one frame still form a group.
    // clang-format off
    form.controls = {
        {"txtText", ControlKind::TextBox, "", {120, 120, 3000, 315}, "", 0, {}, idText},
        {"lstEntries", ControlKind::ListBox, "", {120, 600, 3000, 1500}, "", 1, {}, idList},
        {"lstOther", ControlKind::ListBox, "", {3300, 600, 3000, 1500}, "", 2, {}, idOther},
        {"fraA", ControlKind::Frame, "A", {120, 2400, 3000, 1200}, "", 3, {}, idFrameA},
        {"optA1", ControlKind::OptionButton, "A1", {120, 240, 1200, 300}, "fraA", 4, {}, idA1},
        {"fraB", ControlKind::Frame, "B", {3300, 2400, 3000, 1200}, "", 5, {}, idFrameB},
        {"optB1", ControlKind::OptionButton, "B1", {120, 240, 1200, 300}, "fraB", 6, {}, idB1},
        {"optB2", ControlKind::OptionButton, "B2", {120, 600, 1200, 300}, "fraB", 7, {}, idB2},
        {"optA2", ControlKind::OptionButton, "A2", {120, 600, 1200, 300}, "fraA", 8, {}, idA2},
        {"cboList", ControlKind::ComboBox, "", {120, 3900, 3000, 300}, "", 9, {}, idCombo},
        {"lblText", ControlKind::Label, "", {3300, 3900, 3000, 600}, "", 10, {}, idLabel},
        {"txtInner", ControlKind::TextBox, "", {1500, 240, 1200, 315}, "fraA", 11, {}, idInner},
        {"tmrTick", ControlKind::Timer, "", {}, "", 12, {}, idTimer},
    };
    // clang-format on
    return form;
}

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        form = std::make_unique<Win32Form>(ControlsForm(), false);
        window = form->window();
    }
    void TearDown() override {
        form.reset();
        PumpMessages();
    }

    HWND item(int id) const { return GetDlgItem(window, id); }
    // A control's rectangle in the client area of the form, in pixels.
    RECT pixels(int id) const {
        RECT rect;
        GetWindowRect(item(id), &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    int px(int twips) const { return TwipsToPixels(twips, form->dpi()); }

    std::unique_ptr<Win32Form> form;
    HWND window = nullptr;
};

TEST_F(ControlsTest, MoveAndRectSpeakTwipsRelativeToTheContainer) {
    struct Case {
        const char* name;
        int id;
        const char* frame;  // the container the rectangle is relative to
        TwipsRect moved;
    };
    const Case cases[] = {
        {"txtText", idText, nullptr, {240, 300, 2400, 330}},
        {"txtInner", idInner, "fraA", {600, 450, 1500, 315}},
        {"fraA", idFrameA, nullptr, {450, 2550, 3300, 1350}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Control& control =
            c.id == idFrameA ? static_cast<Control&>(form->frame(c.name)) : form->textBox(c.name);
        control.move(c.moved);
        EXPECT_EQ(control.rect(), c.moved);
        const TwipsRect origin = c.frame ? form->frame(c.frame).rect() : TwipsRect{};
        const RECT rect = pixels(c.id);
        EXPECT_EQ(rect.left, px(origin.left) + px(c.moved.left));
        EXPECT_EQ(rect.top, px(origin.top) + px(c.moved.top));
        EXPECT_EQ(rect.right - rect.left, px(c.moved.width));
        EXPECT_EQ(rect.bottom - rect.top, px(c.moved.height));
    }
    // The frame took what it holds along, and they keep their place in it.
    EXPECT_EQ(pixels(idA1).left, px(450) + px(120));
    EXPECT_EQ(pixels(idInner).top, px(2550) + px(450));
    EXPECT_EQ(form->textBox("txtInner").rect(), (TwipsRect{600, 450, 1500, 315}));
}

TEST_F(ControlsTest, ListHeightIsRoundedToWholeLines) {
    ListBox& list = form->listBox("lstEntries");
    HWND box = item(idList);
    const int line = static_cast<int>(SendMessageW(box, LB_GETITEMHEIGHT, 0, 0));
    ASSERT_GT(line, 0);
    for (const int asked : {1500, 1000, 2017, 3333}) {
        SCOPED_TRACE(asked);
        list.move({120, 600, 3000, asked});
        const TwipsRect taken = list.rect();
        RECT outer, client;
        GetWindowRect(box, &outer);
        GetClientRect(box, &client);
        EXPECT_EQ(taken.height, PixelsToTwips(outer.bottom - outer.top, form->dpi()));
        EXPECT_EQ(client.bottom % line, 0) << "whole lines only";
        EXPECT_LE(outer.bottom - outer.top, px(asked));
        EXPECT_GT(outer.bottom - outer.top, px(asked) - line);
        EXPECT_EQ(taken.width, 3000);
    }
}

TEST_F(ControlsTest, OptionButtonsChooseOneOfTheirContainer) {
    CheckBox& a1 = form->checkBox("optA1");
    CheckBox& a2 = form->checkBox("optA2");
    CheckBox& b1 = form->checkBox("optB1");
    std::vector<std::string> clicks;
    a1.onClick = [&] { clicks.push_back("A1"); };
    a2.onClick = [&] { clicks.push_back("A2"); };
    const auto values = [&] { return std::vector<int>{a1.value(), a2.value(), b1.value()}; };

    b1.setValue(1);
    a2.setValue(1);
    EXPECT_EQ(values(), std::vector<int>({0, 1, 1}));
    EXPECT_TRUE(clicks.empty()) << "setting the value is no click";
    SendMessageW(item(idA1), BM_CLICK, 0, 0);
    EXPECT_EQ(values(), std::vector<int>({1, 0, 1}));
    EXPECT_EQ(clicks, std::vector<std::string>{"A1"});

    // Each container is a group of its own, although A2 comes last in the tab order; Tab
    // enters it at the chosen option, an arrow key moves to the next option and chooses it.
    EXPECT_EQ(GetNextDlgGroupItem(window, item(idA1), FALSE), item(idA2));
    EXPECT_EQ(GetNextDlgGroupItem(window, item(idA2), FALSE), item(idA1));
    EXPECT_TRUE(GetWindowLongW(item(idA1), GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(GetWindowLongW(item(idA2), GWL_STYLE) & WS_TABSTOP);
    form->show();
    a1.setFocus();
    PostMessageW(item(idA1), WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_TRUE(WaitUntil([&] { return a2.value() == 1; }, 5s));
    EXPECT_TRUE(a2.hasFocus());
    EXPECT_EQ(values(), std::vector<int>({0, 1, 1}));
    EXPECT_EQ(clicks, (std::vector<std::string>{"A1", "A2"}));
}

TEST_F(ControlsTest, ComboReportsOnlyTheUsersChoice) {
    ComboBox& combo = form->comboBox("cboList");
    int changes = 0;
    combo.onChange = [&] { ++changes; };
    for (const char* entry : {"a: [ローカル]", "c: [システム]", "z: [ネット]"})
        combo.addItem(entry);
    EXPECT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.item(1), "c: [システム]");
    EXPECT_EQ(combo.item(7), "");
    EXPECT_EQ(combo.listIndex(), -1);

    combo.setListIndex(1);
    EXPECT_EQ(combo.listIndex(), 1);
    EXPECT_EQ(changes, 0);
    // The user moves down the closed list with the arrow key.
    SendMessageW(item(idCombo), WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(combo.listIndex(), 2);
    EXPECT_EQ(changes, 1);
    const LONG style = GetWindowLongW(item(idCombo), GWL_STYLE);
    EXPECT_EQ(style & 3, CBS_DROPDOWNLIST);
    combo.clear();
    EXPECT_EQ(combo.count(), 0);
}

TEST_F(ControlsTest, TimerFiresUntilStopped) {
    Timer& timer = form->timer("tmrTick");
    int ticks = 0;
    timer.onTimer = [&] { ++ticks; };
    timer.setInterval(30);
    EXPECT_EQ(timer.interval(), 30);
    EXPECT_TRUE(WaitUntil([&] { return ticks >= 2; }, 5s));

    timer.setInterval(0);
    const int stoppedAt = ticks;
    EXPECT_FALSE(WaitUntil([&] { return ticks > stoppedAt; }, 300ms));

    timer.setInterval(30);
    timer.setEnabled(false);
    EXPECT_FALSE(WaitUntil([&] { return ticks > stoppedAt; }, 300ms));
    timer.setEnabled(true);
    EXPECT_TRUE(WaitUntil([&] { return ticks > stoppedAt; }, 5s));
}

TEST_F(ControlsTest, TextsAreShownAndSelectionsReplacedAsOneChange) {
    // A label shows its lines, and an ampersand as it is (never as a mnemonic).
    Label& label = form->label("lblText");
    label.setCaption("種別： フリーウェア\r\n\r\nA & B");
    EXPECT_EQ(label.caption(), "種別： フリーウェア\r\n\r\nA & B");
    EXPECT_TRUE(GetWindowLongW(item(idLabel), GWL_STYLE) & SS_NOPREFIX);

    TextBox& box = form->textBox("txtText");
    box.setText("日本語abc");
    int changes = 0;
    box.onChange = [&] { ++changes; };

    box.setSelStart(1);
    box.setSelLength(3);
    EXPECT_EQ(box.selStart(), 1);
    EXPECT_EQ(box.selLength(), 3);
    EXPECT_EQ(box.selText(), "本語a");
    box.setSelLength(99);  // no further than the end
    EXPECT_EQ(box.selLength(), 5);
    EXPECT_EQ(box.selText(), "本語abc");

    box.setSelStart(1);
    box.setSelLength(3);
    box.setSelText("X");
    EXPECT_EQ(box.text(), "日Xbc");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(box.selStart(), 2);
    EXPECT_EQ(box.selLength(), 0);
    // Pasting at the caret inserts, and the user can undo it.
    box.setSelText("\U0002000B");
    EXPECT_EQ(box.text(), "日X\U0002000Bbc");
    EXPECT_EQ(changes, 2);
    EXPECT_NE(SendMessageW(item(idText), EM_CANUNDO, 0, 0), 0);
}

TEST_F(ControlsTest, MouseButtonsAndTheMenuKeyReachTheProgram) {
    TextBox& box = form->textBox("txtText");
    std::vector<int> buttons;
    box.onMouseDown = [&](int button) { buttons.push_back(button); };
    for (UINT message : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
        SendMessageW(item(idText), message, 0, MAKELPARAM(5, 5));
        SendMessageW(item(idText), message + 1, 0, MAKELPARAM(5, 5));  // the button goes up
    }
    EXPECT_EQ(buttons, (std::vector<int>{1, 2, 4}));

    // The control's own menu would run a menu loop, which takes the waiting Esc key.
    struct Case {
        LPARAM where;  // -1: the menu key
        bool handler;
        std::vector<int> reported;
        bool ownMenu;
    };
    const Case cases[] = {
        {MAKELPARAM(20, 20), true, {}, false},
        {-1, true, {2}, false},
        {-1, false, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.where) + (c.handler ? " with handler" : " without"));
        buttons.clear();
        if (!c.handler) box.onMouseDown = nullptr;
        box.setFocus();
        PostMessageW(item(idText), WM_KEYDOWN, VK_ESCAPE, 1);
        SendMessageW(item(idText), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(item(idText)), c.where);
        MSG waiting;
        const bool escapeLeft =
            PeekMessageW(&waiting, item(idText), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
        EXPECT_EQ(!escapeLeft, c.ownMenu);
        EXPECT_EQ(buttons, c.reported);
    }
}

TEST_F(ControlsTest, DisablingAndEnablingKeepsTheFocus) {
    form->show();
    TextBox& box = form->textBox("txtText");
    box.setFocus();
    box.setEnabled(false);
    EXPECT_FALSE(box.hasFocus());
    box.setEnabled(true);
    EXPECT_TRUE(box.hasFocus());
    EXPECT_EQ(form->activeControlName(), "txtText");
    form->listBox("lstEntries").setFocus();
    EXPECT_EQ(form->activeControlName(), "lstEntries");
}

// ---- the list

std::vector<std::string> Items(const ListBox& list) {
    std::vector<std::string> items;
    for (int i = 0; i < list.count(); ++i) items.push_back(list.item(i));
    return items;
}

TEST_F(ControlsTest, TheListShowsEntriesWhereTheyArePutAndKeepsTheSelection) {
    ListBox& list = form->listBox("lstEntries");
    int clicks = 0;
    list.onClick = [&] { ++clicks; };
    list.addItems(std::vector<std::string>{"b", "d", "echo 日本"});
    list.addItem("f");
    // Only the user's choice is a click.
    list.setListIndex(0);
    SendMessageW(item(idList), WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(list.listIndex(), 1);
    EXPECT_EQ(clicks, 1);

    list.insertItem(0, "a");
    list.insertItem(2, "c");
    list.insertItem(5, "e");
    EXPECT_EQ(Items(list), (std::vector<std::string>{"a", "b", "c", "d", "echo 日本", "e", "f"}));
    EXPECT_EQ(list.item(list.listIndex()), "d");  // the selection stays on its entry
    EXPECT_EQ(clicks, 1);
    // Other programs read what the list shows.
    wchar_t shown[16] = {};
    SendMessageW(item(idList), LB_GETTEXT, 4, reinterpret_cast<LPARAM>(shown));
    EXPECT_STREQ(shown, L"echo 日本");

    list.removeItem(list.listIndex());
    EXPECT_EQ(list.listIndex(), -1);
    EXPECT_EQ(list.count(), 6);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.item(0), "");
}

TEST_F(ControlsTest, AHundredThousandEntriesGoInAtOnce) {
    ListBox& list = form->listBox("lstEntries");
    std::vector<std::string> entries;
    for (int i = 0; i < 100000; ++i) entries.push_back("echo " + std::to_string(i));
    entries[70000] = "echo 日本語 \U0002000B";
    list.addItems(entries);
    list.addItems(std::vector<std::string>{"最後"});  // a single line after a large batch
    ASSERT_EQ(list.count(), 100001);
    EXPECT_EQ(list.item(0), "echo 0");
    EXPECT_EQ(list.item(70000), "echo 日本語 \U0002000B");
    EXPECT_EQ(list.item(99999), "echo 99999");
    EXPECT_EQ(list.item(100000), "最後");
    EXPECT_EQ(SendMessageW(item(idList), LB_GETCOUNT, 0, 0), 100001);
    list.setTopIndex(500);
    EXPECT_EQ(list.topIndex(), 500);
}

}  // namespace
