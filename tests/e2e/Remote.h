#pragma once

// Reaching into the running program for what window messages alone cannot read: memory in its
// process for messages whose parameters point to memory the receiver fills (toolbar buttons,
// tooltip texts), and loading a helper library there (its menus).

#include <tlhelp32.h>

#include <stdexcept>
#include <string>

#include "Driver.h"

namespace e2e {

// A block of memory in another process, freed with the object.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, size_t size)
        : process_(process),
          address_(
              VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
        if (!address_)
            throw std::runtime_error("VirtualAllocEx failed (error " +
                                     std::to_string(GetLastError()) + ")");
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    ~RemoteMemory() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }

    LPARAM address(size_t offset = 0) const {
        return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset);
    }
    void write(const void* data, size_t size, size_t offset = 0) const {
        SIZE_T done = 0;
        if (!WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size,
                                &done) ||
            done != size)
            throw std::runtime_error("WriteProcessMemory failed");
    }
    void read(void* data, size_t size, size_t offset = 0) const {
        SIZE_T done = 0;
        if (!ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size,
                               &done) ||
            done != size)
            throw std::runtime_error("ReadProcessMemory failed");
    }
    template <class T>
    T read(size_t offset = 0) const {
        T value{};
        read(&value, sizeof value, offset);
        return value;
    }

private:
    HANDLE process_;
    void* address_;
};

// The address of kernel32's LoadLibraryW in another process: this process's address moved by
// the difference between the two processes' kernel32 load addresses.
inline FARPROC remoteLoadLibrary(DWORD pid) {
    HMODULE local = GetModuleHandleW(L"kernel32.dll");
    const auto localProc = reinterpret_cast<BYTE*>(GetProcAddress(local, "LoadLibraryW"));
    Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid));
    if (!snapshot) return nullptr;
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    for (BOOL ok = Module32FirstW(snapshot.get(), &module); ok;
         ok = Module32NextW(snapshot.get(), &module)) {
        if (sameTextIgnoringCase(module.szModule, L"kernel32.dll")) {
            return reinterpret_cast<FARPROC>(module.modBaseAddr +
                                             (localProc - reinterpret_cast<BYTE*>(local)));
        }
    }
    return nullptr;
}

// Loads the library at path into the process and waits until LoadLibraryW has returned there.
inline bool loadLibraryInto(HANDLE process, DWORD pid, const std::wstring& path,
                            milliseconds timeout) {
    const FARPROC load = remoteLoadLibrary(pid);
    if (!load) return false;
    RemoteMemory name(process, (path.size() + 1) * sizeof(wchar_t));
    name.write(path.c_str(), (path.size() + 1) * sizeof(wchar_t));
    const auto start = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(load));
    Handle thread(CreateRemoteThread(process, nullptr, 0, start,
                                     reinterpret_cast<void*>(name.address()), 0, nullptr));
    return thread &&
           WaitForSingleObject(thread.get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

}  // namespace e2e
