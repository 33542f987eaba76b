// List files: opened at start-up from the settings, saved, saved under a new name through the
// real save box, the save question at close, and cut and paste through the real clipboard.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Driver.h"
#include "Steps.h"
#include "SystemBoxes.h"
#include "forms/ControlIds.h"

namespace e2e {
namespace {

// A list file with every kind of line end: CR LF, a lone CR, a lone LF, an empty line, and a
// last line without one.
std::string listFileBytes() {
    std::string bytes = "echo b\r\necho a\recho c\nx\r\n\r\nlast";
    if (GetACP() == 1252) bytes += "\r\necho \xE9t\xE9";  // an ANSI character
    return bytes;
}

// The entries as the sorted list shows them.
std::vector<std::string> listedEntries() {
    std::vector<std::string> entries{"", "echo a", "echo b", "echo c"};
    if (GetACP() == 1252) entries.push_back("echo été");
    entries.push_back("last");
    entries.push_back("x");
    return entries;
}

// The bytes a save writes for them: the file's first line end (CR LF) between the entries, none
// after the last, the empty entry left out.
std::string savedBytes() {
    std::string bytes = "echo a\r\necho b\r\necho c\r\n";
    if (GetACP() == 1252) bytes += "echo \xE9t\xE9\r\n";
    return bytes + "last\r\nx";
}

// The settings that open the list file `name` of the program's folder at start-up.
SessionOptions openingList(const std::wstring& name, const std::string& bytes) {
    SessionOptions options;
    options.beforeStart = [name, bytes](const std::wstring& folder) {
        const std::wstring list = folder + L"\\" + name;
        writeBytes(list, bytes);
        writeBytes(folder + L"\\Tavimero.ini",
                   "[Tavimero]\r\nLoadList=Yes\r\nPathOfList=" + narrow(list) + "\r\n");
    };
    return options;
}

TEST(ListFile, OpenedAtStartupWithEveryLineEndAndSavedBack) {
    Session s(openingList(L"list.txt", listFileBytes()));
    EXPECT_EQ(s.listItems(ids::lstCommand), listedEntries()) << s.report();

    s.menuCommand(ids::mnuSave);
    EXPECT_TRUE(fileHolds(s, L"list.txt", savedBytes()));
    EXPECT_EQ(visibleWindowsOf(s.pid()).size(), 1u) << "a box came up\n" << s.report();
}

TEST(ListFile, ALfListOpensAsSeparateEntriesAndIsSavedWithLf) {
    // As git, WSL and most editors write a file.
    Session s(openingList(L"lf.txt", "git status\ngit log --oneline -5\ncd src\n"));
    EXPECT_EQ(s.listItems(ids::lstCommand),
              (std::vector<std::string>{"cd src", "git log --oneline -5", "git status"}))
        << s.report();

    s.menuCommand(ids::mnuSave);
    EXPECT_TRUE(fileHolds(s, L"lf.txt", "cd src\ngit log --oneline -5\ngit status"));
    EXPECT_EQ(visibleWindowsOf(s.pid()).size(), 1u) << "a box came up\n" << s.report();
}

TEST(ListFile, AListChangedByAnotherProgramIsNotOverwrittenWithoutAQuestion) {
    Session s(openingList(L"list.txt", "echo a"));
    ASSERT_EQ(s.listItems(ids::lstCommand), std::vector<std::string>{"echo a"}) << s.report();
    // Another program (an editor) saves the file meanwhile.
    const std::string theirs = "echo theirs\r\necho a";
    ASSERT_TRUE(writeBytes(s.pathOf(L"list.txt"), theirs));

    postMenuCommand(s, ids::mnuSave);
    HWND box = waitForBox(s, "保存の確認");
    ASSERT_NE(box, nullptr) << "no question before overwriting\n" << s.report();
    EXPECT_EQ(messageBoxText(box),
              narrow(s.pathOf(L"list.txt")) +
                  "は、読み込みまたは保存の後にほかのプログラムによって変更されています。\r\n"
                  "上書き保存すると、その変更は失われます。上書き保存しますか？");
    ASSERT_TRUE(pressAndWaitForClose(box, IDNO)) << s.report();
    EXPECT_EQ(s.readFile(L"list.txt"), theirs) << "No keeps the other program's file";

    postMenuCommand(s, ids::mnuSave);
    box = waitForBox(s, "保存の確認");
    ASSERT_NE(box, nullptr) << s.report();
    ASSERT_TRUE(pressAndWaitForClose(box, IDYES)) << s.report();
    EXPECT_TRUE(fileHolds(s, L"list.txt", "echo a"));
}

TEST(ListFile, SaveAsThroughTheSaveBoxAddsTheExtension) {
    Session s(openingList(L"list.txt", listFileBytes()));
    ASSERT_EQ(s.listItems(ids::lstCommand), listedEntries()) << s.report();

    postMenuCommand(s, ids::mnuSaveAs);
    const HWND box = waitForBox(s, "名前を付けてリストを保存");
    ASSERT_NE(box, nullptr) << "no save box\n" << s.report();
    // The box starts in the folder of the list: a bare name lands beside it.
    ASSERT_TRUE(typeFileName(box, "saved"));
    ASSERT_TRUE(pressAndWaitForClose(box, IDOK)) << s.report();
    EXPECT_TRUE(fileHolds(s, L"saved.txt", savedBytes()));
    EXPECT_TRUE(fileHolds(s, L"list.txt", listFileBytes())) << "the list's old file changed";

    // Saved: closing asks nothing.
    post(s.window(), WM_CLOSE);
    EXPECT_TRUE(waitForEnd(s.process(), kEffectTimeout)) << s.report();
}

TEST(ListFile, SaveQuestionAtCloseCancelledKeepsProgramAndPromptRunning) {
    struct Case {
        const char* what;
        bool fromFile;
        std::string question;  // the message; the list file's path goes in front when fromFile
    };
    const Case cases[] = {
        {"new list", false, "現在のリストを保存しますか？"},
        {"list from a file", true, "は更新されています。\r\n上書き保存しますか？"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Session s(c.fromFile ? openingList(L"list.txt", "echo a") : SessionOptions{});
        const DWORD prompt = runningPrompt(s);
        const auto settingsBefore = s.readFile(L"Tavimero.ini");
        s.click(ids::chbAdd);
        ASSERT_TRUE(execute(s, "echo q> q.txt"));
        ASSERT_TRUE(fileHolds(s, L"q.txt", "q\r\n"));

        post(s.window(), WM_CLOSE);
        const HWND box = waitForBox(s, "保存の確認");
        ASSERT_NE(box, nullptr) << "no save question\n" << s.report();
        EXPECT_EQ(messageBoxText(box),
                  (c.fromFile ? narrow(s.pathOf(L"list.txt")) : std::string()) + c.question);
        ASSERT_TRUE(pressAndWaitForClose(box, IDCANCEL)) << s.report();

        // Still there and still working: the next line reaches the same prompt.
        EXPECT_FALSE(hasEnded(s.process()));
        ASSERT_TRUE(execute(s, "echo after> after.txt"));
        EXPECT_TRUE(fileHolds(s, L"after.txt", "after\r\n"));
        EXPECT_TRUE(s.promptRunning(prompt));
        EXPECT_EQ(s.readFile(L"Tavimero.ini"), settingsBefore)
            << "the cancelled close wrote the settings";
        EXPECT_EQ(s.listItems(ids::lstCommand).size(), c.fromFile ? 3u : 2u) << s.report();
    }
}

// The Cut command acts on the control that has the focus inside the program. A focus set from
// another process does not reach it, so the test clicks the entry as a user would: a posted
// left click makes the list take the focus on its own thread and selects the entry.
void clickFirstEntry(Session& s) {
    const HWND list = s.control(ids::lstCommand);
    const LPARAM point = MAKELPARAM(8, 4);
    post(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    post(list, WM_LBUTTONUP, 0, point);
}

TEST(ListFile, CutEntryFromListAndPasteIntoTextBoxThroughTheClipboard) {
    Session s;
    runningPrompt(s);
    s.click(ids::chbAdd);
    ASSERT_TRUE(execute(s, "echo cut> cut.txt"));
    ASSERT_TRUE(execute(s, "echo stays> stays.txt"));
    ASSERT_EQ(s.listItems(ids::lstCommand),
              (std::vector<std::string>{"echo cut> cut.txt", "echo stays> stays.txt"}));

    clickFirstEntry(s);
    ASSERT_TRUE(
        pollUntil([&] { return SendMessageW(s.control(ids::lstCommand), LB_GETCURSEL, 0, 0) == 0; },
                  kEffectTimeout))
        << "the click did not select the entry\n"
        << s.report();
    s.menuCommand(ids::mnuCut);
    EXPECT_EQ(s.listItems(ids::lstCommand), std::vector<std::string>{"echo stays> stays.txt"})
        << s.report();
    EXPECT_EQ(clipboardText(), "echo cut> cut.txt");

    s.menuCommand(ids::mnuPaste);
    EXPECT_TRUE(boxHolds(s, "echo cut> cut.txt"));
}

}  // namespace
}  // namespace e2e
