#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/PromptWindow.h"

// One key that reaches a prompt's command line: a character, the Enter key, or the Escape
// key (which empties the command line).
struct PromptKey {
    bool enter = false;
    char32_t character = 0;  // valid when neither enter nor escape; any Unicode scalar value
    bool escape = false;
    bool operator==(const PromptKey&) const = default;
};

// This program attached to a prompt's console, for as long as the object lives: the steps of
// one input share one attachment.
class AttachedConsole {
public:
    virtual ~AttachedConsole() = default;
    // The ids of the processes attached to the console, this program left out: the prompt
    // alone, or the prompt and the programs it runs in its console. Throws PlatformError.
    virtual std::vector<std::uint32_t> processes() = 0;
    // Brings the window that shows the console forward, right behind this program's active
    // window, so the prompt's output shows while the user stays where they were. Best effort:
    // never throws.
    virtual void bringForward() = 0;
    // Whether a window shows the console yet, and whether it has the activation. Never throws.
    virtual PromptWindowState windowState() = 0;
    // Writes the keys into the console input. Throws PlatformError.
    virtual void type(const std::vector<PromptKey>& keys) = 0;
};

// Typing into a prompt through its console input: literal, independent of the keyboard
// layout, and without needing the keyboard focus.
class ConsoleInput {
public:
    virtual ~ConsoleInput() = default;
    // Attaches to the console of the process. A prompt that has just started creates its
    // console a moment later: while the process runs, this waits for it (a few seconds at
    // most). Throws PlatformError when the console cannot be attached.
    virtual std::unique_ptr<AttachedConsole> attach(std::uint32_t processId) = 0;
    // As attach, but at once: a console that is not there yet is not waited for (at the end of
    // the session, where the program must not keep the system waiting). Throws PlatformError.
    virtual std::unique_ptr<AttachedConsole> attachNow(std::uint32_t processId) = 0;

    // Single steps, each with an attachment of its own.
    void activateConsoleWindow(std::uint32_t processId);  // best effort: never throws
    void type(std::uint32_t processId, const std::vector<PromptKey>& keys) {
        attach(processId)->type(keys);
    }
    std::vector<std::uint32_t> consoleProcesses(std::uint32_t processId) {
        return attach(processId)->processes();
    }
};
