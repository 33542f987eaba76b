#pragma once
#include <windows.h>

#include <optional>

#include "platform/PromptDirectories.h"

// The directories another process holds, read from its memory through a handle with
// PROCESS_QUERY_INFORMATION and PROCESS_VM_READ access. Nothing when the process has ended, the
// memory cannot be read or fails the checks, or this program cannot read a process of that
// bitness (a 32-bit build and a 64-bit process). Never throws.
std::optional<PromptDirectories> ReadProcessDirectories(HANDLE process) noexcept;
