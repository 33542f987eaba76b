#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

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

// Sets or removes (nullopt) the command processor's DelayedExpansion value under root.
void SetDelayedExpansion(HKEY root, std::optional<DWORD> value) {
    const wchar_t* key = L"Software\\Microsoft\\Command Processor";
    if (value) {
        ASSERT_EQ(
            RegSetKeyValueW(root, key, L"DelayedExpansion", REG_DWORD, &*value, sizeof *value),
            ERROR_SUCCESS);
    } else {
        RegDeleteKeyValueW(root, key, L"DelayedExpansion");
    }
}

TEST(SystemInfoTest, DelayedExpansionIsTheUsersSettingBeforeTheMachines) {
    struct Case {
        std::optional<DWORD> machine, user;
        bool on;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, false},
        {1, std::nullopt, true},
        {std::nullopt, 1, true},
        {1, 0, false},
        {0, 1, true},
        {0, std::nullopt, false},
    };
    Win32SystemInfo system;
    for (const Case& c : cases) {
        SetDelayedExpansion(HKEY_LOCAL_MACHINE, c.machine);
        SetDelayedExpansion(HKEY_CURRENT_USER, c.user);
        EXPECT_EQ(system.promptDelayedExpansion(), c.on)
            << "machine " << (c.machine ? std::to_string(*c.machine) : "-") << ", user "
            << (c.user ? std::to_string(*c.user) : "-");
    }
    SetDelayedExpansion(HKEY_LOCAL_MACHINE, std::nullopt);
    SetDelayedExpansion(HKEY_CURRENT_USER, std::nullopt);
}

}  // namespace
