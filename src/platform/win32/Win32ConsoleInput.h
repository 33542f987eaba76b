#pragma once
#include <windows.h>

#include "platform/ConsoleInput.h"

class Win32ConsoleInput final : public ConsoleInput {
public:
    void activateConsoleWindow(std::uint32_t processId) override;
    void type(std::uint32_t processId, const std::vector<PromptKey>& keys) override;
    std::vector<std::uint32_t> consoleProcesses(std::uint32_t processId) override;
};

// The key-down and key-up records that type the keys: Enter as VK_RETURN with a carriage
// return, Escape as VK_ESCAPE, every other character as its UTF-16 code units (a character outside
// the BMP as its two surrogates).
std::vector<INPUT_RECORD> KeyRecords(const std::vector<PromptKey>& keys);
