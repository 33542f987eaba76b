#include "platform/win32/Win32PromptLauncher.h"

#include "platform/win32/Wide.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32ProcessMemory.h"

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
    return directories_.read();
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
    // The prompt creates its console a moment later; whoever attaches to it first waits for it
    // (Win32ConsoleInput), so the window is not held up here.
    return std::make_unique<Win32PromptProcess>(UniqueHandle(started.hProcess),
                                                started.dwProcessId);
}
