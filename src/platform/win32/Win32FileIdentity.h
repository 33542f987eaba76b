#pragma once
#include <windows.h>

#include <string>

// What makes a file more than its bytes, handed from a file to the copy that replaces it, and
// the replacing itself. Each throws PlatformError with the system's text.

// Gives replacement what the file at original has besides its bytes: its hidden, system and
// not-indexed attributes, its creation time, and its access rights where the volume keeps
// them. replacement needs FILE_WRITE_ATTRIBUTES and WRITE_DAC.
void TakeOverIdentity(const std::wstring& original, HANDLE replacement);

// Renames the open file to target in one step, replacing a file there. Needs DELETE access.
void RenameReplacing(HANDLE file, const std::wstring& target);

// Marks the open file to be removed when its last handle closes; a failure is ignored. Needs
// DELETE access.
void DeleteOnClose(HANDLE file) noexcept;
