#pragma once
#include <windows.h>

#include <string>

// True when the tests run under Wine.
bool RunningUnderWine();

// A drive letter mapped for the length of a test in the Wine prefix the tests run in, through
// Wine's mount manager as its configuration tool does it: a folder as a fixed, removable or CD
// drive, or a share as a network drive. Wine answers GetDriveTypeW and WNetGetConnectionW for
// it as Windows would for such a drive. Under Wine only; letter() is 0 when it could not be made.
class WineDrive {
public:
    // type is DRIVE_FIXED, DRIVE_REMOVABLE or DRIVE_CDROM; folder a Windows path.
    WineDrive(UINT type, const std::wstring& folder);
    // A network drive connected to \\server\share, a folder in the prefix.
    WineDrive(const std::wstring& server, const std::wstring& share);
    ~WineDrive();
    WineDrive(const WineDrive&) = delete;
    WineDrive& operator=(const WineDrive&) = delete;

    wchar_t letter() const { return letter_; }
    std::string name() const { return std::string(1, static_cast<char>(letter_)); }

private:
    void define(UINT type, const std::string& unixMountPoint);
    wchar_t letter_ = 0;
};
