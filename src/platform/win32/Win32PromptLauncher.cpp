#include "platform/win32/Win32PromptLauncher.h"

#include "platform/win32/Wide.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32ProcessMemory.h"

namespace {

constexpr int kStartAttempts = 3;
constexpr DWORD kStartRetryMilliseconds = 100;

// The prompt's full path: cmd.exe in the system folder, command.com in the Windows folder.
// Named in full so that CreateProcessW never searches the program's or the current folder.
std::wstring SystemPromptPath(SystemPrompt prompt) {
    const bool cmd = prompt == SystemPrompt::Cmd;
    std::wstring folder(MAX_PATH, L'\0');
    for (;;) {
        const UINT size = static_cast<UINT>(folder.size());
        const UINT length = cmd ? GetSystemDirectoryW(folder.data(), size)
                                : GetWindowsDirectoryW(folder.data(), size);
        if (length == 0) ThrowSystemError();
        if (length < size) {
            folder.resize(length);
            break;
        }
        folder.resize(length);  // too small: length is the size needed, with its null
    }
    if (folder.back() != L'\\') folder += L'\\';
    return folder + (cmd ? L"cmd.exe" : L"command.com");
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
    return directories_.read();
}

std::unique_ptr<PromptProcess> Win32PromptLauncher::start(SystemPrompt prompt,
                                                          const std::string& folder) {
    const std::wstring program = SystemPromptPath(prompt);
    // The program's own path, quoted, is the whole command line. CreateProcessW may write into
    // the command line, so it gets a buffer of its own.
    std::wstring commandLine = L"\"" + program + L"\"";
    const std::wstring directory = ToWide(folder);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNOACTIVATE;
    PROCESS_INFORMATION started{};
    // A system under load may fail to set up the new process and report ERROR_INTERNAL_ERROR
    // (seen under Wine); that passes, so the start is tried a few times before it fails.
    for (int attempt = 1;; ++attempt) {
        if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                           CREATE_NEW_CONSOLE, nullptr,
                           directory.empty() ? nullptr : directory.c_str(), &startup, &started))
            break;
        const DWORD error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR || attempt == kStartAttempts) ThrowSystemError(error);
        Sleep(kStartRetryMilliseconds);
    }
    CloseHandle(started.hThread);
    // The prompt creates its console a moment later; whoever attaches to it first waits for it
    // (Win32ConsoleInput), so the window is not held up here.
    return std::make_unique<Win32PromptProcess>(UniqueHandle(started.hProcess),
                                                started.dwProcessId);
}
