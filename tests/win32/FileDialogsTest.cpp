#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <chrono>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32FileDialogs.h"

namespace {

using namespace std::chrono_literals;

constexpr int FileNameCombo = 0x47C;  // cmb13: the file name box of the explorer-style boxes
constexpr int FileNameEdit = 0x480;   // edt1: the same in older templates
constexpr int FilterCombo = 0x470;    // cmb1: the file types

const char* const kFilter = "リストファイル(*.txt)|*.txt|すべてのファイル(*.*)|*.*";

// What the user sees and does in a box.
struct Seen {
    bool found = false;
    HWND owner = nullptr;
    std::vector<std::wstring> types;  // the filter's descriptions, in order
    std::wstring typed;               // read back from the file name box
};

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The control that takes the file name; a ComboBoxEx hands it to its inner edit.
HWND FileNameBox(HWND box) {
    HWND control = GetDlgItem(box, FileNameCombo);
    if (!control) control = GetDlgItem(box, FileNameEdit);
    if (!control) return nullptr;
    wchar_t kind[32] = {};
    GetClassNameW(control, kind, 32);
    if (std::wstring(kind) == L"ComboBoxEx32") {
        return reinterpret_cast<HWND>(SendMessageW(control, CBEM_GETEDITCONTROL, 0, 0));
    }
    return control;
}

// Works the box titled title from another thread, as a user would: waits for it, notes
// what it shows, types name into its file name box (nothing: no typing) and presses the
// button. The box runs on the thread that called showOpen/showSave.
class BoxUser {
public:
    BoxUser(std::wstring title, std::wstring name, int button)
        : thread_([this, title = std::move(title), name = std::move(name), button] {
              run(title, name, button);
          }) {}
    ~BoxUser() {
        if (thread_.joinable()) thread_.join();
    }
    const Seen& finish() {
        thread_.join();
        return seen_;
    }

private:
    void run(const std::wstring& title, const std::wstring& name, int button) {
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        HWND box = nullptr;
        // Visible once its initialisation has ended.
        while (!(box = FindWindowW(L"#32770", title.c_str())) || !IsWindowVisible(box)) {
            if (std::chrono::steady_clock::now() >= deadline) return;
            std::this_thread::sleep_for(20ms);
        }
        seen_.found = true;
        seen_.owner = GetWindow(box, GW_OWNER);
        if (HWND types = GetDlgItem(box, FilterCombo)) {
            const auto count = SendMessageW(types, CB_GETCOUNT, 0, 0);
            for (LRESULT i = 0; i < count; ++i) {
                std::wstring item(
                    static_cast<size_t>(SendMessageW(types, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
                item.resize(static_cast<size_t>(
                    SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
                seen_.types.push_back(item);
            }
        }
        if (!name.empty()) {
            if (HWND edit = FileNameBox(box)) {
                SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
                seen_.typed = TextOf(edit);
            }
        }
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
        // A box still there after the press (a refused name, say) is closed so that the
        // test ends with a failure instead of waiting for ever.
        while (IsWindow(box)) {
            if (std::chrono::steady_clock::now() >= deadline) {
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                seen_.found = false;
                return;
            }
            std::this_thread::sleep_for(20ms);
        }
    }

    Seen seen_;
    std::thread thread_;
};

class FileDialogsTest : public ::testing::Test {
protected:
    TempFolder folder{L"tvm日本"};
    Win32FileDialogs dialogs;
};

TEST_F(FileDialogsTest, OpenGivesThePathTypedWithTheFilterAndTitleShown) {
    WriteFileBytes(folder.file(L"list.txt"), "x");
    WriteFileBytes(folder.file(L"リスト.txt"), "x");
    struct Case {
        std::wstring typed;
        std::wstring expected;
    };
    const Case cases[] = {
        {folder.file(L"list.txt"), folder.file(L"list.txt")},  // a whole path
        {L"リスト.txt", folder.file(L"リスト.txt")},           // a name in the initial folder
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.typed));
        BoxUser user(L"リストを開く", c.typed, IDOK);
        const auto chosen =
            dialogs.showOpen({"リストを開く", kFilter, "txt", ToUtf8(folder.path()) + "\\"});
        const Seen& seen = user.finish();
        ASSERT_TRUE(seen.found) << "no box titled リストを開く, or it did not close";
        EXPECT_EQ(seen.typed, c.typed);
        EXPECT_EQ(seen.types,
                  (std::vector<std::wstring>{L"リストファイル(*.txt)", L"すべてのファイル(*.*)"}));
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(ToWide(*chosen), c.expected);
    }
}

TEST_F(FileDialogsTest, SaveAddsTheDefaultExtensionToANameWithoutOne) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"newlist", L"newlist.txt"},
        {L"新しいリスト", L"新しいリスト.txt"},
        {L"kept.txt", L"kept.txt"},
    };
    for (const auto& [typed, expected] : cases) {
        SCOPED_TRACE(ToUtf8(typed));
        BoxUser user(L"名前を付けてリストを保存", typed, IDOK);
        const auto chosen = dialogs.showSave(
            {"名前を付けてリストを保存", kFilter, "txt", ToUtf8(folder.path()), true, true, true});
        ASSERT_TRUE(user.finish().found);
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(ToWide(*chosen), folder.file(expected));
    }
}

std::wstring CurrentDirectory() {
    wchar_t path[MAX_PATH * 4] = {};
    GetCurrentDirectoryW(static_cast<DWORD>(std::size(path)), path);
    return path;
}

// A box that moved the current directory would move where a relative name is saved later and
// where a prompt started later begins.
TEST_F(FileDialogsTest, AChoiceInAnotherFolderLeavesTheCurrentDirectoryAlone) {
    WriteFileBytes(folder.file(L"list.txt"), "x");
    const std::wstring before = CurrentDirectory();
    ASSERT_NE(before, folder.path());
    {
        BoxUser user(L"リストを開く", L"list.txt", IDOK);
        const auto chosen =
            dialogs.showOpen({"リストを開く", kFilter, "txt", ToUtf8(folder.path()) + "\\"});
        ASSERT_TRUE(user.finish().found);
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(CurrentDirectory(), before) << "moved by the open box";
    }
    {
        BoxUser user(L"名前を付けてリストを保存", L"saved", IDOK);
        const auto chosen = dialogs.showSave(
            {"名前を付けてリストを保存", kFilter, "txt", ToUtf8(folder.path()), true, true, true});
        ASSERT_TRUE(user.finish().found);
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(CurrentDirectory(), before) << "moved by the save box";
    }
}

TEST_F(FileDialogsTest, CancelGivesNothing) {
    {
        BoxUser user(L"開く", L"list.txt", IDCANCEL);
        EXPECT_EQ(dialogs.showOpen({"開く", kFilter, "txt", ""}), std::nullopt);
        EXPECT_TRUE(user.finish().found);
    }
    {
        BoxUser user(L"保存", L"", IDCANCEL);
        EXPECT_EQ(
            dialogs.showSave({"保存", kFilter, "txt", ToUtf8(folder.path()), true, true, true}),
            std::nullopt);
        EXPECT_TRUE(user.finish().found);
    }
}

TEST_F(FileDialogsTest, BoxBelongsToTheActiveWindowOfTheProgram) {
    HWND window = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                  300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    SetActiveWindow(window);
    ASSERT_TRUE(WaitUntil([&] { return GetActiveWindow() == window; }, 5s));
    HWND owner = nullptr;
    {
        BoxUser user(L"持ち主", L"", IDCANCEL);
        dialogs.showOpen({"持ち主", kFilter, "txt", ""});
        const Seen& seen = user.finish();
        ASSERT_TRUE(seen.found);
        owner = seen.owner;
    }
    DestroyWindow(window);
    EXPECT_EQ(owner, window);
}

}  // namespace
