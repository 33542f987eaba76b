#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

// What makes a file more than its bytes, handed from a file to the new file that replaces it,
// the replacing itself, and the stamp that tells one state of a file from another. Each throws
// PlatformError with the system's text unless it says otherwise.

// What a replacement takes over from the file it replaces.
struct KeptIdentity {
    // Its creation time and its hidden, system and not-indexed attributes, ready to be set.
    FILE_BASIC_INFO basic{};
    // A self-relative security descriptor holding its access rights; empty on a volume that
    // keeps none (FAT), where the new file gets the folder's.
    std::vector<unsigned char> security;
};

// What the file at original hands on; nothing when no file is there. A read-only file is
// refused (ERROR_ACCESS_DENIED): Windows would not replace it, and Wine would.
std::optional<KeptIdentity> ReadKeptIdentity(const std::wstring& original);

// Gives the open replacement the attributes and creation time. Needs FILE_WRITE_ATTRIBUTES.
void ApplyKeptAttributes(HANDLE replacement, const KeptIdentity& kept);

// Renames the open file to target in one step, replacing a file there. Needs DELETE access.
void RenameReplacing(HANDLE file, const std::wstring& target);

// Marks the open file to be removed when its last handle closes; a failure is ignored. Needs
// DELETE access.
void DeleteOnClose(HANDLE file) noexcept;

// The volume, id, size and last-write time of the open file; nothing when the system cannot
// say. Needs no access beyond opening.
std::optional<FileStamp> StampOf(HANDLE file) noexcept;
