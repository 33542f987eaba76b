#include <gtest/gtest.h>
#include <initguid.h>
// initguid.h first: the GUIDs oleacc.h declares are defined here.
#include <oleacc.h>

#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "platform/win32/AccessibleNames.h"
#include "platform/win32/Win32Form.h"

namespace {

// Records what a form asks the system to name, and passes it on to the real service.
class RecordingNamer final : public AccessibleNamer {
public:
    int name(const std::vector<Named>& controls) override {
        for (const Named& named : controls) names.push_back(named);
        return static_cast<int>(controls.size());
    }
    void clear(const std::vector<HWND>& controls) override {
        cleared.insert(cleared.end(), controls.begin(), controls.end());
    }
    std::vector<Named> names;
    std::vector<HWND> cleared;
};

FormSpec NamedForm() {
    FormSpec form;
    form.name = "TavimeroNamedForm";
    form.caption = "名前のテスト";
    form.outerWidthTwips = 5000;
    form.outerHeightTwips = 4000;
    form.font = {"ＭＳ ゴシック", 900};
    // clang-format off
    form.controls = {
        {"txtPath", ControlKind::TextBox, "C:\\", {120, 120, 3000, 300}, "", 0, FontSpec{}, 3001,
         StyleNone, "起動時に開くリストのパス"},
        {"lstItems", ControlKind::ListBox, "", {120, 480, 3000, 900}, "", 1, FontSpec{}, 3002,
         StyleNone, "コマンドリスト"},
        {"drvPick", ControlKind::ComboBox, "", {120, 1500, 3000, 300}, "", 2, FontSpec{}, 3003,
         StyleNone, "ドライブ"},
        {"cmdGo", ControlKind::Button, "実行(&G)", {120, 1900, 1200, 375}, "", 3, {}, 3004},
    };
    // clang-format on
    return form;
}

// The name a screen reader reads for the window's client object; nothing where the system
// gives no accessible object or no name.
std::wstring NameReadThroughOleacc(HWND window) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&accessible))) ||
        !accessible)
        return L"";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring read;
    if (accessible->get_accName(self, &name) == S_OK && name) read.assign(name, SysStringLen(name));
    if (name) SysFreeString(name);
    accessible->Release();
    return read;
}

struct ComThread {
    const bool started = SUCCEEDED(CoInitialize(nullptr));
    ~ComThread() {
        if (started) CoUninitialize();
    }
};

TEST(AccessibleNamesTest, AFormNamesTheControlsOfItsTableOnceShownAndTakesTheNamesBackWhenItGoes) {
    RecordingNamer namer;
    Win32Form form(NamedForm(), false, namer);
    EXPECT_TRUE(namer.names.empty());  // not before the window is seen
    form.show();
    PumpMessages();
    const auto window = [&](const char* name) { return form.controlWindow(name)->window(); };
    ASSERT_EQ(namer.names.size(), 3u);
    const std::pair<const char*, std::wstring> expected[] = {
        {"txtPath", L"起動時に開くリストのパス"},
        {"lstItems", L"コマンドリスト"},
        {"drvPick", L"ドライブ"}};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(expected[i].first);
        EXPECT_EQ(namer.names[i].control, window(expected[i].first));
        EXPECT_EQ(namer.names[i].name, expected[i].second);
    }
    // What the screen shows stays: the text box keeps its text, the list has no caption.
    wchar_t text[16]{};
    GetWindowTextW(window("txtPath"), text, 16);
    EXPECT_STREQ(text, L"C:\\");
    EXPECT_EQ(GetWindowTextLengthW(window("lstItems")), 0);

    form.close();
    PumpMessages();
    ASSERT_EQ(namer.cleared.size(), 3u);
    EXPECT_EQ(namer.cleared[0], namer.names[0].control);
}

// The system's service: where it takes the names (Windows), a screen reader reads them back
// through oleacc; where it offers no annotation (Wine answers E_NOTIMPL), nothing fails and the
// window works as before.
TEST(AccessibleNamesTest, TheSystemsAnnotationIsReadBackThroughOleaccWhereTheSystemTakesIt) {
    ComThread com;
    ASSERT_TRUE(com.started);
    Win32Form form(NamedForm(), false);
    form.show();
    PumpMessages();
    const std::vector<AccessibleNamer::Named> names = {
        {form.controlWindow("lstItems")->window(), L"コマンドリスト"},
        {form.controlWindow("drvPick")->window(), L"ドライブ"}};
    const int taken = SystemAccessibleNamer().name(names);
    EXPECT_TRUE(taken == 0 || taken == 2) << taken;
    if (taken == 2) {
        for (const auto& named : names) EXPECT_EQ(NameReadThroughOleacc(named.control), named.name);
    } else {
        // No annotation here: a list or a combo box without it has no name at all.
        EXPECT_EQ(NameReadThroughOleacc(names[0].control), L"");
    }
    EXPECT_NO_THROW(SystemAccessibleNamer().clear({names[0].control, names[1].control}));
    form.close();
    PumpMessages();
}

// Without COM on the thread (a new thread has none) the service cannot be created: no names,
// nothing fails.
TEST(AccessibleNamesTest, WithoutComOnTheThreadNoNameIsGivenAndNothingFails) {
    int taken = -1;
    std::thread([&] {
        HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
        if (!edit) return;
        taken = SystemAccessibleNamer().name({{edit, L"コマンド"}});
        SystemAccessibleNamer().clear({edit});
        DestroyWindow(edit);
    }).join();
    EXPECT_EQ(taken, 0);
}

}  // namespace
