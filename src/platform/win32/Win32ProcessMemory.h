#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

#include "directory/PromptMemory.h"
#include "platform/PromptDirectories.h"

// The directories another process holds, read from its memory through a handle with
// PROCESS_QUERY_INFORMATION and PROCESS_VM_READ access, again and again (the prompt is read on a
// timer): where its PEB lies is found once, and the result of each read is kept so that the
// next one, when it finds the same, needs no second read to be trusted (ReadPromptDirectories).
class ProcessDirectoryReader {
public:
    // The handle stays the caller's and must outlive the reader.
    explicit ProcessDirectoryReader(HANDLE process) : process_(process) {}
    // Nothing when the process has ended, the memory cannot be read or fails the checks, or this
    // program cannot read a process of that bitness (a 32-bit build and a 64-bit process).
    std::optional<PromptDirectories> read() noexcept;

private:
    struct PebPlace {
        std::uint64_t address;
        const ProcessLayout* layout;
    };
    HANDLE process_;
    std::optional<PebPlace> peb_;
    std::optional<PromptDirectories> last_;
};
