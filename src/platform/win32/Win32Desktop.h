#pragma once
#include <windows.h>

#include <vector>

#include "platform/Desktop.h"
#include "platform/PromptWindow.h"

class Win32Desktop final : public Desktop {
public:
    void activateProcess(std::uint32_t processId) override;
    void sendKeys(const std::string& keys) override;
};

// The key events for a keystroke text of the supported form ("%" holds Alt for the next
// key; space, letters and digits as their keys). Throws PlatformError for anything else.
std::vector<INPUT> KeystrokeInputs(const std::string& keys);

// The desktop's windows as the prompt's window needs them.
class Win32DesktopWindows final : public DesktopWindows {
public:
    std::string className(WindowRef window) override;
    WindowRef rootOwner(WindowRef window) override;
    bool isVisible(WindowRef window) override;
    WindowRef foreground() override;
    bool isOwnWindow(WindowRef window) override;
    void placeBehind(WindowRef window, WindowRef above) override;
    void bringToFront(WindowRef window) override;
};

inline WindowRef RefOf(HWND window) { return reinterpret_cast<WindowRef>(window); }
inline HWND HwndOf(WindowRef window) { return reinterpret_cast<HWND>(window); }
