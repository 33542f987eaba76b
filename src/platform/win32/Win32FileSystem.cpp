#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <utility>
#include <vector>

#include "platform/win32/SystemLibrary.h"
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

// The network client's record of a drive's connection (WNetGetConnectionW). mpr.dll is no
// known DLL, which Windows would protect from a copy planted beside the program: it is loaded
// from the system folder when first asked for.
using GetConnection = DWORD(WINAPI*)(LPCWSTR local, LPWSTR remote, LPDWORD size);
GetConnection NetworkConnections() {
    static const GetConnection function = [] {
        HMODULE module = LoadSystemLibrary(L"mpr.dll");
        return module ? reinterpret_cast<GetConnection>(
                            reinterpret_cast<void*>(GetProcAddress(module, "WNetGetConnectionW")))
                      : nullptr;
    }();
    return function;
}

// Longer paths take the \\?\ form, which every Windows version opens at any length; shorter
// ones stay as they are, relative ones included. The old limit of a folder is MAX_PATH less
// room for an 8.3 name.
constexpr size_t LongPathFrom = MAX_PATH - 12;

// The absolute form of a path (GetFullPathNameW), which works at any length; empty on failure.
std::wstring FullPathOf(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return {};
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);  // too small: length is the size needed, with its null
    }
}

// The path as the ...W file functions are handed it, at any length.
std::wstring FilePath(const std::string& path) {
    std::wstring wide = ToWide(path);
    if (wide.size() < LongPathFrom || wide.rfind(L"\\\\?\\", 0) == 0) return wide;
    const std::wstring full = FullPathOf(wide);
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return L"\\\\?\\" + full;
    return wide;
}

// The new file of a save: created under a name nobody holds, written, flushed and renamed
// through the one handle; deleted through it when dropped before the rename.
class Win32ReplacementFile final : public ReplacementFile {
public:
    Win32ReplacementFile(UniqueHandle file, std::wstring target, std::optional<KeptIdentity> kept)
        : file_(std::move(file)), target_(std::move(target)), kept_(std::move(kept)) {}
    ~Win32ReplacementFile() override {
        if (!replaced_) DeleteOnClose(file_.get());
    }

    void write(const std::string& bytes) override {
        size_t offset = 0;
        while (offset < bytes.size()) {
            const DWORD chunk =
                static_cast<DWORD>(std::min<size_t>(bytes.size() - offset, 1u << 20));
            DWORD written = 0;
            if (!WriteFile(file_.get(), bytes.data() + offset, chunk, &written, nullptr)) {
                ThrowSystemError();
            }
            if (written == 0) ThrowSystemError(ERROR_WRITE_FAULT);
            offset += written;
        }
        // A network drive or a full disk may report a failed write only here.
        if (!FlushFileBuffers(file_.get())) ThrowSystemError();
    }

    void replaceTarget() override {
        if (kept_) ApplyKeptAttributes(file_.get(), *kept_);
        RenameReplacing(file_.get(), target_);
        replaced_ = true;
    }

private:
    UniqueHandle file_;
    std::wstring target_;
    std::optional<KeptIdentity> kept_;
    bool replaced_ = false;
};

// A name for a new file that no other file in the folder is likely to hold; CREATE_NEW decides.
std::wstring CandidateName(unsigned attempt) {
    static unsigned counter = 0;
    const std::uint64_t seed = GetTickCount64() * 0x9E3779B97F4A7C15ull ^
                               (std::uint64_t{GetCurrentProcessId()} << 32) ^ ++counter ^ attempt;
    wchar_t name[32];
    swprintf(name, 32, L"tvm%08lX.tmp", static_cast<unsigned long>(seed ^ (seed >> 32)));
    return name;
}

}  // namespace

bool Win32FileSystem::directoryExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW((FilePath(path) + L"\\").c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32FileSystem::fileExists(const std::string& path) {
    if (path.empty()) return false;
    const DWORD attributes = GetFileAttributesW(FilePath(path).c_str());
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
        const GetConnection getConnection = NetworkConnections();
        if (!getConnection) return std::nullopt;
        const DWORD result = getConnection(local, remote.data(), &size);
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
    UniqueHandle file(CreateFileW(FilePath(path).c_str(), GENERIC_READ,
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

std::optional<FileStamp> Win32FileSystem::fileStamp(const std::string& path) {
    UniqueHandle file(CreateFileW(FilePath(path).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    return StampOf(file.get());
}

std::string Win32FileSystem::fullPath(const std::string& path) {
    if (path.empty()) return path;
    const std::wstring full = FullPathOf(ToWide(path));
    return full.empty() ? path : ToUtf8(full);
}

std::string Win32FileSystem::finalPath(const std::string& path) {
    const std::wstring wide = FilePath(path);
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
        if (length == 0) {
            const DWORD error = GetLastError();
            // Wine's asks for the name in a buffer of MAX_PATH of its own and fails for a
            // longer one, whatever the size offered. A file that is no link is its own final
            // path; the folders on the way may be links, and the new file goes beside it
            // through them all the same.
            const DWORD attributes = GetFileAttributesW(wide.c_str());
            if (error == ERROR_MORE_DATA && attributes != INVALID_FILE_ATTRIBUTES &&
                !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                return fullPath(path);
            }
            ThrowSystemError(error);
        }
        const bool fitted = length < final.size();
        final.resize(length);  // when it did not fit, the length asked for, with its null
        if (fitted) break;
    }
    return path::WithoutLongPrefix(ToUtf8(final));
}

std::unique_ptr<ReplacementFile> Win32FileSystem::createReplacement(const std::string& target) {
    const std::wstring wideTarget = FilePath(target);
    std::optional<KeptIdentity> kept = ReadKeptIdentity(wideTarget);
    // The target's access rights from the moment the file exists: a private list is never
    // readable by everyone, not even for a moment, and nothing is changed on it later.
    SECURITY_ATTRIBUTES rights{sizeof rights, nullptr, FALSE};
    if (kept && !kept->security.empty()) rights.lpSecurityDescriptor = kept->security.data();
    const auto folder = path::FolderOf(target);
    const std::string where = folder ? path::WithTrailingBackslash(*folder) : std::string();
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        // Created new, never opened by name: a file that someone put there under the name
        // first is left alone and another name is tried. Shared with a virus scanner that may
        // read the new file.
        UniqueHandle file(CreateFileW(FilePath(where + ToUtf8(CandidateName(attempt))).c_str(),
                                      GENERIC_WRITE | DELETE | SYNCHRONIZE,
                                      FILE_SHARE_READ | FILE_SHARE_DELETE, &rights, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            return std::make_unique<Win32ReplacementFile>(std::move(file), wideTarget,
                                                          std::move(kept));
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) ThrowSystemError(error);
    }
    ThrowSystemError(ERROR_FILE_EXISTS);
}

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
