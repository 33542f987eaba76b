#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include "platform/win32/Wide.h"

bool Win32FileSystem::directoryExists(const std::string& path) {
    // The program runs with SEM_FAILCRITICALERRORS, so a drive without media fails quietly.
    const DWORD attributes = GetFileAttributesW((ToWide(path) + L"\\").c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
