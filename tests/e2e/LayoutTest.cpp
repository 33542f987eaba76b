// Every control lies inside its window's client area: the main window at the size it starts
// with and at two sizes set from outside, and the options dialog, the directory browser, the
// version box and the values dialog, each at 96 and 144 DPI. CTest runs these tests under Wine's
// default window metrics and once more under those of Windows 10 and 11, whose frame, caption and
// menu bar are larger and leave a smaller client area in the same outer size.

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Driver.h"
#include "forms/ControlIds.h"

namespace e2e {
namespace {

struct NamedControl {
    const char* name;
    int id;
};

const NamedControl kMainWindowControls[] = {
    {"tlbDos", ids::tlbDos},         {"txtCD", ids::txtCD},
    {"lstCommand", ids::lstCommand}, {"txtCommand", ids::txtCommand},
    {"fraButtons", ids::fraButtons}, {"chbAdd", ids::chbAdd},
    {"cmdSend", ids::cmdSend},       {"cmdSendAndDo", ids::cmdSendAndDo},
    {"cmdCleaer", ids::cmdCleaer},
};
const NamedControl kOptionsControls[] = {
    {"chbLoad", ids::chbLoad},   {"txtPath", ids::txtPath},   {"cmdOpen", ids::cmdOpen},
    {"chbClose", ids::chbClose}, {"Frame2", ids::Frame2},     {"optSend", ids::optSend},
    {"optDo", ids::optDo},       {"cmdOk", ids::cmdOptionOk}, {"cmdCancel", ids::cmdOptionCancel},
};
const NamedControl kDirectoryControls[] = {
    {"drvChange", ids::drvChange},
    {"dirChange", ids::dirChange},
    {"filChange", ids::filChange},
    {"Frame1", ids::Frame1},
    {"optCD", ids::optCD},
    {"optPath", ids::optPath},
    {"OptFileName", ids::OptFileName},
    {"cmdOk", ids::cmdDirectoryOk},
    {"cmdCancel", ids::cmdDirectoryCancel},
    {"chbAdd", ids::chbAddDirectory},
};
const NamedControl kAboutControls[] = {
    {"lblAbout", ids::lblAbout},
    {"lblInfo", ids::lblInfo},
    {"cmdOk", ids::cmdAboutOk},
};

// This thread sees every window in real pixels, whatever DPI the program runs at: without
// it, the system would scale the program's rectangles to this process's own DPI. The function
// is looked up, so that the tests still load on systems older than Windows 10.
class PhysicalPixels {
public:
    PhysicalPixels() {
        using SetContext = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
        set_ = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
        if (set_) old_ = set_(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
    }
    PhysicalPixels(const PhysicalPixels&) = delete;
    PhysicalPixels& operator=(const PhysicalPixels&) = delete;
    ~PhysicalPixels() {
        if (set_ && old_) set_(old_);
    }

private:
    DPI_AWARENESS_CONTEXT(WINAPI* set_)(DPI_AWARENESS_CONTEXT) = nullptr;
    DPI_AWARENESS_CONTEXT old_ = nullptr;
};

// Programs started while this object lives run at the DPI: Wine reads it from
// HKCU\Control Panel\Desktop LogPixels when a program starts. The old value comes back after.
class DpiForNewPrograms {
public:
    explicit DpiForNewPrograms(DWORD dpi) {
        DWORD size = sizeof old_;
        hadValue_ = RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_DWORD, nullptr, &old_,
                                 &size) == ERROR_SUCCESS;
        set(dpi);
    }
    DpiForNewPrograms(const DpiForNewPrograms&) = delete;
    DpiForNewPrograms& operator=(const DpiForNewPrograms&) = delete;
    ~DpiForNewPrograms() {
        if (hadValue_) {
            set(old_);
        } else {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue);
        }
    }

private:
    static constexpr const wchar_t* kKey = L"Control Panel\\Desktop";
    static constexpr const wchar_t* kValue = L"LogPixels";
    static void set(DWORD dpi) {
        const LSTATUS status =
            RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &dpi, sizeof dpi);
        if (status != ERROR_SUCCESS) {
            throw std::runtime_error("cannot set LogPixels (error " + std::to_string(status) + ")");
        }
    }
    DWORD old_ = 0;
    bool hadValue_ = false;
};

std::string describe(const RECT& r) {
    std::ostringstream out;
    out << "(" << r.left << ", " << r.top << ") - (" << r.right << ", " << r.bottom << ")";
    return out.str();
}

// Every named control exists, is shown, and its window rectangle lies within the client area.
::testing::AssertionResult controlsInside(HWND window, const char* windowName,
                                          const NamedControl* begin, const NamedControl* end) {
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    std::ostringstream faults;
    for (const NamedControl* control = begin; control != end; ++control) {
        HWND child = childById(window, control->id);
        if (!child || !IsWindowVisible(child)) {
            faults << "  " << control->name << " is missing or hidden\n";
            continue;
        }
        RECT rect{};
        GetWindowRect(child, &rect);
        if (rect.left < client.left || rect.top < client.top || rect.right > client.right ||
            rect.bottom > client.bottom) {
            faults << "  " << control->name << " " << describe(rect) << "\n";
        }
    }
    if (faults.str().empty()) return ::testing::AssertionSuccess();
    RECT outer{};
    GetWindowRect(window, &outer);
    return ::testing::AssertionFailure()
           << windowName << ": window " << describe(outer) << ", client area " << describe(client)
           << "; outside it:\n"
           << faults.str();
}

template <size_t N>
::testing::AssertionResult controlsInside(HWND window, const char* windowName,
                                          const NamedControl (&controls)[N]) {
    return controlsInside(window, windowName, controls, controls + N);
}

// Opens a window of the program through its menu command (posted: the modal ones hold a sent
// message until they close), checks it, and closes it with its button.
template <size_t N>
void checkDialog(Session& s, int command, const char* caption, const NamedControl (&controls)[N],
                 int closeId) {
    SCOPED_TRACE(caption);
    PostMessageW(s.window(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    HWND dialog = waitForWindowOf(s.pid(), widen(caption), kEffectTimeout, s.window());
    ASSERT_NE(dialog, nullptr) << "no window \"" << caption << "\"\n" << describeWindowsOf(s.pid());
    EXPECT_TRUE(controlsInside(dialog, caption, controls));
    postClickChild(dialog, closeId);
    EXPECT_TRUE(waitForWindowGone(dialog)) << describeWindowsOf(s.pid());
    EXPECT_TRUE(pollUntil([&] { return IsWindowEnabled(s.window()) != FALSE; }, kEffectTimeout));
}

// The values dialog for a command with more fields than it shows at once (the first one with
// alternatives): the buttons and the rows in view lie inside the window, and the rows inside
// the scrolling frame, clear of its scroll bar.
void checkValuesDialog(Session& s) {
    SCOPED_TRACE(captions::FieldValues);
    std::string command = "robocopy {{[/e|/mir]}}";
    for (int field = 1; field < 12; ++field) command += " {{引数" + std::to_string(field) + "}}";
    s.setText(ids::txtCommand, command);
    postClickChild(s.window(), ids::cmdSend);
    HWND dialog =
        waitForWindowOf(s.pid(), widen(captions::FieldValues), kEffectTimeout, s.window());
    ASSERT_NE(dialog, nullptr) << describeWindowsOf(s.pid());
    std::vector<std::string> names;
    std::vector<NamedControl> controls = {{"fraFields", ids::fraFieldRows},
                                          {"cmdOk", ids::cmdFieldsOk},
                                          {"cmdCancel", ids::cmdFieldsCancel}};
    names.reserve(20);
    for (int row = 0; row < 10; ++row) {
        names.push_back("lblField" + std::to_string(row));
        controls.push_back({names.back().c_str(), ids::lblFieldFirst + row});
        names.push_back("txtField" + std::to_string(row));
        controls.push_back({names.back().c_str(), ids::txtFieldFirst + row});
    }
    EXPECT_TRUE(
        controlsInside(dialog, captions::FieldValues, controls.data(), controls.data() + 3));
    HWND area = childById(dialog, ids::fraFieldRows);
    ASSERT_NE(area, nullptr);
    EXPECT_TRUE(controlsInside(area, "the frame of the rows", controls.data() + 3,
                               controls.data() + controls.size()));
    postClickChild(dialog, ids::cmdFieldsCancel);
    EXPECT_TRUE(waitForWindowGone(dialog)) << describeWindowsOf(s.pid());
}

class Layout : public ::testing::TestWithParam<UINT> {};

TEST_P(Layout, EveryControlLiesInsideItsWindowsClientArea) {
    const UINT dpi = GetParam();
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    HDC screen = GetDC(nullptr);
    const UINT systemDpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
    if (!wine && dpi != systemDpi)
        GTEST_SKIP() << "Windows takes a new DPI at the next sign-in only";
    PhysicalPixels physical;
    DpiForNewPrograms programDpi(dpi);
    Session s;
    // The program runs at that DPI: its window has the start width of 4575 twips in its pixels.
    // (Asked from here, GetDpiForWindow would answer with this process's own DPI.)
    RECT start{};
    GetWindowRect(s.window(), &start);
    ASSERT_NEAR(start.right - start.left, MulDiv(4575, static_cast<int>(dpi), 1440), 1)
        << "the program does not run at " << dpi << " DPI";

    EXPECT_TRUE(
        controlsInside(s.window(), "the main window at its start size", kMainWindowControls));
    // Two outer sizes in pixels: wide and low, then large.
    const SIZE sizes[] = {{640, 420}, {900, 700}};
    for (const SIZE& size : sizes) {
        const std::string name =
            "the main window at " + std::to_string(size.cx) + " x " + std::to_string(size.cy);
        SetWindowPos(s.window(), nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        sendTo(s.window(), WM_NULL, 0, 0);  // the program has laid the window out
        EXPECT_TRUE(controlsInside(s.window(), name.c_str(), kMainWindowControls));
    }

    checkDialog(s, ids::mnuSetting, captions::Options, kOptionsControls, ids::cmdOptionCancel);
    checkDialog(s, ids::cmdMove, captions::DirectoryBrowser, kDirectoryControls,
                ids::cmdDirectoryCancel);
    checkDialog(s, ids::mnuAbout, captions::About, kAboutControls, ids::cmdAboutOk);
    checkValuesDialog(s);
}

INSTANTIATE_TEST_SUITE_P(Dpi, Layout, ::testing::Values(96u, 144u),
                         [](const ::testing::TestParamInfo<UINT>& info) {
                             return std::to_string(info.param);
                         });

}  // namespace
}  // namespace e2e
