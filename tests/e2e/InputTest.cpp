// Command input: what the prompt receives from the two input buttons, the Enter key and the
// clear button.
//
// An input-only text waits on the prompt's command line, so "not executed" is shown by order,
// not by waiting: a later input appends to the waiting line, and the file name that the joined
// line writes proves that no Enter came in between.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Driver.h"
#include "Steps.h"
#include "SystemBoxes.h"
#include "forms/ControlIds.h"

namespace e2e {
namespace {

TEST(Input, ExecuteTypesLineWithEnterAndEmptiesBox) {
    Session s;
    runningPrompt(s);
    ASSERT_TRUE(execute(s, "echo one> a.txt"));
    EXPECT_EQ(s.text(ids::txtCommand), "");
    EXPECT_TRUE(fileHolds(s, L"a.txt", "one\r\n"));
}

TEST(Input, InputOnlyWaitsOnCommandLineUntilExecute) {
    Session s;
    runningPrompt(s);

    ASSERT_TRUE(inputOnly(s, "echo two> b.txt"));
    EXPECT_EQ(s.text(ids::txtCommand), "");
    ASSERT_TRUE(execute(s, ""));
    EXPECT_TRUE(fileHolds(s, L"b.txt", "two\r\n"));

    // Pieces typed one after the other join on one line: "echo three> c.txt" + "x".
    ASSERT_TRUE(inputOnly(s, "echo three> c.txt"));
    ASSERT_TRUE(execute(s, "x"));
    EXPECT_TRUE(fileHolds(s, L"c.txtx", "three\r\n"));
    EXPECT_FALSE(s.fileExists(L"c.txt")) << "the input-only text was executed on its own\n"
                                         << s.report();
}

TEST(Input, EachLineBreakIsOneEnter) {
    Session s;
    runningPrompt(s);

    // The first line runs at once, the last one waits.
    ASSERT_TRUE(inputOnly(s, "echo l1> m1.txt\r\necho l2> m2.txt"));
    EXPECT_TRUE(fileHolds(s, L"m1.txt", "l1\r\n"));
    ASSERT_TRUE(execute(s, "x"));
    EXPECT_TRUE(fileHolds(s, L"m2.txtx", "l2\r\n"));
    EXPECT_FALSE(s.fileExists(L"m2.txt")) << s.report();

    // `set /p` reads the next line typed: a second Enter per line break would hand it an empty one.
    ASSERT_TRUE(execute(s, "set /p V=\r\nabc\r\necho [%V%]> v.txt"));
    EXPECT_TRUE(fileHolds(s, L"v.txt", "[abc]\r\n"));
}

TEST(Input, CharactersArriveLiterally) {
    // Interactive cmd keeps %% (only batch files halve it), and ^^ is one escaped ^.
    struct Case {
        std::string command;
        const wchar_t* file;
        std::string written;
    };
    const std::string longText(2000, 'L');
    const Case cases[] = {
        {"echo a+b~c> plus.txt", L"plus.txt", "a+b~c\r\n"},
        {"echo {x}[y](z)> brackets.txt", L"brackets.txt", "{x}[y](z)\r\n"},
        {"echo 5^^3> caret.txt", L"caret.txt", "5^3\r\n"},
        {"echo 100%> percent.txt", L"percent.txt", "100%\r\n"},
        {"echo +~{}[]()^^%%> all.txt", L"all.txt", "+~{}[]()^%%\r\n"},
        {"echo " + longText + "> long.txt", L"long.txt", longText + "\r\n"},
    };
    Session s;
    runningPrompt(s);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command.substr(0, 40));
        ASSERT_TRUE(execute(s, c.command));
        EXPECT_TRUE(fileHolds(s, c.file, c.written));
    }
}

TEST(Input, JapaneseAndCharactersBeyondBmpArrive) {
    const wchar_t* names[] = {
        L"日本語フォルダ",
        L"\U00020BB7野家",             // a kanji outside the BMP: a surrogate pair
        L"emoji\U0001F600 and space",  // the command quotes every name
    };
    Session s;
    runningPrompt(s);
    for (const wchar_t* name : names) {
        SCOPED_TRACE(narrow(name));
        ASSERT_TRUE(execute(s, "mkdir \"" + narrow(name) + "\""));
        EXPECT_TRUE(s.waitForDirectory(name)) << s.report();
    }
}

TEST(Input, EnterInTextBoxPressesInputOnly) {
    Session s;
    runningPrompt(s);
    s.setText(ids::txtCommand, "echo enter> e.txt");
    s.postKey(ids::txtCommand, VK_RETURN);
    ASSERT_TRUE(boxHolds(s, "")) << "Enter did not input the text";
    EXPECT_TRUE(buttonsEnabled(s));
    ASSERT_TRUE(execute(s, "x"));
    EXPECT_TRUE(fileHolds(s, L"e.txtx", "enter\r\n"));
    EXPECT_FALSE(s.fileExists(L"e.txt")) << "Enter executed the text\n" << s.report();
}

TEST(Input, ClearEmptiesBoxAndTypesNothing) {
    Session s;
    runningPrompt(s);
    s.setText(ids::txtCommand, "echo c> clr.txt");
    s.click(ids::cmdCleaer);
    EXPECT_EQ(s.text(ids::txtCommand), "");
    EXPECT_TRUE(buttonsEnabled(s));
    ASSERT_TRUE(execute(s, "echo after> after.txt"));
    EXPECT_TRUE(fileHolds(s, L"after.txt", "after\r\n"));
    EXPECT_FALSE(s.fileExists(L"clr.txt")) << s.report();
}

TEST(Input, AControlCharacterIsRefusedAndNothingReachesThePrompt) {
    Session s;
    runningPrompt(s);
    // A line waits on the prompt; anything typed after it would change what it writes.
    ASSERT_TRUE(inputOnly(s, "echo one> a.txt"));
    struct Case {
        std::string text;
        int button;
        const char* named;
    };
    const Case cases[] = {
        {"\b\b\b\bb.txt", ids::cmdSendAndDo, "バックスペース (U+0008)"},  // would write ab.txt
        {"\tx", ids::cmdSend, "タブ (U+0009)"},
        {"x\x1b", ids::cmdSendAndDo, "エスケープ (U+001B)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.named);
        s.setText(ids::txtCommand, c.text);
        postClickChild(s.window(), c.button);
        const HWND box = waitForBox(s, "Tavimero");
        ASSERT_NE(box, nullptr) << "no message\n" << s.report();
        const std::string message = messageBoxText(box);
        EXPECT_NE(message.find(c.named), std::string::npos) << message;
        EXPECT_NE(message.find("1 行目"), std::string::npos) << message;
        ASSERT_TRUE(pressAndWaitForClose(box, IDOK));
        EXPECT_EQ(s.text(ids::txtCommand), c.text);
        EXPECT_TRUE(buttonsEnabled(s));
    }
    ASSERT_TRUE(execute(s, ""));
    EXPECT_TRUE(fileHolds(s, L"a.txt", "one\r\n"));
    EXPECT_FALSE(s.fileExists(L"ab.txt")) << s.report();
}

}  // namespace
}  // namespace e2e
