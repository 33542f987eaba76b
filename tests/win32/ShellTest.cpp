#include <gtest/gtest.h>

#include <chrono>

#include "TestSupport.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Shell.h"

namespace {

using namespace std::chrono_literals;

// Opening a batch file runs it, as a double-click would: its effect shows that the path
// reached the shell whole (blanks and Japanese in it).
TEST(ShellTest, OpenRunsTheTargetWithItsOpenVerb) {
    TempFolder folder(L"tvm 日本");
    const std::wstring script = folder.file(L"run me.bat");
    WriteFileBytes(script, "@echo opened> \"%~dp0opened.txt\"\r\n");
    Win32Shell shell;
    shell.open(ToUtf8(script));
    EXPECT_TRUE(
        WaitUntil([&] { return ReadFileBytes(folder.file(L"opened.txt")) == "opened\r\n"; }, 20s));
}

}  // namespace
