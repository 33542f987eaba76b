#include "WineDrive.h"

#include <winioctl.h>

#include <cstring>
#include <vector>

namespace {

// Wine's mount manager: the request through which its configuration tool maps a drive letter.
constexpr DWORD DefineUnixDrive =
    CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
struct UnixDrive {
    ULONG size, type, fs_type;
    DWORD serial;
    ULONGLONG unix_dev;
    WCHAR letter;
    USHORT mount_point_offset, device_offset, label_offset;
};

// Maps letter to the Unix folder as a drive of the type; DRIVE_NO_ROOT_DIR takes it away.
bool Define(wchar_t letter, UINT type, const std::string& unixMountPoint) {
    HANDLE manager =
        CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE) return false;
    std::vector<char> request(sizeof(UnixDrive) + unixMountPoint.size() + 1);
    UnixDrive drive{};
    drive.size = static_cast<ULONG>(request.size());
    drive.type = type;
    drive.letter = letter;
    if (!unixMountPoint.empty()) drive.mount_point_offset = sizeof(UnixDrive);
    std::memcpy(request.data(), &drive, sizeof drive);
    std::memcpy(request.data() + sizeof drive, unixMountPoint.c_str(), unixMountPoint.size() + 1);
    DWORD returned = 0;
    const bool done =
        DeviceIoControl(manager, DefineUnixDrive, request.data(),
                        static_cast<DWORD>(request.size()), nullptr, 0, &returned, nullptr);
    CloseHandle(manager);
    return done;
}

// The Unix path of a Windows path, through Wine's own export.
std::string UnixPathOf(const std::wstring& path) {
    using Convert = char*(CDECL*)(const WCHAR*);
    const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unix = convert ? convert(path.c_str()) : nullptr;
    if (!unix) return {};
    std::string result(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

// The Windows path of a Unix path, through Wine's own export.
std::wstring WindowsPathOf(const std::string& path) {
    using Convert = WCHAR*(CDECL*)(const char*);
    const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    WCHAR* windows = convert ? convert(path.c_str()) : nullptr;
    if (!windows) return {};
    std::wstring result(windows);
    HeapFree(GetProcessHeap(), 0, windows);
    return result;
}

// A letter no drive uses, from M on.
wchar_t FreeLetter() {
    const DWORD used = GetLogicalDrives();
    for (int bit = 'M' - 'A'; bit < 26; ++bit) {
        if (!(used & (DWORD{1} << bit))) return static_cast<wchar_t>(L'A' + bit);
    }
    return 0;
}

}  // namespace

bool RunningUnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

WineDrive::WineDrive(UINT type, const std::wstring& folder) {
    if (RunningUnderWine()) define(type, UnixPathOf(folder));
}

WineDrive::WineDrive(const std::wstring& server, const std::wstring& share) {
    if (!RunningUnderWine()) return;
    // Wine keeps \\server\share as the folder dosdevices/unc/server/share of the prefix; a
    // network drive mapped relative to dosdevices is connected to that share.
    std::string dosdevices = UnixPathOf(L"C:\\");  // .../dosdevices/c:/
    dosdevices.resize(dosdevices.find_last_of('/', dosdevices.size() - 2));
    std::string mountPoint = "unc";
    CreateDirectoryW(WindowsPathOf(dosdevices + "/" + mountPoint).c_str(), nullptr);
    for (const std::wstring& part : {server, share}) {
        mountPoint += '/';
        for (wchar_t c : part) mountPoint += static_cast<char>(c);  // ASCII names only
        CreateDirectoryW(WindowsPathOf(dosdevices + "/" + mountPoint).c_str(), nullptr);
    }
    define(DRIVE_REMOTE, mountPoint);
}

void WineDrive::define(UINT type, const std::string& unixMountPoint) {
    const wchar_t letter = FreeLetter();
    if (letter && !unixMountPoint.empty() && Define(letter, type, unixMountPoint)) letter_ = letter;
}

WineDrive::~WineDrive() {
    if (letter_) Define(letter_, DRIVE_NO_ROOT_DIR, "");
}
