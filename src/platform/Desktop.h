#pragma once
#include <cstdint>
#include <string>

// Bringing a process's window forward and synthesized keystrokes for the active window (the
// paste into the 9x family's prompt).
class Desktop {
public:
    virtual ~Desktop() = default;
    // Brings the top-level window of the process to the front; throws PlatformError when the
    // process has no such window.
    virtual void activateProcess(std::uint32_t processId) = 0;
    // Sends a keystroke text to the active window and waits until it is processed. Only the
    // system-menu form is needed: "%" holds Alt for the next character, and a space, letters
    // and digits are typed as their keys. Throws PlatformError for anything else.
    virtual void sendKeys(const std::string& keys) = 0;
};
