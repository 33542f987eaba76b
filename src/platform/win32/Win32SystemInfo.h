#pragma once
#include <string>
#include <string_view>

#include "platform/SystemInfo.h"
#include "platform/win32/UniqueHandle.h"

class Win32SystemInfo final : public SystemInfo {
public:
    unsigned long platformId() override;
    std::string programFolder() override;
    std::string commandLine() override;
    bool claimSingleInstance() override;
    bool promptDelayedExpansion() override;

private:
    UniqueHandle instanceToken_;  // held until the program ends
};

// The folder part of a program file's full path: without the file name, ending in a
// backslash only at a drive root ("C:\").
std::wstring FolderOfProgramPath(std::wstring_view path);

// The arguments of a command line: everything after the program name (quoted or not) and
// the blanks that follow it, unaltered.
std::wstring ArgumentsOfCommandLine(std::wstring_view commandLine);
