#pragma once
#include <windows.h>
// The common controls header builds on the definitions above.
#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/ControlTable.h"

// A form's toolbar along the top edge of its client area, built from its toolbar table. Each
// button carries the command id of the menu item it stands for and sends it as that item does;
// separators carry none. The toolbar never takes the focus: the edit commands act on the control
// that had it.
class Win32Toolbar {
public:
    Win32Toolbar(HWND form, const ToolbarSpec& table, UINT dpi);
    ~Win32Toolbar();
    Win32Toolbar(const Win32Toolbar&) = delete;
    Win32Toolbar& operator=(const Win32Toolbar&) = delete;

    HWND window() const { return window_; }
    // True for a command one of the toolbar's buttons sends.
    bool sends(int command) const;
    // Answers the tooltip requests of the toolbar; false for other notifications.
    bool notify(NMHDR& header) const;
    // Stretches across the form's client area again after the form changed size.
    void fitToForm() const;
    // Builds the toolbar again with images and sizes for the DPI.
    void setDpi(UINT dpi);
    // Gives the buttons their images, once: the toolbar is made without them, as they are
    // needed only when it is first drawn, and making them takes longer than the rest of it.
    void addImages();

private:
    void create(UINT dpi);
    void destroy();
    const std::wstring* tooltipOf(UINT_PTR command) const;

    HWND form_;
    ToolbarSpec table_;
    std::vector<std::wstring> tooltips_;  // in the table's order
    HWND window_ = nullptr;
    UINT dpi_ = 96;
    HIMAGELIST images_ = nullptr;
};
