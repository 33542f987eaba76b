// The directory browser "ディレクトリ　ブラウザ - Tavimero": its three linked lists, the three
// actions of OK (move the prompt, input the path, input the file name), and its life beside the
// main window.

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <set>
#include <string>
#include <vector>

#include "DirectorySteps.h"
#include "Driver.h"
#include "Steps.h"
#include "forms/ControlIds.h"

namespace e2e {
namespace {

constexpr wchar_t kNoFileMessage[] = L"ファイルが選択されていません";

std::vector<std::string> listBoxItems(HWND list) {
    std::vector<std::string> items;
    const auto count = sendTo(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = sendTo(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring buf(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        const auto copied =
            sendTo(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf.data()));
        buf.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
        items.push_back(narrow(buf));
    }
    return items;
}

std::vector<std::string> comboItems(HWND combo) {
    std::vector<std::string> items;
    const auto count = sendTo(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const auto length = sendTo(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring buf(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        const auto copied = sendTo(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                   reinterpret_cast<LPARAM>(buf.data()));
        buf.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
        items.push_back(narrow(buf));
    }
    return items;
}

std::string withoutIndent(const std::string& entry) {
    const auto first = entry.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : entry.substr(first);
}

// The path pieces of a folder as the folder list shows them, root first: C:\, users, ...
std::vector<std::string> pathPieces(const std::wstring& folder) {
    std::vector<std::string> pieces;
    size_t start = 0;
    for (size_t end = folder.find(L'\\'); end != std::wstring::npos;
         end = folder.find(L'\\', start)) {
        pieces.push_back(narrow(folder.substr(start, end - start)));
        start = end + 1;
    }
    pieces.push_back(narrow(folder.substr(start)));
    pieces.front() += "\\";
    return pieces;
}

struct Browser {
    HWND window = nullptr;
    HWND folders = nullptr;
    HWND files = nullptr;
    HWND drives = nullptr;
};

// Opens the browser as the tool command does (posted: the test does not rely on the browser
// being modeless to get control back).
Browser openBrowser(Session& s) {
    PostMessageW(s.window(), WM_COMMAND, MAKEWPARAM(ids::cmdMove, 0), 0);
    Browser b;
    b.window = waitForWindowOf(s.pid(), widen(captions::DirectoryBrowser));
    EXPECT_NE(b.window, nullptr) << "no window \"" << captions::DirectoryBrowser << "\"\n"
                                 << describeWindowsOf(s.pid()) << s.report();
    if (!b.window) return b;
    b.folders = requireChild(b.window, ids::dirChange);
    b.files = requireChild(b.window, ids::filChange);
    b.drives = requireChild(b.window, ids::drvChange);
    return b;
}

int indexOf(const std::vector<std::string>& entries, const std::string& name) {
    for (size_t i = 0; i < entries.size(); ++i) {
        if (withoutIndent(entries[i]) == name) return static_cast<int>(i);
    }
    return -1;
}

// The folder list's current folder: its selected entry.
std::string currentFolder(const Browser& b) {
    const auto selected = sendTo(b.folders, LB_GETCURSEL, 0, 0);
    const auto entries = listBoxItems(b.folders);
    return selected >= 0 && selected < static_cast<LRESULT>(entries.size())
               ? withoutIndent(entries[selected])
               : "(none selected)";
}

// A double-click on an entry of a list, as the list reports it to its window.
void doubleClick(HWND list, int index) {
    sendTo(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    sendTo(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_DBLCLK),
           reinterpret_cast<LPARAM>(list));
}

// Opens the folder shown as name in the folder list; true when it became the current folder.
::testing::AssertionResult openFolder(const Browser& b, const std::string& name) {
    const int index = indexOf(listBoxItems(b.folders), name);
    if (index < 0)
        return ::testing::AssertionFailure() << "the folder list has no entry \"" << name << "\"";
    doubleClick(b.folders, index);
    if (pollUntil([&] { return currentFolder(b) == name; }, kEffectTimeout))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "after a double-click on \"" << name << "\" the current folder is \""
           << currentFolder(b) << "\"";
}

void selectFile(const Browser& b, const std::string& name) {
    const int index = indexOf(listBoxItems(b.files), name);
    ASSERT_GE(index, 0) << "the file list has no entry \"" << name << "\"";
    sendTo(b.files, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void makeFile(const std::wstring& path, const std::string& content) {
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << "cannot create " << narrow(path);
    DWORD written = 0;
    WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

TEST(DirectoryBrowser, ListsShowDrivesPathSubfoldersAndFiles) {
    Session s;
    runningPrompt(s);
    ASSERT_TRUE(CreateDirectoryW(s.pathOf(L"alpha").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(s.pathOf(L"beta gamma").c_str(), nullptr));
    makeFile(s.pathOf(L"alpha\\inner.txt"), "i");
    makeFile(s.pathOf(L"top.txt"), "t");
    const Browser b = openBrowser(s);
    ASSERT_NE(b.window, nullptr);

    const std::vector<std::string> pieces = pathPieces(s.folder());
    std::vector<std::string> entries = listBoxItems(b.folders);
    ASSERT_EQ(entries.size(), pieces.size() + 2) << "the path pieces and the two subfolders";
    for (size_t i = 0; i < pieces.size(); ++i) {
        EXPECT_TRUE(sameTextIgnoringCase(widen(withoutIndent(entries[i])), widen(pieces[i])))
            << "entry " << i;
    }
    EXPECT_EQ((std::set<std::string>{withoutIndent(entries[pieces.size()]),
                                     withoutIndent(entries[pieces.size() + 1])}),
              (std::set<std::string>{"alpha", "beta gamma"}));
    EXPECT_EQ(sendTo(b.folders, LB_GETCURSEL, 0, 0), static_cast<LRESULT>(pieces.size() - 1))
        << "the program's folder is the current one";
    const auto files = listBoxItems(b.files);
    EXPECT_EQ(std::set<std::string>(files.begin(), files.end()),
              (std::set<std::string>{"Tavimero.exe", "top.txt"}));

    // Drives by letter in lower case, the program's drive chosen.
    const auto drives = comboItems(b.drives);
    const std::string ownDrive = narrow(lower(s.folder().substr(0, 2)));
    EXPECT_NE(std::find_if(drives.begin(), drives.end(),
                           [&](const std::string& d) { return d.rfind(ownDrive, 0) == 0; }),
              drives.end());
    for (const auto& drive : drives) {
        EXPECT_TRUE(drive.size() >= 2 && drive[0] >= 'a' && drive[0] <= 'z' && drive[1] == ':')
            << drive;
    }
    const auto chosen = sendTo(b.drives, CB_GETCURSEL, 0, 0);
    ASSERT_GE(chosen, 0);
    ASSERT_LT(chosen, static_cast<LRESULT>(drives.size()));
    EXPECT_EQ(drives[static_cast<size_t>(chosen)].substr(0, 2), ownDrive);

    // The lists are linked: opening a subfolder lists its own subfolders (none) and files.
    ASSERT_TRUE(openFolder(b, "alpha"));
    entries = listBoxItems(b.folders);
    EXPECT_EQ(entries.size(), pieces.size() + 1) << "the path pieces down to alpha";
    EXPECT_EQ(listBoxItems(b.files), std::vector<std::string>{"inner.txt"});
    // And back up through a path piece.
    ASSERT_TRUE(openFolder(b, pieces.back()));
    EXPECT_EQ(listBoxItems(b.folders).size(), pieces.size() + 2);
}

TEST(DirectoryBrowser, MoveOptionTakesThePromptToTheChosenFolder) {
    Session s;
    runningPrompt(s);
    ASSERT_TRUE(CreateDirectoryW(s.pathOf(L"alpha").c_str(), nullptr));
    const Browser b = openBrowser(s);
    ASSERT_NE(b.window, nullptr);
    EXPECT_TRUE(childChecked(b.window, ids::optCD))
        << "moving is the first choice without settings";

    ASSERT_TRUE(openFolder(b, "alpha"));
    clickChild(b.window, ids::cmdDirectoryOk);
    EXPECT_TRUE(boxShowsPromptDirectory(s, s.pathOf(L"alpha")));
    EXPECT_TRUE(IsWindowVisible(b.window)) << "the browser closed after OK\n"
                                           << describeWindowsOf(s.pid());
    EXPECT_TRUE(s.listItems(ids::lstCommand).empty()) << "recorded without chbAddDirectory\n"
                                                      << s.report();

    // With the browser's own check box the typed cd line is recorded in the list.
    clickChild(b.window, ids::chbAddDirectory);
    ASSERT_TRUE(openFolder(b, pathPieces(s.folder()).back()));
    clickChild(b.window, ids::cmdDirectoryOk);
    EXPECT_TRUE(boxShowsPromptDirectory(s, s.folder()));
    EXPECT_EQ(s.listItems(ids::lstCommand),
              std::vector<std::string>{"cd \"" + narrow(s.folder()) + "\""});

    // The tracked directory is where later relative lines start from.
    ASSERT_TRUE(execute(s, "cd alpha"));
    EXPECT_TRUE(boxShowsPromptDirectory(s, s.pathOf(L"alpha")));
}

TEST(DirectoryBrowser, MoveToAnotherDriveChangesTheDriveFirst) {
    Session s;
    runningPrompt(s);
    const OtherDrive other = otherDriveThan(s.folder());
    if (!other.letter)
        GTEST_SKIP() << "no second drive with a known folder beside " << narrow(s.folder());
    const Browser b = openBrowser(s);
    ASSERT_NE(b.window, nullptr);

    // Another drive picked in the drive list: the folder list shows its root and its folders.
    const auto drives = comboItems(b.drives);
    const std::string letter = narrow(
        std::wstring{static_cast<wchar_t>(towlower(static_cast<wint_t>(other.letter))), L':'});
    const auto drive = std::find_if(drives.begin(), drives.end(),
                                    [&](const std::string& d) { return d.rfind(letter, 0) == 0; });
    ASSERT_NE(drive, drives.end()) << "no drive " << letter << " in the drive list";
    sendTo(b.drives, CB_SETCURSEL, static_cast<WPARAM>(drive - drives.begin()), 0);
    sendTo(GetParent(b.drives), WM_COMMAND, MAKEWPARAM(ids::drvChange, CBN_SELCHANGE),
           reinterpret_cast<LPARAM>(b.drives));
    ASSERT_TRUE(pollUntil(
        [&] { return sameTextIgnoringCase(widen(currentFolder(b)), other.folder.substr(0, 3)); },
        kEffectTimeout))
        << "the folder list shows \"" << currentFolder(b) << "\" after drive " << letter
        << " was picked";

    clickChild(b.window, ids::chbAddDirectory);
    ASSERT_TRUE(openFolder(b, narrow(other.folder.substr(3))));
    clickChild(b.window, ids::cmdDirectoryOk);
    EXPECT_TRUE(boxShowsPromptDirectory(s, other.folder));
    const std::string otherDrive = narrow(other.folder.substr(0, 2));
    // The drive change and the cd line, sorted; the letter as the drive list shows it.
    const auto recorded = s.listItems(ids::lstCommand);
    const std::vector<std::string> expected{"cd \"" + narrow(other.folder) + "\"", otherDrive};
    EXPECT_TRUE(recorded.size() == 2 &&
                sameTextIgnoringCase(widen(recorded[0]), widen(expected[0])) &&
                sameTextIgnoringCase(widen(recorded[1]), widen(expected[1])))
        << "the list holds " << ::testing::PrintToString(recorded) << ", expected "
        << ::testing::PrintToString(expected);

    // The drives are tracked as the prompt has them: back on the own drive where it was left.
    ASSERT_TRUE(execute(s, narrow(s.folder().substr(0, 2))));
    EXPECT_TRUE(boxShowsPromptDirectory(s, s.folder()));
    ASSERT_TRUE(execute(s, otherDrive));
    EXPECT_TRUE(boxShowsPromptDirectory(s, other.folder));
}

TEST(DirectoryBrowser, EnterInTheFolderListOpensTheFolderThatOkThenInputs) {
    Session s;
    runningPrompt(s);
    ASSERT_TRUE(CreateDirectoryW(s.pathOf(L"alpha").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(s.pathOf(L"alpha\\inner").c_str(), nullptr));
    const Browser b = openBrowser(s);
    ASSERT_NE(b.window, nullptr);
    clickChild(b.window, ids::optPath);
    s.setText(ids::txtCommand, "dir ");

    const int alpha = indexOf(listBoxItems(b.folders), "alpha");
    ASSERT_GE(alpha, 0);
    sendTo(b.folders, LB_SETCURSEL, static_cast<WPARAM>(alpha), 0);
    postKeyTo(b.folders, VK_RETURN);
    EXPECT_TRUE(pollUntil([&] { return indexOf(listBoxItems(b.folders), "inner") >= 0; },
                          kEffectTimeout))
        << "Enter did not open alpha: the folder list holds "
        << ::testing::PrintToString(listBoxItems(b.folders));
    EXPECT_EQ(s.text(ids::txtCommand), "dir ") << "Enter in the folder list pressed OK";

    // The selection moves to the root without opening it: OK acts on the open folder.
    sendTo(b.folders, LB_SETCURSEL, 0, 0);
    clickChild(b.window, ids::cmdDirectoryOk);
    EXPECT_TRUE(boxHolds(s, "dir \"" + narrow(s.pathOf(L"alpha")) + "\""));
}

TEST(DirectoryBrowser, PathAndFileNameOptionsAppendToTheCommandText) {
    Session s;
    runningPrompt(s);
    ASSERT_TRUE(CreateDirectoryW(s.pathOf(L"beta gamma").c_str(), nullptr));
    makeFile(s.pathOf(L"beta gamma\\f.txt"), "content\r\n");
    makeFile(s.pathOf(L"beta gamma\\with space.txt"), "spaced\r\n");
    const Browser b = openBrowser(s);
    ASSERT_NE(b.window, nullptr);
    ASSERT_TRUE(openFolder(b, "beta gamma"));
    const std::string folder = narrow(s.pathOf(L"beta gamma"));

    struct Step {
        int option;
        const char* file;  // selected in the file list; nullptr: none
        std::string appended;
    };
    const Step steps[] = {
        {ids::optPath, nullptr, "\"" + folder + "\""},
        {ids::optPath, "f.txt", "\"" + folder + "\\f.txt\""},
        {ids::OptFileName, "f.txt", "f.txt"},
        {ids::OptFileName, "with space.txt", "\"with space.txt\""},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(step.option == ids::optPath ? "optPath, " : "OptFileName, ") +
                     (step.file ? step.file : "no file"));
        s.setText(ids::txtCommand, "type ");
        clickChild(b.window, step.option);
        ASSERT_TRUE(childChecked(b.window, step.option));
        if (step.file) {
            selectFile(b, step.file);
        } else {
            sendTo(b.files, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        }
        clickChild(b.window, ids::cmdDirectoryOk);
        EXPECT_TRUE(boxHolds(s, "type " + step.appended));
        EXPECT_TRUE(IsWindowVisible(b.window)) << "the browser closed after OK";
    }

    // The path as appended is one the prompt takes: the command built with it runs.
    s.setText(ids::txtCommand, "copy ");
    clickChild(b.window, ids::optPath);
    selectFile(b, "f.txt");
    clickChild(b.window, ids::cmdDirectoryOk);
    ASSERT_TRUE(boxHolds(s, "copy \"" + folder + "\\f.txt\""));
    ASSERT_TRUE(execute(s, s.text(ids::txtCommand) + " copied.txt"));
    EXPECT_TRUE(fileHolds(s, L"copied.txt", "content\r\n"));

    // A double-click in the file list takes the selection away: the folder is input again.
    selectFile(b, "f.txt");
    doubleClick(b.files, indexOf(listBoxItems(b.files), "f.txt"));
    EXPECT_EQ(sendTo(b.files, LB_GETCURSEL, 0, 0), LB_ERR)
        << "the double-clicked file stays selected";
    s.setText(ids::txtCommand, "");
    clickChild(b.window, ids::cmdDirectoryOk);
    EXPECT_TRUE(boxHolds(s, "\"" + folder + "\""));

    // With chbAddDirectory the appended text alone is recorded.
    clickChild(b.window, ids::chbAddDirectory);
    s.setText(ids::txtCommand, "dir ");
    clickChild(b.window, ids::cmdDirectoryOk);
    EXPECT_TRUE(boxHolds(s, "dir \"" + folder + "\""));
    EXPECT_EQ(s.listItems(ids::lstCommand), std::vector<std::string>{"\"" + folder + "\""});
}

TEST(DirectoryBrowser, FileNameOptionWithoutFileShowsMessageAndInputsNothing) {
    Session s;
    runningPrompt(s);
    const Browser b = openBrowser(s);
    ASSERT_NE(b.window, nullptr);
    clickChild(b.window, ids::OptFileName);
    sendTo(b.files, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    s.setText(ids::txtCommand, "keep");

    // The message box holds the click until it closes: the click is posted.
    postClickChild(b.window, ids::cmdDirectoryOk);
    HWND box =
        waitForWindowOf(s.pid(), widen(captions::MainWindow), kEffectTimeout, s.window(), true);
    ASSERT_NE(box, nullptr) << "no message box titled \"" << captions::MainWindow << "\"\n"
                            << describeWindowsOf(s.pid()) << s.report();
    EXPECT_EQ(messageBoxText(box), narrow(kNoFileMessage));
    closeMessageBox(box);
    ASSERT_TRUE(waitForWindowGone(box)) << describeWindowsOf(s.pid());

    EXPECT_EQ(s.text(ids::txtCommand), "keep");
    EXPECT_TRUE(s.listItems(ids::lstCommand).empty()) << s.report();
    EXPECT_TRUE(IsWindowVisible(b.window)) << "the browser closed";
    // The program goes on working.
    ASSERT_TRUE(execute(s, "echo after> after.txt"));
    EXPECT_TRUE(fileHolds(s, L"after.txt", "after\r\n"));
}

TEST(DirectoryBrowser, OneBrowserAtATimeItsChoicesKeptAndClosedWithTheMainWindow) {
    Session s;
    runningPrompt(s);
    const std::wstring caption = widen(captions::DirectoryBrowser);
    Browser b = openBrowser(s);
    ASSERT_NE(b.window, nullptr);

    s.menuCommand(ids::cmdMove);  // a second time while it is open
    EXPECT_EQ(windowsOf(s.pid(), caption), std::vector<HWND>{b.window})
        << describeWindowsOf(s.pid());

    clickChild(b.window, ids::optPath);
    clickChild(b.window, ids::chbAddDirectory);
    clickChild(b.window, ids::cmdDirectoryOk);
    clickChild(b.window, ids::cmdDirectoryCancel);
    ASSERT_TRUE(waitForWindowGone(b.window)) << "the close button left the browser open";
    EXPECT_TRUE(IsWindow(s.window()));

    // Opened again: a new browser showing the choices of the last OK.
    b = openBrowser(s);
    ASSERT_NE(b.window, nullptr);
    EXPECT_TRUE(childChecked(b.window, ids::optPath));
    EXPECT_FALSE(childChecked(b.window, ids::optCD));
    EXPECT_TRUE(childChecked(b.window, ids::chbAddDirectory));

    // The OK above recorded the folder in the list, so closing asks first whether to save it.
    PostMessageW(s.window(), WM_CLOSE, 0, 0);
    HWND ask = waitForWindowOf(s.pid(), L"保存の確認", kEffectTimeout, s.window(), true);
    ASSERT_NE(ask, nullptr) << "no question whether to save the changed list\n"
                            << describeWindowsOf(s.pid());
    pressDialogButton(ask, IDNO);
    EXPECT_TRUE(waitForWindowGone(b.window)) << "the browser outlived the main window";
    ASSERT_TRUE(waitForEnd(s.process(), kEffectTimeout)) << "the program did not end\n"
                                                         << describeWindowsOf(s.pid());
    const auto settings = settingsText(s).value_or("");
    EXPECT_NE(settings.find("DoDirectory=1"), std::string::npos) << settings;
    EXPECT_NE(settings.find("AddListDirectory=Yes"), std::string::npos) << settings;
}

}  // namespace
}  // namespace e2e
