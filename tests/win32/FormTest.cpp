#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "TestSupport.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/MessageLoop.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Form.h"

namespace {

constexpr int idMulti = 2001, idList = 2002, idFrame = 2003, idCheck = 2004, idDefault = 2005,
              idOther = 2006, idSingle = 2007;

const FontSpec kFormFont{"ＭＳ ゴシック", 900};

FormSpec TestForm() {
    FormSpec form;
    form.name = "TavimeroTestForm";
    form.caption = "フォームのテスト";
    form.outerWidthTwips = 6000;
    form.outerHeightTwips = 6000;
    form.font = kFormFont;
    // Listed out of tab order on purpose: the controls are created in tab order.
    // clang-format off
    form.controls = {
        {"txtSingle", ControlKind::TextBox, "一行", {120, 4200, 3000, 315}, "", 6, {}, idSingle},
        {"fraBox", ControlKind::Frame, "", {150, 2700, 4000, 1000}, "", 2, {}, idFrame,
         StyleNoCaption},
        {"txtMulti", ControlKind::TextBox, "", {120, 240, 3000, 900}, "", 0, {}, idMulti,
         StyleMultiLine | StyleVScroll},
        {"lstEntries", ControlKind::ListBox, "", {120, 1200, 3000, 1200}, "", 1, {"Arial", 1200},
         idList},
        {"chbOption", ControlKind::CheckBox, "追加する(&A)", {240, 60, 2000, 240}, "fraBox", 3, {},
         idCheck},
        {"cmdDefault", ControlKind::Button, "入力(&I)", {240, 420, 1200, 375}, "fraBox", 4, {},
         idDefault, StyleDefaultButton},
        {"cmdOther", ControlKind::Button, "クリア(&C)", {1600, 420, 1200, 375}, "fraBox", 5, {},
         idOther, StyleCancelButton},
    };
    // clang-format on
    return form;
}

class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        form = std::make_unique<Win32Form>(TestForm(), false);
        window = form->window();
        dpi = DpiForWindow(window);
        form->button("cmdDefault").onClick = [this] { ++defaultClicks; };
        form->button("cmdOther").onClick = [this] { ++otherClicks; };
    }

    void TearDown() override {
        SetKeys({});
        form.reset();
        PumpMessages();
    }

    HWND item(int id) const { return GetDlgItem(window, id); }

    RECT clientRect(int id) const {
        RECT rect;
        GetWindowRect(item(id), &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    int px(int twips) const { return TwipsToPixels(twips, dpi); }

    // Sets the keys this thread sees as held down.
    static void SetKeys(std::initializer_list<int> held) {
        BYTE state[256] = {};
        for (int key : held) state[key] = 0x80;
        SetKeyboardState(state);
    }

    // Posts a key press to a control, as the keyboard would, and lets the loop handle it.
    void PressKey(HWND target, WPARAM key) {
        PostMessageW(target, WM_KEYDOWN, key, 1);
        PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
        PumpMessages();
    }

    void ShowWithFocusOn(const std::string& name) {
        form->show();
        form->textBox(name).setFocus();
        PumpMessages();
        ASSERT_TRUE(form->textBox(name).hasFocus());
    }

    std::unique_ptr<Win32Form> form;
    HWND window = nullptr;
    UINT dpi = 96;
    int defaultClicks = 0;
    int otherClicks = 0;
};

// A list fits its height to whole lines when it is sized, in the font it has then: it is made
// before its font is set, and must still show whole lines of its own font, not the system's.
TEST_F(FormTest, AListShowsWholeLinesOfItsOwnFont) {
    HWND list = item(idList);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    const int line = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(line, metrics.tmHeight);
    RECT inside{};
    GetClientRect(list, &inside);
    ASSERT_GT(line, 0);
    EXPECT_EQ(inside.bottom % line, 0) << "client height " << inside.bottom << ", line " << line;
    // Shortened by less than a line from what the table asks.
    const RECT outer = clientRect(idList);
    EXPECT_GT(outer.bottom - outer.top, px(1200) - line);
    EXPECT_LE(outer.bottom - outer.top, px(1200));
}

TEST_F(FormTest, ControlsSitAtTheirTwipsPositionsForTheDpi) {
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, px(6000));
    EXPECT_EQ(outer.bottom - outer.top, px(6000));

    struct Case {
        int id;
        int left, top, width, height;  // -1: the control chooses (a list shows whole lines)
    };
    const int frameLeft = px(150), frameTop = px(2700);
    const Case cases[] = {
        {idMulti, px(120), px(240), px(3000), px(900)},
        {idList, px(120), px(1200), px(3000), -1},
        {idFrame, frameLeft, frameTop, px(4000), px(1000)},
        {idCheck, frameLeft + px(240), frameTop + px(60), px(2000), px(240)},
        {idDefault, frameLeft + px(240), frameTop + px(420), px(1200), px(375)},
        {idOther, frameLeft + px(1600), frameTop + px(420), px(1200), px(375)},
        {idSingle, px(120), px(4200), px(3000), px(315)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        ASSERT_NE(item(c.id), nullptr);
        // Children of the form itself, so that their notifications reach it.
        EXPECT_EQ(GetParent(item(c.id)), window);
        const RECT rect = clientRect(c.id);
        EXPECT_EQ(rect.left, c.left);
        EXPECT_EQ(rect.top, c.top);
        EXPECT_EQ(rect.right - rect.left, c.width);
        if (c.height >= 0) {
            EXPECT_EQ(rect.bottom - rect.top, c.height);
        }
    }
}

TEST_F(FormTest, StylesThatKeyboardHandlingDependsOn) {
    struct Case {
        int id;
        LONG required;
        LONG absent;
    };
    const Case cases[] = {
        // Without ES_WANTRETURN Enter reaches the default button.
        {idMulti, ES_MULTILINE | WS_VSCROLL | WS_TABSTOP, ES_WANTRETURN},
        {idSingle, ES_AUTOHSCROLL | WS_TABSTOP, ES_MULTILINE},
        // The adapter sorts (ListTest); LBS_SORT would place entries by the control's own rule.
        {idList, LBS_NOTIFY | WS_TABSTOP, LBS_NOINTEGRALHEIGHT | LBS_SORT},
        {idFrame, BS_GROUPBOX | WS_GROUP, WS_TABSTOP},
        {idDefault, BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
        {idCheck, BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const LONG style = GetWindowLongW(item(c.id), GWL_STYLE);
        EXPECT_EQ(style & c.required, c.required);
        EXPECT_EQ(style & c.absent, 0);
    }
    wchar_t caption[64] = {};
    GetWindowTextW(item(idFrame), caption, 64);
    EXPECT_STREQ(caption, L"");
}

TEST_F(FormTest, TabGoesThroughTheControlsInTabOrder) {
    const int expected[] = {idMulti, idList, idCheck, idDefault, idOther, idSingle, idMulti};
    HWND current = nullptr;
    for (int id : expected) {
        current = GetNextDlgTabItem(window, current, FALSE);
        ASSERT_NE(current, nullptr);
        EXPECT_EQ(GetDlgCtrlID(current), id);
    }
}

TEST_F(FormTest, FontsFollowTheTableAndTheDpi) {
    const std::pair<int, FontSpec> cases[] = {{idMulti, kFormFont}, {idList, {"Arial", 1200}}};
    for (const auto& [id, font] : cases) {
        SCOPED_TRACE(id);
        LOGFONTW logFont{};
        auto handle = reinterpret_cast<HFONT>(SendMessageW(item(id), WM_GETFONT, 0, 0));
        ASSERT_NE(handle, nullptr);
        GetObjectW(handle, sizeof logFont, &logFont);
        EXPECT_EQ(logFont.lfHeight, FontHeight(font.hundredthsOfPoint, dpi));
        EXPECT_EQ(ToUtf8(logFont.lfFaceName), font.face);
    }
}

TEST_F(FormTest, DpiChangeLaysTheControlsOutAgain) {
    const UINT newDpi = dpi * 2;
    RECT suggested{10, 10, 10 + TwipsToPixels(6000, newDpi), 10 + TwipsToPixels(6000, newDpi)};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi),
                 reinterpret_cast<LPARAM>(&suggested));
    dpi = newDpi;
    const RECT button = clientRect(idDefault);
    EXPECT_EQ(button.left, px(150) + px(240));
    EXPECT_EQ(button.top, px(2700) + px(420));
    EXPECT_EQ(button.right - button.left, px(1200));
    LOGFONTW logFont{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(item(idMulti), WM_GETFONT, 0, 0)),
               sizeof logFont, &logFont);
    EXPECT_EQ(logFont.lfHeight, FontHeight(900, newDpi));
}


TEST_F(FormTest, EveryTextSetReportsOneChangeAtOnce) {
    // A multi-line edit control sends no EN_CHANGE for WM_SETTEXT, a single-line one does.
    for (const auto& [name, id] :
         {std::pair{"txtMulti", idMulti}, std::pair{"txtSingle", idSingle}}) {
        SCOPED_TRACE(name);
        TextBox& box = form->textBox(name);
        std::vector<std::string> seen;
        box.onChange = [&] { seen.push_back(box.text()); };

        box.setText("日本語 \U0002000B");
        box.setText("日本語 \U0002000B");  // the same text again is still a change
        // WM_SETTEXT from outside the program, as another program or a test driver sends it.
        SendMessageW(item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"外から"));
        EXPECT_EQ(seen,
                  (std::vector<std::string>{"日本語 \U0002000B", "日本語 \U0002000B", "外から"}));
    }
}

TEST_F(FormTest, ABoxWithAScrollBarIsDrawnOnceAfterItsTextChanged) {
    ShowWithFocusOn("txtMulti");
    TextBox& box = form->textBox("txtMulti");
    HWND multi = item(idMulti);
    std::string lines;
    for (int i = 0; i < 30; ++i) lines += "行 " + std::to_string(i) + "\r\n";
    RECT pending{};
    for (const std::function<void()>& change :
         {std::function<void()>([&] { box.setText(lines); }),
          std::function<void()>([&] { box.setSelText("追加\r\n"); }),
          std::function<void()>([&] { box.setText(""); })}) {
        change();
        EXPECT_TRUE(IsWindowVisible(multi));
        EXPECT_TRUE(GetUpdateRect(multi, &pending, FALSE));  // drawn by the loop, not during
        PumpMessages();
        EXPECT_FALSE(GetUpdateRect(multi, &pending, FALSE));
    }
    // The scroll bar was kept up to date all the same.
    box.setText(lines);
    SCROLLINFO range{};
    range.cbSize = sizeof range;
    range.fMask = SIF_RANGE | SIF_PAGE;
    ASSERT_TRUE(GetScrollInfo(multi, SB_VERT, &range));
    EXPECT_GT(range.nMax - range.nMin + 1, static_cast<int>(range.nPage));
    EXPECT_TRUE(box.hasFocus());
}

TEST_F(FormTest, SelectionCountsUtf16Units) {
    TextBox& box = form->textBox("txtSingle");
    box.setText("a\U0002000Bbc");
    SendMessageW(item(idSingle), EM_SETSEL, 1, 4);
    EXPECT_EQ(box.selStart(), 1);
    EXPECT_EQ(box.selLength(), 3);
    box.setSelStart(5);
    EXPECT_EQ(box.selStart(), 5);
    EXPECT_EQ(box.selLength(), 0);
    box.setSelStart(1);
    box.moveCaretToEnd();
    EXPECT_EQ(box.selStart(), 5);
    EXPECT_EQ(box.selLength(), 0);
}

TEST_F(FormTest, ButtonsClickOnlyWhenEnabled) {
    Button& button = form->button("cmdOther");
    button.click();
    SendMessageW(item(idOther), BM_CLICK, 0, 0);
    EXPECT_EQ(otherClicks, 2);
    button.setEnabled(false);
    button.click();
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(idOther, BN_CLICKED),
                 reinterpret_cast<LPARAM>(item(idOther)));
    EXPECT_EQ(otherClicks, 2);
}

TEST_F(FormTest, CheckBoxReportsClicksAndKeepsItsValue) {
    CheckBox& check = form->checkBox("chbOption");
    int clicks = 0;
    check.onClick = [&] { ++clicks; };
    SendMessageW(item(idCheck), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(check.value(), 1);
    check.setValue(0);
    EXPECT_EQ(check.value(), 0);
}

TEST_F(FormTest, DefaultButtonIsWhatTheDialogManagerAsks) {
    auto defId = [&] { return static_cast<DWORD>(SendMessageW(window, DM_GETDEFID, 0, 0)); };
    auto isDefPush = [&](int id) {
        return (GetWindowLongW(item(id), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    };
    EXPECT_EQ(defId(), static_cast<DWORD>(MAKELONG(idDefault, DC_HASDEFID)));
    EXPECT_TRUE(form->button("cmdDefault").isDefault());

    form->button("cmdOther").setDefault(true);
    EXPECT_EQ(defId(), static_cast<DWORD>(MAKELONG(idOther, DC_HASDEFID)));
    EXPECT_TRUE(isDefPush(idOther));
    EXPECT_FALSE(isDefPush(idDefault));
    EXPECT_FALSE(form->button("cmdDefault").isDefault());

    form->button("cmdOther").setDefault(false);
    EXPECT_EQ(HIWORD(defId()), 0);
    EXPECT_FALSE(isDefPush(idOther));
}

TEST_F(FormTest, EnterAndEscPressTheirButtonsWhereverTheFocusIs) {
    struct Case {
        const char* focus;
        WPARAM key;
        int defaultClicks;
        int cancelClicks;
    };
    const Case cases[] = {
        {"txtMulti", VK_RETURN, 1, 0},  // Enter does not break the line here
        {"txtSingle", VK_RETURN, 1, 0},
        {"txtMulti", VK_ESCAPE, 0, 1},
        {"txtSingle", VK_ESCAPE, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.focus) + (c.key == VK_RETURN ? " Enter" : " Esc"));
        defaultClicks = otherClicks = 0;
        ShowWithFocusOn(c.focus);
        form->textBox(c.focus).setText("dir");
        PressKey(item(GetDlgCtrlID(GetFocus())), c.key);
        WaitUntil([&] { return defaultClicks + otherClicks > 0; }, std::chrono::seconds(5));
        PumpMessages();
        EXPECT_EQ(defaultClicks, c.defaultClicks);
        EXPECT_EQ(otherClicks, c.cancelClicks);
        EXPECT_EQ(form->textBox(c.focus).text(), "dir");
        EXPECT_TRUE(form->textBox(c.focus).hasFocus());
    }
}

TEST_F(FormTest, EnterPressesTheFocusedButtonWhileItHasTheFocus) {
    auto isDefPush = [&](int id) {
        return (GetWindowLongW(item(id), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    };
    form->show();
    form->button("cmdOther").setFocus();
    EXPECT_TRUE(isDefPush(idOther));
    EXPECT_FALSE(isDefPush(idDefault));
    PressKey(item(idOther), VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return otherClicks == 1; }, std::chrono::seconds(5)));
    EXPECT_EQ(defaultClicks, 0);

    form->textBox("txtSingle").setFocus();
    EXPECT_TRUE(isDefPush(idDefault));
    EXPECT_FALSE(isDefPush(idOther));
    PressKey(item(idSingle), VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return defaultClicks == 1; }, std::chrono::seconds(5)));
    EXPECT_EQ(otherClicks, 1);
}

TEST_F(FormTest, TabKeyMovesTheFocusInTabOrder) {
    struct Case {
        const char* from;
        std::initializer_list<int> held;
        int to;
    };
    const Case cases[] = {
        {"txtMulti", {}, idList},
        {"txtSingle", {}, idMulti},  // round to the first
        {"txtMulti", {VK_SHIFT}, idSingle},
        {"txtSingle", {VK_SHIFT}, idOther},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.from) + (c.held.size() ? " with Shift" : ""));
        ShowWithFocusOn(c.from);
        SetKeys(c.held);
        PressKey(GetFocus(), VK_TAB);
        SetKeys({});
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), c.to);
        EXPECT_EQ(form->textBox(c.from).text().find('\t'), std::string::npos);
    }
}

TEST_F(FormTest, CtrlEnterBreaksTheLineInstead) {
    ShowWithFocusOn("txtMulti");
    TextBox& box = form->textBox("txtMulti");
    box.setText("dir");
    box.setSelStart(3);
    SetKeys({VK_CONTROL, VK_LCONTROL});
    PressKey(item(idMulti), VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return box.text() == "dir\r\n"; }, std::chrono::seconds(5)))
        << box.text();
    EXPECT_EQ(defaultClicks, 0);
}

TEST_F(FormTest, EnterDoesNothingWhileTheDefaultButtonIsDisabled) {
    ShowWithFocusOn("txtSingle");
    form->button("cmdDefault").setEnabled(false);
    PressKey(item(idSingle), VK_RETURN);
    PumpMessages();
    EXPECT_EQ(defaultClicks, 0);
}

TEST_F(FormTest, KeyDownReportsKeyAndShiftStateBeforeTheControlActs) {
    struct Case {
        std::initializer_list<int> held;
        int shift;
    };
    const Case cases[] = {{{}, 0}, {{VK_SHIFT}, 1}, {{VK_CONTROL}, 2}, {{VK_SHIFT, VK_CONTROL}, 3}};
    TextBox& box = form->textBox("txtSingle");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shift);
        std::vector<std::pair<int, int>> seen;
        box.onKeyDown = [&](int key, int shift) { seen.emplace_back(key, shift); };
        SetKeys(c.held);
        SendMessageW(item(idSingle), WM_KEYDOWN, VK_DELETE, 1);
        EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{VK_DELETE, c.shift}}));
    }
}

TEST_F(FormTest, FocusChangesReportGotFocus) {
    form->show();
    int listFocus = 0;
    form->listBox("lstEntries").onGotFocus = [&] { ++listFocus; };
    form->listBox("lstEntries").setFocus();
    EXPECT_EQ(listFocus, 1);
    EXPECT_TRUE(form->listBox("lstEntries").hasFocus());
    EXPECT_FALSE(form->textBox("txtMulti").hasFocus());
}

TEST_F(FormTest, ForeColourPaintsWithTheSystemColour) {
    const std::pair<SystemColour, int> cases[] = {
        {SystemColour::ActiveCaption, COLOR_ACTIVECAPTION},
        {SystemColour::WindowText, COLOR_WINDOWTEXT}};
    for (const auto& [colour, index] : cases) {
        SCOPED_TRACE(index);
        form->textBox("txtSingle").setForeColour(colour);
        HDC dc = GetDC(item(idSingle));
        SetTextColor(dc, RGB(1, 2, 3));
        SendMessageW(window, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(item(idSingle)));
        EXPECT_EQ(GetTextColor(dc), GetSysColor(index));
        ReleaseDC(item(idSingle), dc);
    }
}

TEST_F(FormTest, CloseAsksTheFormFirst) {
    bool keepOpen = true;
    int asked = 0;
    form->onQueryUnload = [&] {
        ++asked;
        return keepOpen;
    };
    form->close();
    EXPECT_TRUE(IsWindow(window));
    keepOpen = false;
    form->close();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(asked, 2);
}

TEST_F(FormTest, ShowingActivatesTheFormAndFocusesTheFirstControl) {
    int activations = 0;
    form->onActivate = [&] { ++activations; };
    form->show();
    EXPECT_TRUE(WaitUntil([&] { return activations >= 1; }, std::chrono::seconds(5)));
    EXPECT_TRUE(form->textBox("txtMulti").hasFocus());
}

TEST_F(FormTest, TheFirstShowIsReportedOnceFromTheLoopAfterThePaint) {
    int shown = 0;
    bool paintedBefore = false;
    form->onShown = [&] {
        ++shown;
        RECT pending{};
        paintedBefore = !GetUpdateRect(window, &pending, FALSE);
    };
    form->show();
    EXPECT_EQ(shown, 0);  // not from within show()
    PumpMessages();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(paintedBefore);
    form->show();
    PumpMessages();
    EXPECT_EQ(shown, 1);
}

TEST_F(FormTest, HandlerExceptionSurfacesFromTheLoop) {
    form->button("cmdOther").onClick = [] { throw std::runtime_error("from the handler"); };
    PostMessageW(item(idOther), BM_CLICK, 0, 0);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, item(idOther), 0, 0, PM_REMOVE));
    EXPECT_THROW(ProcessMessage(message), std::runtime_error);
    // Handled once: the next message is not affected.
    PostMessageW(window, WM_NULL, 0, 0);
    EXPECT_NO_THROW(PumpMessages());
}

TEST_F(FormTest, TheLoopReportsAFailedHandlerAndGoesOn) {
    int clicks = 0;
    form->button("cmdOther").onClick = [&] {
        if (++clicks == 1) throw std::bad_alloc();
    };
    PostMessageW(item(idOther), BM_CLICK, 0, 0);
    PostMessageW(item(idOther), BM_CLICK, 0, 0);
    PostQuitMessage(7);
    std::vector<std::string> reported;
    EXPECT_EQ(RunMessageLoop([&](const std::exception& error) { reported.push_back(error.what()); }), 7);
    EXPECT_EQ(reported.size(), 1u);
    EXPECT_EQ(clicks, 2);  // the second click came after the failure
}

// The system asks on a sent message, behind which nothing is posted: a failed answer keeps the
// session and is reported by the loop's next turn all the same.
TEST_F(FormTest, AFailedEndOfSessionQuestionKeepsTheSessionAndIsReported) {
    struct Case {
        const char* what;
        std::function<bool()> handler;
        LRESULT answer;
        std::size_t reports;
    };
    const Case cases[] = {
        {"it may end", [] { return true; }, TRUE, 0},
        {"the user keeps it", [] { return false; }, FALSE, 0},
        {"the handler fails", []() -> bool { throw std::bad_alloc(); }, FALSE, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form->onQueryEndSession = c.handler;
        EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), c.answer);
        PostQuitMessage(0);
        std::size_t reports = 0;
        RunMessageLoop([&](const std::exception&) { ++reports; });
        EXPECT_EQ(reports, c.reports);
    }
}

TEST_F(FormTest, ControlsAreFoundByNameAndKind) {
    EXPECT_NO_THROW(form->frame("fraBox"));
    EXPECT_THROW(form->button("txtMulti"), std::out_of_range);
    EXPECT_THROW(form->textBox("nothing"), std::out_of_range);
}

TEST(FormFactoryTest, OnlyTheFirstFormEndsTheLoop) {
    auto countQuits = [] {
        int quits = 0;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            if (message.message == WM_QUIT) ++quits;
        return quits;
    };
    countQuits();
    Win32FormFactory factory;
    auto main = factory.create(TestForm());
    auto second = factory.create(TestForm());
    second.reset();
    EXPECT_EQ(countQuits(), 0);
    main.reset();
    EXPECT_EQ(countQuits(), 1);
}

}  // namespace
