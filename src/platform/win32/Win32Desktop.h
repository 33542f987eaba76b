#pragma once
#include <windows.h>

#include <vector>

#include "platform/Desktop.h"

class Win32Desktop final : public Desktop {
public:
    void activateProcess(std::uint32_t processId) override;
    void sendKeys(const std::string& keys) override;
};

// The key events for a keystroke text of the supported form ("%" holds Alt for the next
// key; space, letters and digits as their keys). Throws PlatformError for anything else.
std::vector<INPUT> KeystrokeInputs(const std::string& keys);
