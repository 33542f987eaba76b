#include <atomic>

#include "PromptFixture.h"
#include "platform/PlatformError.h"

namespace {

using ConsoleInputTest = PromptFixture;

// cmd reads the command line itself: what it writes proves which characters arrived.
TEST_F(ConsoleInputTest, CommandLineCharactersArriveLiterally) {
    struct Case {
        const char* typed;
        const wchar_t* file;
        const char* written;
    };
    const Case cases[] = {
        {"echo +~{}[]()> plain.txt\r", L"plain.txt", "+~{}[]()\r\n"},
        // On the interactive command line %PATH:~0,0% expands to nothing and ^^ to ^: both
        // only happen when % and ^ reach cmd as themselves.
        {"echo %PATH:~0,0%x^^+~{}[]()> special.txt\r", L"special.txt", "x^+~{}[]()\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Type(c.typed);
        EXPECT_EQ(WaitForFile(c.file), c.written);
    }
}

TEST_F(ConsoleInputTest, LineReadByAProgramKeepsEveryCharacter) {
    // set /p takes the next line unparsed, and "set" prints it back unaltered.
    const std::string raw = "%PATH%^^&|<>\"'!+~{}[]()=;,";
    Type("set /p tvmprobe=\r" + raw + "\rset tvmprobe> probe.txt\r");
    EXPECT_EQ(WaitForFile(L"probe.txt"), "tvmprobe=" + raw + "\r\n");
}

TEST_F(ConsoleInputTest, TextWithoutEnterWaitsOnTheLineUntilALoneEnter) {
    Type("echo a");
    Type("b> joined.txt");
    Type("\r");
    EXPECT_EQ(WaitForFile(L"joined.txt"), "ab\r\n");
}

TEST_F(ConsoleInputTest, EscapeEmptiesTheCommandLine) {
    Type("echo stale> stale.txt");
    console.type(prompt->id(), {PromptKey{.escape = true}});
    Type("echo fresh> fresh.txt\r");
    EXPECT_EQ(WaitForFile(L"fresh.txt"), "fresh\r\n");
    EXPECT_EQ(GetFileAttributesW(folder.file(L"stale.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ConsoleInputTest, JapaneseAndNonBmpNamesArriveIntact) {
    for (const std::wstring name : {L"日本語のフォルダ", L"\U0002000B\U0002123D"}) {
        SCOPED_TRACE(ToUtf8(name));
        Type("mkdir " + ToUtf8(name) + "\r");
        EXPECT_TRUE(WaitUntil([&] { return IsDirectory(folder.file(name)); }));
    }
}

TEST_F(ConsoleInputTest, LeavesNoConsoleAttachedAfterSuccessOrFailure) {
    Type("echo done> done.txt\r");
    EXPECT_EQ(GetConsoleWindow(), nullptr);
    console.activateConsoleWindow(prompt->id());
    EXPECT_EQ(GetConsoleWindow(), nullptr);
    ASSERT_EQ(WaitForFile(L"done.txt"), "done\r\n");

    const std::uint32_t ended = prompt->id();
    End();
    EXPECT_THROW(Type("echo late\r"), PlatformError);
    EXPECT_EQ(GetConsoleWindow(), nullptr);
    EXPECT_NO_THROW(console.activateConsoleWindow(ended));
    EXPECT_EQ(GetConsoleWindow(), nullptr);
}

// Noted by a handler registered after the program's own, so it runs first and passes the
// signal on.
std::atomic<int> interruptsSeen{0};
BOOL WINAPI NoteInterrupt(DWORD) {
    ++interruptsSeen;
    return FALSE;
}

TEST_F(ConsoleInputTest, CtrlCInThePromptsConsoleLeavesThisProgramRunning) {
    // Without a handler of its own this process would end at the signal, as the default handler
    // ends every process on the console: reaching the end of the test is the check. (Wine's cmd
    // itself ends at Ctrl+C; the real one prints ^C and prompts again.)
    Type("rem first\r");
    {
        const std::unique_ptr<AttachedConsole> attached = console.attach(prompt->id());
        ASSERT_TRUE(SetConsoleCtrlHandler(NoteInterrupt, TRUE));
        ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));  // to every process on it
        EXPECT_TRUE(WaitUntil([] { return interruptsSeen > 0; }));
    }
    EXPECT_EQ(GetConsoleWindow(), nullptr);
}

}  // namespace
