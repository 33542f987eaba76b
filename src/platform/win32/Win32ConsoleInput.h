#pragma once
#include <windows.h>

#include "platform/ConsoleInput.h"

class Win32ConsoleInput final : public ConsoleInput {
public:
    std::unique_ptr<AttachedConsole> attach(std::uint32_t processId) override;
    std::unique_ptr<AttachedConsole> attachNow(std::uint32_t processId) override;
};

// The key-down and key-up records that type the keys: Enter as VK_RETURN with a carriage
// return, Escape as VK_ESCAPE, every other character as its UTF-16 code units (a character outside
// the BMP as its two surrogates).
std::vector<INPUT_RECORD> KeyRecords(const std::vector<PromptKey>& keys);
