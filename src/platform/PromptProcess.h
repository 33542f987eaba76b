#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/PromptDirectories.h"

// A started prompt. The object keeps the process handle from the start until it is
// destroyed, so liveness and termination always concern this very process, never a
// stranger that was later given the same process id.
class PromptProcess {
public:
    virtual ~PromptProcess() = default;
    virtual std::uint32_t id() const = 0;
    // True while the process has not ended (whatever exit code it may later report).
    virtual bool isRunning() const = 0;
    // Ends the process with exit code 0. Throws PlatformError on failure.
    virtual void terminate() = 0;
    // The directories the process holds right now, read from its memory. Nothing when they
    // cannot be read: access denied, the process has ended, a layout this build cannot read,
    // or memory that does not pass the checks (it may have been changing). Never throws.
    virtual std::optional<PromptDirectories> readDirectories() const = 0;
};

// The system's own command interpreters. The launcher starts one by its full path in the
// system's folders, never by a search: a cmd.exe beside the program or in the current folder
// would otherwise be started instead and receive every command typed.
enum class SystemPrompt {
    Cmd,         // cmd.exe from the system folder (the NT family)
    CommandCom,  // command.com from the Windows folder (the 9x family)
};

class PromptLauncher {
public:
    virtual ~PromptLauncher() = default;
    // Starts the prompt in a new console, its window shown without taking the focus, with
    // folder as its current directory. Throws PlatformError with the system's error text when
    // the process cannot be started.
    virtual std::unique_ptr<PromptProcess> start(SystemPrompt prompt,
                                                 const std::string& folder) = 0;
};
