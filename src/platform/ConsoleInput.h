#pragma once
#include <cstdint>
#include <vector>

// One key that reaches a prompt's command line: a character, the Enter key, or the Escape
// key (which empties the command line).
struct PromptKey {
    bool enter = false;
    char32_t character = 0;  // valid when neither enter nor escape; any Unicode scalar value
    bool escape = false;
    bool operator==(const PromptKey&) const = default;
};

// Typing into a prompt through its console input: literal, independent of the keyboard
// layout, and without needing the keyboard focus.
class ConsoleInput {
public:
    virtual ~ConsoleInput() = default;
    // Brings the console window of the process to the front. Best effort: never throws.
    virtual void activateConsoleWindow(std::uint32_t processId) = 0;
    // Writes the keys into the console input of the process. Throws PlatformError.
    virtual void type(std::uint32_t processId, const std::vector<PromptKey>& keys) = 0;
    // The ids of the processes attached to the console of the process, this program left out:
    // the prompt alone, or the prompt and the programs it runs in its console. Throws
    // PlatformError when the console cannot be attached.
    virtual std::vector<std::uint32_t> consoleProcesses(std::uint32_t processId) = 0;
};
