#include "PromptFixture.h"
#include "platform/PlatformError.h"

namespace {

using PromptProcessTest = PromptFixture;

TEST_F(PromptProcessTest, StartsInTheFolderGivenWithOrWithoutTrailingBackslash) {
    for (const std::wstring suffix : {L"", L"\\"}) {
        SCOPED_TRACE(ToUtf8(suffix));
        Restart(folder.path() + suffix);
        DeleteFileW(folder.file(L"cwd.txt").c_str());
        Type("cd> cwd.txt\r");
        EXPECT_EQ(WaitForFile(L"cwd.txt"), ToUtf8(folder.path()) + "\r\n");
    }
}

TEST_F(PromptProcessTest, CountsAsEndedAfterExitWhateverTheExitCode) {
    // 259 is STILL_ACTIVE: a test of the exit code would take the ended prompt for running.
    for (const char* command : {"exit\r", "exit 259\r"}) {
        SCOPED_TRACE(command);
        Restart(folder.path());
        ASSERT_TRUE(prompt->isRunning());
        Type(command);
        EXPECT_TRUE(WaitUntil([&] { return !prompt->isRunning(); }));
    }
}

TEST_F(PromptProcessTest, TerminateEndsThePrompt) {
    ASSERT_TRUE(prompt->isRunning());
    prompt->terminate();
    EXPECT_TRUE(WaitUntil([&] { return !prompt->isRunning(); }));
}

TEST_F(PromptProcessTest, StartFailuresThrowTheSystemText) {
    // command.com is looked for in the Windows folder only; the NT family has none there.
    wchar_t windows[MAX_PATH + 1] = {};
    GetWindowsDirectoryW(windows, MAX_PATH + 1);
    const bool noCommandCom =
        GetFileAttributesW((std::wstring(windows) + L"\\command.com").c_str()) ==
        INVALID_FILE_ATTRIBUTES;
    struct Case {
        SystemPrompt prompt;
        std::string folder;
        const char* what;
    };
    const Case cases[] = {
        {SystemPrompt::Cmd, ToUtf8(folder.file(L"missing")), "cmd.exe in a missing folder"},
        {SystemPrompt::CommandCom, ToUtf8(folder.path()), "command.com where there is none"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.prompt == SystemPrompt::CommandCom && !noCommandCom) continue;
        try {
            launcher.start(c.prompt, c.folder);
            ADD_FAILURE() << "no exception";
        } catch (const PlatformError& error) {
            EXPECT_STRNE(error.what(), "");
        }
    }
}

}  // namespace
