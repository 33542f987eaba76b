#include "platform/win32/Win32PromptLauncher.h"

#include "platform/win32/Wide.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32ProcessMemory.h"

namespace {

// The new prompt creates its console while it starts up, a moment after CreateProcessW has
// returned; until then its console cannot be attached and typing into it would fail. Waits
// until it can be attached, the process has ended, or a few seconds have passed.
void WaitForConsole(HANDLE process, DWORD processId) {
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while (GetTickCount64() < deadline) {
        FreeConsole();
        if (AttachConsole(processId)) {
            FreeConsole();
            return;
        }
        if (WaitForSingleObject(process, 10) != WAIT_TIMEOUT) return;
    }
}

}  // namespace

Win32PromptProcess::Win32PromptProcess(UniqueHandle process, std::uint32_t id)
    : process_(std::move(process)), id_(id) {}

bool Win32PromptProcess::isRunning() const {
    // Asks the handle, not the exit code: a prompt that ended with "exit 259" reports
    // STILL_ACTIVE as its code but has ended all the same.
    return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

void Win32PromptProcess::terminate() {
    if (!TerminateProcess(process_.get(), 0)) ThrowSystemError();
}

std::optional<PromptDirectories> Win32PromptProcess::readDirectories() const {
    return ReadProcessDirectories(process_.get());
}

std::unique_ptr<PromptProcess> Win32PromptLauncher::start(const std::string& program,
                                                          const std::string& folder) {
    // CreateProcessW may write into the command line, so it gets a buffer of its own.
    std::wstring commandLine = ToWide(program);
    const std::wstring directory = ToWide(folder);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNOACTIVATE;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                        nullptr, directory.empty() ? nullptr : directory.c_str(), &startup,
                        &started))
        ThrowSystemError();
    CloseHandle(started.hThread);
    WaitForConsole(started.hProcess, started.dwProcessId);
    return std::make_unique<Win32PromptProcess>(UniqueHandle(started.hProcess),
                                                started.dwProcessId);
}
