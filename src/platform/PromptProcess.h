#pragma once
#include <cstdint>
#include <memory>
#include <string>

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
};

class PromptLauncher {
public:
    virtual ~PromptLauncher() = default;
    // Starts program (e.g. "cmd.exe") in a new console, its window shown without taking the
    // focus, with folder as its current directory. Throws PlatformError with the system's
    // error text when the process cannot be started.
    virtual std::unique_ptr<PromptProcess> start(const std::string& program,
                                                 const std::string& folder) = 0;
};
