#include "platform/win32/Win32Shell.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/win32/Wide.h"
#include "platform/win32/Win32FileDialogs.h"

void Win32Shell::open(const std::string& target) {
    // The outcome is not looked at: where nothing opens the target, the shell says so itself.
    ShellExecuteW(ProgramOwnerWindow(), L"open", ToWide(target).c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
}
