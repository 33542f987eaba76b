#include "platform/win32/Win32SystemInfo.h"

#include <windows.h>

#include "platform/win32/Wide.h"
#include "platform/win32/Win32Error.h"

std::wstring FolderOfProgramPath(std::wstring_view path) {
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring_view::npos) return {};
    std::wstring folder(path.substr(0, slash));
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    return folder;
}

std::wstring ArgumentsOfCommandLine(std::wstring_view commandLine) {
    // As the C runtime reads it: a quoted name ends at the closing quote, an unquoted one at
    // the first blank.
    size_t position = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const size_t closing = commandLine.find(L'"', 1);
        position = closing == std::wstring_view::npos ? commandLine.size() : closing + 1;
    } else {
        while (position < commandLine.size() && commandLine[position] != L' ' &&
               commandLine[position] != L'\t')
            ++position;
    }
    while (position < commandLine.size() &&
           (commandLine[position] == L' ' || commandLine[position] == L'\t'))
        ++position;
    return std::wstring(commandLine.substr(position));
}

unsigned long Win32SystemInfo::platformId() {
    // The ANSI structure on purpose: its size tells the system which layout is asked for.
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&version)) ThrowSystemError();
#pragma GCC diagnostic pop
    return version.dwPlatformId;
}

std::string Win32SystemInfo::programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) ThrowSystemError();
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);  // truncated: a long path
    }
    return ToUtf8(FolderOfProgramPath(path));
}

std::string Win32SystemInfo::commandLine() {
    return ToUtf8(ArgumentsOfCommandLine(GetCommandLineW()));
}

bool Win32SystemInfo::claimSingleInstance() {
    if (instanceToken_) return true;
    UniqueHandle token(CreateMutexW(nullptr, FALSE, L"Local\\Tavimero.SingleInstance"));
    const DWORD error = GetLastError();
    if (!token) ThrowSystemError(error);
    if (error == ERROR_ALREADY_EXISTS) return false;
    instanceToken_ = std::move(token);
    return true;
}

bool Win32SystemInfo::promptDelayedExpansion() {
    // The order in which cmd.exe reads its setting: the user's value before the machine's.
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        DWORD value = 0;
        DWORD size = sizeof value;
        if (RegGetValueW(root, L"Software\\Microsoft\\Command Processor", L"DelayedExpansion",
                         RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS)
            return value != 0;
    }
    return false;
}
