#include "platform/win32/Win32FileIdentity.h"

#include <cstring>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Error.h"

namespace {

// The attributes a saved file keeps. Read-only is not among them: such a file is not replaced.
constexpr DWORD KeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::vector<unsigned char> AccessRightsOf(HANDLE original) {
    DWORD needed = 0;
    GetKernelObjectSecurity(original, DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0) ThrowSystemError();
    std::vector<unsigned char> descriptor(needed);
    if (!GetKernelObjectSecurity(original, DACL_SECURITY_INFORMATION, descriptor.data(), needed,
                                 &needed)) {
        ThrowSystemError();
    }
    return descriptor;
}

std::uint64_t Wide(DWORD high, DWORD low) { return (std::uint64_t{high} << 32) | low; }

}  // namespace

std::optional<KeptIdentity> ReadKeptIdentity(const std::wstring& original) {
    const DWORD attributes = GetFileAttributesW(original.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
        ThrowSystemError(error);
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) ThrowSystemError(ERROR_ACCESS_DENIED);
    UniqueHandle file(CreateFileW(original.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowSystemError();
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof basic)) {
        ThrowSystemError();
    }
    KeptIdentity kept;
    // Zero times are left as they are; the new content wants backing up like any changed file.
    kept.basic.CreationTime = basic.CreationTime;
    kept.basic.FileAttributes = (basic.FileAttributes & KeptAttributes) | FILE_ATTRIBUTE_ARCHIVE;
    // A volume that keeps no access rights (FAT) has none to hand over; one that does must not
    // let the new file fall back to the folder's, which may be wider.
    DWORD flags = 0;
    if (GetVolumeInformationByHandleW(file.get(), nullptr, 0, nullptr, nullptr, &flags, nullptr,
                                      0) &&
        (flags & FILE_PERSISTENT_ACLS)) {
        kept.security = AccessRightsOf(file.get());
    }
    return kept;
}

void ApplyKeptAttributes(HANDLE replacement, const KeptIdentity& kept) {
    FILE_BASIC_INFO basic = kept.basic;
    if (!SetFileInformationByHandle(replacement, FileBasicInfo, &basic, sizeof basic)) {
        ThrowSystemError();
    }
}

void RenameReplacing(HANDLE file, const std::wstring& target) {
    // The structure ends in the name, which the system reads up to its terminating null.
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::memcpy(rename->FileName, target.c_str(), (target.size() + 1) * sizeof(wchar_t));
    if (!SetFileInformationByHandle(file, FileRenameInfo, rename,
                                    static_cast<DWORD>(buffer.size()))) {
        ThrowSystemError();
    }
}

void DeleteOnClose(HANDLE file) noexcept {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

std::optional<FileStamp> StampOf(HANDLE file) noexcept {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) return std::nullopt;
    FileStamp stamp;
    stamp.volume = info.dwVolumeSerialNumber;
    stamp.idLow = Wide(info.nFileIndexHigh, info.nFileIndexLow);
    stamp.size = Wide(info.nFileSizeHigh, info.nFileSizeLow);
    stamp.lastWrite = Wide(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
    return stamp;
}
