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
    const std::string missingFolder = ToUtf8(folder.file(L"missing"));
    const std::pair<std::string, std::string> cases[] = {
        {"cmd.exe", missingFolder},
        {"tavimero-no-such-program.exe", ToUtf8(folder.path())},
    };
    for (const auto& [program, where] : cases) {
        SCOPED_TRACE(program + " in " + where);
        try {
            launcher.start(program, where);
            ADD_FAILURE() << "no exception";
        } catch (const PlatformError& error) {
            EXPECT_STRNE(error.what(), "");
        }
    }
}

}  // namespace
