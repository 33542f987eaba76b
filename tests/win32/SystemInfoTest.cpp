#include <gtest/gtest.h>

#include "platform/win32/Wide.h"
#include "platform/win32/Win32SystemInfo.h"

namespace {

TEST(SystemInfoTest, FolderOfProgramPath) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"C:\\Tools\\Tavimero\\Tavimero.exe", L"C:\\Tools\\Tavimero"},
        {L"C:\\Tavimero.exe", L"C:\\"},  // a drive root keeps its backslash
        {L"D:\\ツール\\Tavimero.exe", L"D:\\ツール"},
        {L"\\\\server\\share\\Tavimero.exe", L"\\\\server\\share"},
    };
    for (const auto& [path, folder] : cases) {
        SCOPED_TRACE(ToUtf8(path));
        EXPECT_EQ(FolderOfProgramPath(path), folder);
    }
}

TEST(SystemInfoTest, ArgumentsOfCommandLine) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"Tavimero.exe", L""},
        {L"Tavimero.exe   /x  \"a b\" ", L"/x  \"a b\" "},  // the rest stays as it was
        {L"\"C:\\Program Files\\Tavimero.exe\" C:\\work", L"C:\\work"},
        {L"\"C:\\Program Files\\Tavimero.exe\"", L""},
        {L"\"Tavimero.exe\"arg", L"arg"},  // a quoted name ends at its closing quote
        {L"Tavimero.exe\t\tD:\\", L"D:\\"},
        {L"\"unterminated name", L""},
        {L"", L""},
    };
    for (const auto& [line, arguments] : cases) {
        SCOPED_TRACE(ToUtf8(line));
        EXPECT_EQ(ArgumentsOfCommandLine(line), arguments);
    }
}

TEST(SystemInfoTest, PlatformIsTheNtFamily) {
    Win32SystemInfo system;
    EXPECT_EQ(system.platformId(), static_cast<unsigned long>(VER_PLATFORM_WIN32_NT));
}

TEST(SystemInfoTest, SingleInstanceTokenIsHeldForTheSession) {
    Win32SystemInfo system;
    ASSERT_TRUE(system.claimSingleInstance());
    // A second program asking for the same token finds it taken.
    HANDLE other = CreateMutexW(nullptr, FALSE, L"Local\\Tavimero.SingleInstance");
    const DWORD error = GetLastError();
    ASSERT_NE(other, nullptr);
    CloseHandle(other);
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    Win32SystemInfo second;
    EXPECT_FALSE(second.claimSingleInstance());
}

}  // namespace
