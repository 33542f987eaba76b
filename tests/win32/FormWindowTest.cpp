// Forms as windows: modal showing, dialog borders and client sizes, sizes in twips, icons,
// captions, and keyboard handling in a second, modeless form.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <tuple>

#include "TestSupport.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/MessageLoop.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Form.h"

namespace {

using namespace std::chrono_literals;

constexpr int idName = 3401, idOk = 3402, idCancel = 3403;

FormSpec OwnerForm() {
    FormSpec form;
    form.name = "TavimeroOwnerTest";
    form.caption = "持ち主";
    form.outerWidthTwips = 6000;
    form.outerHeightTwips = 4500;
    form.controls = {
        {"txtName", ControlKind::TextBox, "", {120, 120, 3000, 315}, "", 0, {}, idName}};
    return form;
}

FormSpec DialogForm() {
    FormSpec form;
    form.name = "TavimeroDialogTest";
    form.caption = "ダイアログ";
    form.clientWidthTwips = 4500;
    form.clientHeightTwips = 2250;
    form.sizable = false;
    form.controls = {
        {"txtName", ControlKind::TextBox, "", {120, 120, 3000, 315}, "", 0, {}, idName},
        {"cmdOk",
         ControlKind::Button,
         "OK",
         {120, 1500, 1335, 375},
         "",
         1,
         {},
         idOk,
         StyleDefaultButton},
        {"cmdCancel",
         ControlKind::Button,
         "キャンセル",
         {1560, 1500, 1335, 375},
         "",
         2,
         {},
         idCancel,
         StyleCancelButton},
    };
    return form;
}

class FormWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        owner = std::make_unique<Win32Form>(OwnerForm(), false);
        makeDialog();
    }
    void makeDialog() {
        dialog = std::make_unique<Win32Form>(DialogForm(), false);
        dialogWindow = dialog->window();
        for (const char* name : {"cmdOk", "cmdCancel"}) {
            dialog->button(name).onClick = [this, name] {
                clicked.push_back(name);
                dialog->close();
            };
        }
    }
    void TearDown() override {
        dialog.reset();
        owner.reset();
        PumpMessages();
    }
    int px(int twips) const { return TwipsToPixels(twips, dialog->dpi()); }

    std::unique_ptr<Win32Form> owner;
    std::unique_ptr<Win32Form> dialog;
    HWND dialogWindow = nullptr;
    std::vector<std::string> clicked;
};

TEST_F(FormWindowTest, ModalDialogHoldsItsOwnerUntilAKeyClosesIt) {
    struct Case {
        WPARAM key;
        const char* pressed;
    };
    for (const Case& c : {Case{VK_ESCAPE, "cmdCancel"}, Case{VK_RETURN, "cmdOk"}}) {
        SCOPED_TRACE(c.pressed);
        makeDialog();
        clicked.clear();
        owner->show();
        bool ownerEnabled = true;
        HWND ownedBy = nullptr;
        dialog->onActivate = [&] {
            ownerEnabled = IsWindowEnabled(owner->window()) != FALSE;
            ownedBy = GetWindow(dialogWindow, GW_OWNER);
            // The key goes to the focused control, through the modal loop's dialog handling.
            PostMessageW(GetFocus(), WM_KEYDOWN, c.key, 1);
        };
        dialog->showModal(*owner);
        EXPECT_FALSE(ownerEnabled);
        EXPECT_EQ(ownedBy, owner->window());
        EXPECT_EQ(clicked, std::vector<std::string>{c.pressed});
        EXPECT_FALSE(IsWindow(dialogWindow));
        EXPECT_TRUE(IsWindowEnabled(owner->window()));
        EXPECT_EQ(GetActiveWindow(), owner->window());
    }
}

TEST_F(FormWindowTest, CloseBoxOfAModalDialogAsksFirst) {
    owner->show();
    int asked = 0;
    dialog->onQueryUnload = [&] { return ++asked == 1; };  // the first time it stays open
    dialog->onActivate = [&] {
        PostMessageW(dialogWindow, WM_CLOSE, 0, 0);
        PostMessageW(dialogWindow, WM_CLOSE, 0, 0);
    };
    dialog->showModal(*owner);
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(IsWindow(dialogWindow));
    EXPECT_TRUE(IsWindowEnabled(owner->window()));
}

// A handler that fails while a modal dialog is up is reported there, and the dialog stays open
// for the user to go on: its loop neither ends nor lets the failure close it.
TEST_F(FormWindowTest, AFailureInAModalDialogIsReportedAndTheDialogStays) {
    std::vector<std::string> reported;
    const FailureReporter report = [&](const std::exception& error) {
        reported.push_back(error.what());
        EXPECT_TRUE(IsWindowVisible(dialogWindow)) << "the dialog is up while the failure is told";
    };
    ScopedFailureReporter reporter(report);
    owner->show();
    dialog->textBox("txtName").onChange = [] { throw std::runtime_error("名前を扱えません"); };
    dialog->onActivate = [&] {
        PostMessageW(GetDlgItem(dialogWindow, idName), WM_CHAR, L'a', 1);
        PostMessageW(GetDlgItem(dialogWindow, idName), WM_CHAR, L'b', 1);
        PostMessageW(GetDlgItem(dialogWindow, idOk), BM_CLICK, 0, 0);
    };
    dialog->showModal(*owner);
    EXPECT_EQ(reported, (std::vector<std::string>{"名前を扱えません", "名前を扱えません"}));
    EXPECT_EQ(clicked, std::vector<std::string>{"cmdOk"}) << "the dialog went on after the failures";
    EXPECT_FALSE(IsWindow(dialogWindow));
    EXPECT_TRUE(IsWindowEnabled(owner->window()));
}

// Taking the activation back for a window whose modal dialog is up (a prompt's window that
// took it while the dialog was opened) activates the dialog: the window itself takes no input.
std::function<void()> gTimerStep;
void CALLBACK RunTimerStep(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (gTimerStep) gTimerStep();
}

TEST_F(FormWindowTest, ActivatingAWindowWhoseModalDialogIsUpActivatesTheDialog) {
    owner->show();
    HWND activeAfter = nullptr;
    int activations = 0;
    gTimerStep = [&] {
        owner->activate();
        activeAfter = GetActiveWindow();
        PostMessageW(dialogWindow, WM_CLOSE, 0, 0);
    };
    dialog->onActivate = [&] {
        if (++activations == 1) SetTimer(nullptr, 0, 10, RunTimerStep);
    };
    dialog->showModal(*owner);
    gTimerStep = nullptr;
    EXPECT_EQ(activeAfter, dialogWindow);
    EXPECT_EQ(GetActiveWindow(), owner->window());
}

TEST_F(FormWindowTest, DialogHasAFixedBorderAndTheClientSizeAsked) {
    const LONG style = GetWindowLongW(dialogWindow, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    RECT client{};
    GetClientRect(dialogWindow, &client);
    EXPECT_EQ(client.right, px(4500));
    EXPECT_EQ(client.bottom, px(2250));
    EXPECT_TRUE(GetWindowLongW(owner->window(), GWL_STYLE) & WS_THICKFRAME);
}

TEST_F(FormWindowTest, SizesAreTwipsAndEveryChangeIsReported) {
    int resized = 0;
    owner->onResize = [&] { ++resized; };
    owner->show();
    EXPECT_GE(resized, 1) << "the first layout comes with the first showing";
    const auto roundTrip = [&](int twips) {
        return PixelsToTwips(TwipsToPixels(twips, owner->dpi()), owner->dpi());
    };
    EXPECT_EQ(owner->widthTwips(), roundTrip(6000));
    EXPECT_EQ(owner->heightTwips(), roundTrip(4500));

    resized = 0;
    owner->setSizeTwips(7500, 6000);
    EXPECT_GE(resized, 1);
    EXPECT_EQ(owner->widthTwips(), roundTrip(7500));
    EXPECT_EQ(owner->heightTwips(), roundTrip(6000));

    // The client area is what the frame and caption leave of that, at the window's DPI.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectForDpi(frame, WS_OVERLAPPEDWINDOW, false, WS_EX_CONTROLPARENT, owner->dpi());
    const int outerWidth = TwipsToPixels(7500, owner->dpi());
    const int outerHeight = TwipsToPixels(6000, owner->dpi());
    EXPECT_EQ(owner->clientSizeTwips(),
              (TwipsSize{PixelsToTwips(outerWidth - (frame.right - frame.left), owner->dpi()),
                         PixelsToTwips(outerHeight - (frame.bottom - frame.top), owner->dpi())}));
    EXPECT_EQ(dialog->clientSizeTwips(), (TwipsSize{roundTrip(4500), roundTrip(2250)}));

    const TwipsSize minimum = owner->minimumSizeTwips();
    EXPECT_EQ(minimum.width, PixelsToTwips(GetSystemMetrics(SM_CXMINTRACK), owner->dpi()));
    const TwipsSize work = owner->workAreaTwips();
    EXPECT_GT(work.width, minimum.width);
    EXPECT_GT(work.height, minimum.height);
}

// What the system shows: the window's own icon, else its class's.
TEST_F(FormWindowTest, EveryFormShowsTheProgramIconInTheSystemSizes) {
    for (HWND window : {owner->window(), dialogWindow}) {
        for (const auto& [which, metric, classIcon] :
             {std::tuple{ICON_BIG, SM_CXICON, GCLP_HICON},
              std::tuple{ICON_SMALL, SM_CXSMICON, GCLP_HICONSM}}) {
            SCOPED_TRACE(which);
            auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
            if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, classIcon));
            // The program's icon, not the system's.
            EXPECT_NE(icon, LoadIconW(nullptr, IDI_APPLICATION));
            ICONINFO info{};
            ASSERT_TRUE(icon && GetIconInfo(icon, &info));
            BITMAP colour{};
            GetObjectW(info.hbmColor, sizeof colour, &colour);
            EXPECT_EQ(colour.bmWidth, SystemMetricForDpi(metric, owner->dpi()));
            DeleteObject(info.hbmMask);
            DeleteObject(info.hbmColor);
        }
    }
}

TEST_F(FormWindowTest, CaptionAndActivation) {
    owner->setCaption("ディレクトリ　ブラウザ - Tavimero");
    wchar_t caption[64] = {};
    GetWindowTextW(owner->window(), caption, 64);
    EXPECT_STREQ(caption, L"ディレクトリ　ブラウザ - Tavimero");
    EXPECT_EQ(owner->nativeHandle(), owner->window());

    owner->show();
    dialog->show();
    EXPECT_TRUE(WaitUntil([&] { return GetActiveWindow() == dialogWindow; }, 5s));
    owner->activate();
    EXPECT_TRUE(WaitUntil([&] { return GetActiveWindow() == owner->window(); }, 5s));
    EXPECT_EQ(owner->activeControlName(), "txtName");
    EXPECT_EQ(dialog->activeControlName(), "");
}

TEST_F(FormWindowTest, ASecondModelessFormGetsDialogKeysToo) {
    owner->show();
    dialog->show();
    dialog->textBox("txtName").setFocus();
    ASSERT_TRUE(dialog->textBox("txtName").hasFocus());
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
    EXPECT_TRUE(WaitUntil([&] { return dialog->activeControlName() == "cmdOk"; }, 5s));
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(WaitUntil([&] { return !clicked.empty(); }, 5s));
    EXPECT_EQ(clicked, std::vector<std::string>{"cmdCancel"});
}

}  // namespace
