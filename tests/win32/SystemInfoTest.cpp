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

constexpr const wchar_t* CommandProcessorKey = L"Software\\Microsoft\\Command Processor";

std::optional<DWORD> DelayedExpansionValue(HKEY root) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(root, CommandProcessorKey, L"DelayedExpansion", RRF_RT_REG_DWORD, nullptr,
                     &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

// Sets or removes (nullopt) the command processor's DelayedExpansion value under root.
bool SetDelayedExpansion(HKEY root, std::optional<DWORD> value) {
    if (!value) {
        const LSTATUS status = RegDeleteKeyValueW(root, CommandProcessorKey, L"DelayedExpansion");
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    return RegSetKeyValueW(root, CommandProcessorKey, L"DelayedExpansion", REG_DWORD, &*value,
                           sizeof *value) == ERROR_SUCCESS;
}

// The machine's and the user's values as they were, put back when the test ends.
class KeptDelayedExpansion {
public:
    KeptDelayedExpansion()
        : machine_(DelayedExpansionValue(HKEY_LOCAL_MACHINE)),
          user_(DelayedExpansionValue(HKEY_CURRENT_USER)) {}
    KeptDelayedExpansion(const KeptDelayedExpansion&) = delete;
    KeptDelayedExpansion& operator=(const KeptDelayedExpansion&) = delete;
    ~KeptDelayedExpansion() {
        SetDelayedExpansion(HKEY_LOCAL_MACHINE, machine_);
        SetDelayedExpansion(HKEY_CURRENT_USER, user_);
    }

private:
    std::optional<DWORD> machine_, user_;
};

TEST(SystemInfoTest, DelayedExpansionIsTheUsersSettingBeforeTheMachines) {
    struct Case {
        std::optional<DWORD> machine, user;
        bool on;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, false},
        {1, std::nullopt, true},
        {1, 0, false},
        {0, 1, true},
    };
    const KeptDelayedExpansion kept;
    Win32SystemInfo system;
    for (const Case& c : cases) {
        // The machine's settings need an administrator on Windows; under Wine anyone may.
        if (!SetDelayedExpansion(HKEY_LOCAL_MACHINE, c.machine))
            GTEST_SKIP() << "the machine's command processor settings cannot be written here";
        ASSERT_TRUE(SetDelayedExpansion(HKEY_CURRENT_USER, c.user));
        EXPECT_EQ(system.promptDelayedExpansion(), c.on)
            << "machine " << (c.machine ? std::to_string(*c.machine) : "-") << ", user "
            << (c.user ? std::to_string(*c.user) : "-");
    }
}

}  // namespace
