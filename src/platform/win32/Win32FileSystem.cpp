#include "platform/win32/Win32FileSystem.h"

#include <windows.h>
#include <winnetwk.h>

#include <algorithm>
#include <cwchar>
#include <utility>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32FileIdentity.h"
#include "text/Path.h"

namespace {

constexpr DWORD HiddenOrSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// "C" or "c:" names drive C; anything else names no drive.
wchar_t DriveLetterOf(const std::string& drive) {
    if (drive.empty() || drive.size() > 2 || (drive.size() == 2 && drive[1] != ':')) return 0;
    const char letter = drive[0];
    if (letter >= 'a' && letter <= 'z') return static_cast<wchar_t>(letter - 'a' + 'A');
    if (letter >= 'A' && letter <= 'Z') return static_cast<wchar_t>(letter);
    return 0;
}

// The root of a drive ("C" or "c:" -> C:\); throws for anything else.
std::wstring RootOf(const std::string& drive) {
    const wchar_t letter = DriveLetterOf(drive);
    if (!letter) ThrowSystemError(ERROR_INVALID_DRIVE);
    return {letter, L':', L'\\'};
}

// Orders names by the user's collation, without regard to case, as the system's lists do.
bool NameBefore(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                          static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) == CSTR_LESS_THAN;
}

}  // namespace

bool Win32FileSystem::directoryExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW((ToWide(path) + L"\\").c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileSystem::fileExists(const std::string& path) {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | HiddenOrSystem)) == 0;
}

std::vector<std::string> Win32FileSystem::drives() {
    // The drive map alone: no drive is opened, so an empty floppy or card reader stays quiet.
    const DWORD map = GetLogicalDrives();
    std::vector<std::string> letters;
    for (int bit = 0; bit < 26; ++bit) {
        if (map & (DWORD{1} << bit))
            letters.push_back(std::string(1, static_cast<char>('A' + bit)));
    }
    return letters;
}

DriveKind Win32FileSystem::driveKind(const std::string& drive) {
    if (!DriveLetterOf(drive)) return DriveKind::Unknown;
    // Answered from the system's table of drive letters: no media, no server.
    switch (GetDriveTypeW(RootOf(drive).c_str())) {
    case DRIVE_FIXED:
        return DriveKind::Fixed;
    case DRIVE_REMOVABLE:
        return DriveKind::Removable;
    case DRIVE_CDROM:
        return DriveKind::CdRom;
    case DRIVE_REMOTE:
        return DriveKind::Remote;
    case DRIVE_RAMDISK:
        return DriveKind::RamDisk;
    default:
        return DriveKind::Unknown;
    }
}

std::optional<std::string> Win32FileSystem::connectionName(const std::string& drive) {
    const wchar_t letter = DriveLetterOf(drive);
    if (!letter) return std::nullopt;
    const wchar_t local[] = {letter, L':', L'\0'};
    std::wstring remote(MAX_PATH, L'\0');
    for (;;) {
        DWORD size = static_cast<DWORD>(remote.size());
        const DWORD result = WNetGetConnectionW(local, remote.data(), &size);
        // A remembered connection that is down keeps its name; the network client knows it
        // without asking the server.
        if (result == NO_ERROR || result == ERROR_CONNECTION_UNAVAIL) {
            remote.resize(std::wcslen(remote.c_str()));
            if (remote.empty()) return std::nullopt;
            return ToUtf8(remote);
        }
        if (result != ERROR_MORE_DATA) return std::nullopt;
        remote.resize(std::max<size_t>(size, remote.size() * 2));
    }
}

std::string Win32FileSystem::volumeLabel(const std::string& drive) {
    const std::wstring root = RootOf(drive);
    wchar_t label[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr,
                               nullptr, 0)) {
        ThrowSystemError();
    }
    return ToUtf8(label);
}

std::vector<FolderEntry> Win32FileSystem::listFolder(const std::string& folder) {
    std::wstring pattern = ToWide(folder);
    if (pattern.empty() || pattern.back() != L'\\') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        // A drive root without any entry has no "." either: it is an empty folder.
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return {};
        ThrowSystemError(error);
    }
    std::vector<std::pair<std::wstring, DWORD>> names;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        // A name with an unpaired surrogate has no exact UTF-8 form: shown as another name, it
        // would lead to another file, so it is left out.
        if (!HasExactUtf8(name)) continue;
        names.emplace_back(name, found.dwFileAttributes);
    } while (FindNextFileW(search, &found));
    const DWORD error = GetLastError();
    FindClose(search);
    if (error != ERROR_NO_MORE_FILES) ThrowSystemError(error);

    std::stable_sort(names.begin(), names.end(),
                     [](const auto& a, const auto& b) { return NameBefore(a.first, b.first); });
    std::vector<FolderEntry> entries;
    entries.reserve(names.size());
    for (const auto& [name, attributes] : names) {
        entries.push_back({ToUtf8(name), (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                           (attributes & FILE_ATTRIBUTE_HIDDEN) != 0,
                           (attributes & FILE_ATTRIBUTE_SYSTEM) != 0});
    }
    return entries;
}

std::string Win32FileSystem::readFile(const std::string& path, std::uint64_t maxBytes) {
    UniqueHandle file(CreateFileW(ToWide(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) ThrowSystemError();
    std::string bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.get(), &size)) {
        const auto found = static_cast<std::uint64_t>(size.QuadPart);
        if (found > maxBytes) throw FileTooLarge(maxBytes);
        if (found <= bytes.max_size()) bytes.reserve(static_cast<size_t>(found));
    }
    // Read to the end rather than to the size found first: the file may grow meanwhile.
    char buffer[64 * 1024];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) ThrowSystemError();
        if (read == 0) break;
        if (read > maxBytes - bytes.size()) throw FileTooLarge(maxBytes);
        bytes.append(buffer, read);
    }
    return bytes;
}

std::string Win32FileSystem::finalPath(const std::string& path) {
    const std::wstring wide = ToWide(path);
    // Opened for its name only, which no other program's sharing mode can refuse.
    UniqueHandle file(CreateFileW(wide.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        // Nothing there yet: the file is made at the path itself. A link that leads nowhere is
        // there, and must not be replaced by a file.
        const bool absent = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        if (absent && GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) return path;
        ThrowSystemError(error);
    }
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFinalPathNameByHandleW(file.get(), final.data(), static_cast<DWORD>(final.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) ThrowSystemError();
        const bool fitted = length < final.size();
        final.resize(length);  // when it did not fit, the length asked for, with its null
        if (fitted) break;
    }
    return path::WithoutLongPrefix(ToUtf8(final));
}

std::string Win32FileSystem::createTemporaryFile(const std::string& folder) {
    const std::wstring where = folder.empty() ? std::wstring(L".") : ToWide(folder);
    wchar_t path[MAX_PATH + 1] = {};
    // Number 0: the system picks an unused name and creates the file, empty.
    if (!GetTempFileNameW(where.c_str(), L"tvm", 0, path)) ThrowSystemError();
    return ToUtf8(path);
}

void Win32FileSystem::writeFile(const std::string& path, const std::string& bytes) {
    UniqueHandle file(CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowSystemError();
    size_t offset = 0;
    while (offset < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - offset, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data() + offset, chunk, &written, nullptr)) {
            ThrowSystemError();
        }
        if (written == 0) ThrowSystemError(ERROR_WRITE_FAULT);
        offset += written;
    }
    if (!FlushFileBuffers(file.get())) ThrowSystemError();
    // Closing can be where a network drive reports a failed write.
    if (!CloseHandle(file.release())) ThrowSystemError();
}

void Win32FileSystem::moveReplacing(const std::string& temporary, const std::string& target) {
    const std::wstring wideTarget = ToWide(target);
    // Opened with the rights to rename and to delete it before its access rights change: rights
    // taken over from the target that deny them cannot strand it. Shared with a virus scanner
    // that may be reading the new file.
    UniqueHandle replacement(CreateFileW(ToWide(temporary).c_str(),
                                         DELETE | WRITE_DAC | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!replacement) ThrowSystemError();
    try {
        const DWORD attributes = GetFileAttributesW(wideTarget.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            // Windows refuses to replace a read-only file; Wine would replace it. Refused on both.
            if (attributes & FILE_ATTRIBUTE_READONLY) ThrowSystemError(ERROR_ACCESS_DENIED);
            TakeOverIdentity(wideTarget, replacement.get());
        }
        RenameReplacing(replacement.get(), wideTarget);
    } catch (const PlatformError&) {
        DeleteOnClose(replacement.get());
        throw;
    }
}

void Win32FileSystem::removeFile(const std::string& path) { DeleteFileW(ToWide(path).c_str()); }

std::string Win32FileSystem::currentDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(path.size()), path.data());
        if (length == 0) ThrowSystemError();
        if (length < path.size()) {
            path.resize(length);
            return ToUtf8(path);
        }
        path.resize(length);  // too small: length is the size needed, with its null
    }
}

void Win32FileSystem::setCurrentDirectory(const std::string& path) {
    if (!SetCurrentDirectoryW(ToWide(path).c_str())) ThrowSystemError();
}
