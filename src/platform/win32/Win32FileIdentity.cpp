#include "platform/win32/Win32FileIdentity.h"

#include <cstring>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Error.h"

namespace {

// The attributes a saved file keeps. Read-only is not among them: such a file is not replaced.
constexpr DWORD KeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

void CopyAccessRights(HANDLE original, HANDLE replacement) {
    DWORD needed = 0;
    GetKernelObjectSecurity(original, DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0) ThrowSystemError();
    std::vector<unsigned char> descriptor(needed);
    if (!GetKernelObjectSecurity(original, DACL_SECURITY_INFORMATION, descriptor.data(), needed,
                                 &needed) ||
        !SetKernelObjectSecurity(replacement, DACL_SECURITY_INFORMATION, descriptor.data())) {
        ThrowSystemError();
    }
}

}  // namespace

void TakeOverIdentity(const std::wstring& original, HANDLE replacement) {
    UniqueHandle file(CreateFileW(original.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowSystemError();
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof basic)) {
        ThrowSystemError();
    }
    // Zero times are left as they are; the new content wants backing up like any changed file.
    FILE_BASIC_INFO kept{};
    kept.CreationTime = basic.CreationTime;
    kept.FileAttributes = (basic.FileAttributes & KeptAttributes) | FILE_ATTRIBUTE_ARCHIVE;
    if (!SetFileInformationByHandle(replacement, FileBasicInfo, &kept, sizeof kept)) {
        ThrowSystemError();
    }
    // A volume that keeps no access rights (FAT) has none to hand over; one that does must not
    // let the new file fall back to the folder's, which may be wider.
    DWORD flags = 0;
    if (GetVolumeInformationByHandleW(file.get(), nullptr, 0, nullptr, nullptr, &flags, nullptr,
                                      0) &&
        (flags & FILE_PERSISTENT_ACLS)) {
        CopyAccessRights(file.get(), replacement);
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
