#pragma once
#include <windows.h>

#include "platform/Clipboard.h"

class Win32Clipboard final : public Clipboard {
public:
    Win32Clipboard();
    ~Win32Clipboard() override;
    Win32Clipboard(const Win32Clipboard&) = delete;
    Win32Clipboard& operator=(const Win32Clipboard&) = delete;

    std::string getText() override;
    void clear() override;
    void setText(const std::string& text) override;

private:
    // A message-only window owns what this program puts on the clipboard: with no owner,
    // SetClipboardData after EmptyClipboard may fail. Made at the first use: a window is not
    // free, and the program starts without touching the clipboard.
    HWND owner();
    HWND owner_ = nullptr;
};
