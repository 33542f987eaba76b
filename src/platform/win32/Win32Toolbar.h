#pragma once
#include <windows.h>
// The common controls header builds on the definitions above.
#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/ControlTable.h"

// A form's toolbar along the top edge of its client area, built from its toolbar table. Every
// entry, separators included, carries the command id kFirstCommand + its index (counted from
// 1), so a click tells its index and tests outside the program can tell the entries apart.
// The toolbar never takes the focus: the edit commands act on the control that had it.
class Win32Toolbar {
public:
    static constexpr int kFirstCommand = 0x7000;

    Win32Toolbar(HWND form, const ToolbarSpec& table, UINT dpi);
    ~Win32Toolbar();
    Win32Toolbar(const Win32Toolbar&) = delete;
    Win32Toolbar& operator=(const Win32Toolbar&) = delete;

    HWND window() const { return window_; }
    // The index of the button that sent a WM_COMMAND, or 0 when the toolbar did not send it.
    int indexOf(HWND from, int command) const;
    // Answers the tooltip requests of the toolbar; false for other notifications.
    bool notify(NMHDR& header) const;
    // Stretches across the form's client area again after the form changed size.
    void fitToForm() const;
    // Builds the toolbar again with images and sizes for the DPI.
    void setDpi(UINT dpi);

private:
    void create(UINT dpi);
    void destroy();
    const std::wstring* tooltipOf(UINT_PTR command) const;

    HWND form_;
    ToolbarSpec table_;
    std::vector<std::wstring> tooltips_;  // by index - 1
    HWND window_ = nullptr;
    HIMAGELIST images_ = nullptr;
};
