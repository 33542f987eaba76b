#include "platform/win32/Win32ProcessMemory.h"

#include <cstdint>

#include "directory/PromptMemory.h"

namespace {

// NtQueryInformationProcess classes: the process's own PEB, and the 32-bit PEB of a process
// under WOW64.
constexpr ULONG kProcessBasicInformation = 0;
constexpr ULONG kProcessWow64Information = 26;

// PROCESS_BASIC_INFORMATION as the system fills it for this program's bitness.
struct BasicInformation {
    LONG exitStatus;
    PVOID pebBaseAddress;
    ULONG_PTR affinityMask;
    LONG basePriority;
    ULONG_PTR uniqueProcessId;
    ULONG_PTR inheritedFromUniqueProcessId;
};

using QueryInformationProcess = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);

// Looked up at run time: ntdll's native calls are not part of the import libraries everywhere.
QueryInformationProcess QueryFunction() {
    static const auto function = reinterpret_cast<QueryInformationProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    return function;
}

struct PebLocation {
    std::uint64_t address;
    const ProcessLayout* layout;
};

std::optional<std::uint64_t> OwnBitnessPeb(QueryInformationProcess query, HANDLE process) {
    BasicInformation information{};
    if (query(process, kProcessBasicInformation, &information, sizeof information, nullptr) < 0)
        return std::nullopt;
    return reinterpret_cast<std::uintptr_t>(information.pebBaseAddress);
}

// Where the process's PEB is and which layout it has, as far as this build can read it.
std::optional<PebLocation> FindPeb(HANDLE process) {
    const QueryInformationProcess query = QueryFunction();
    BOOL processWow64 = FALSE;
    if (!query || !IsWow64Process(process, &processWow64)) return std::nullopt;
    std::optional<std::uint64_t> peb;
    const ProcessLayout* layout = nullptr;
    if constexpr (sizeof(void*) == 8) {
        if (processWow64) {
            ULONG_PTR peb32 = 0;
            if (query(process, kProcessWow64Information, &peb32, sizeof peb32, nullptr) >= 0)
                peb = peb32;
            layout = &kLayout32;
        } else {
            peb = OwnBitnessPeb(query, process);
            layout = &kLayout64;
        }
    } else {
        // A 32-bit program on a 64-bit system runs under WOW64 itself; a process that does not
        // is a 64-bit one, whose memory lies beyond this program's pointers.
        BOOL selfWow64 = FALSE;
        if (!IsWow64Process(GetCurrentProcess(), &selfWow64) || (selfWow64 && !processWow64))
            return std::nullopt;
        peb = OwnBitnessPeb(query, process);
        layout = &kLayout32;
    }
    if (!peb || *peb == 0) return std::nullopt;
    return PebLocation{*peb, layout};
}

bool ReadMemory(HANDLE process, std::uint64_t address, std::span<std::uint8_t> into) {
    if (address > UINTPTR_MAX || into.size() > UINTPTR_MAX - address) return false;
    SIZE_T read = 0;
    return ReadProcessMemory(process,
                             reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(address)),
                             into.data(), into.size(), &read) &&
           read == into.size();
}

}  // namespace

std::optional<PromptDirectories> ProcessDirectoryReader::read() noexcept {
    try {
        if (WaitForSingleObject(process_, 0) != WAIT_TIMEOUT) return std::nullopt;
        // A process's PEB stays where it is for the process's life.
        if (!peb_) {
            const std::optional<PebLocation> found = FindPeb(process_);
            if (!found) return std::nullopt;
            peb_ = PebPlace{found->address, found->layout};
        }
        HANDLE process = process_;
        std::optional<PromptDirectories> directories = ReadPromptDirectories(
            peb_->address, *peb_->layout,
            [process](std::uint64_t address, std::span<std::uint8_t> into) {
                return ReadMemory(process, address, into);
            },
            last_);
        if (directories) last_ = directories;
        return directories;
    } catch (...) {
        // Out of memory for the copies: as unreadable as any other failure.
        return std::nullopt;
    }
}
