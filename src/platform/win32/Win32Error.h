#pragma once
#include <windows.h>

#include <string>

// The system's own text for an error code, in UTF-8 and without the trailing line break.
std::string SystemErrorText(DWORD code);

// Throws PlatformError with the system text of the error code (by default the last error).
[[noreturn]] void ThrowSystemError(DWORD code = GetLastError());
