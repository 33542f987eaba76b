#include "platform/win32/Win32Buttons.h"

#include "platform/win32/CallbackGuard.h"
#include "platform/win32/Wide.h"

Win32Button::Win32Button(HWND window, ControlSite& site, DefaultButtonKeeper& keeper)
    : Win32Control(window, site), keeper_(keeper) {}

bool Win32Button::isDefault() const { return keeper_.defaultButtonId() == GetDlgCtrlID(window()); }

void Win32Button::setDefault(bool on) {
    const int id = GetDlgCtrlID(window());
    if (on) {
        keeper_.setDefaultButtonId(id);
    } else if (keeper_.defaultButtonId() == id) {
        keeper_.setDefaultButtonId(0);
    }
}

void Win32Button::click() {
    if (enabled()) Fire(onClick);
}

LRESULT Win32Button::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFOCUS || message == WM_KILLFOCUS)
        keeper_.buttonFocusChanged(GetDlgCtrlID(window()), message == WM_SETFOCUS);
    return ControlWindow::handle(message, wParam, lParam);
}

void Win32Button::notify(WORD code) {
    // The dialog manager reports Enter as a click of the default button; a disabled button
    // never clicks.
    if (code == BN_CLICKED && enabled()) Guarded([&] { Fire(onClick); });
}

// ---- CheckBox

int Win32CheckBox::value() const {
    return SendMessageW(window(), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void Win32CheckBox::setValue(int value) {
    SendMessageW(window(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32CheckBox::notify(WORD code) {
    if (code == BN_CLICKED && enabled()) Guarded([&] { Fire(onClick); });
}

// ---- OptionButton

int Win32OptionButton::value() const {
    return SendMessageW(window(), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void Win32OptionButton::setValue(int value) {
    SendMessageW(window(), BM_SETCHECK, value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    if (value == 1) site().optionChosen(*this);
}

void Win32OptionButton::notify(WORD code) {
    // Sent for a click, and when an arrow key moves the focus onto the button.
    if (code != BN_CLICKED || !enabled()) return;
    SendMessageW(window(), BM_SETCHECK, BST_CHECKED, 0);
    site().optionChosen(*this);
    Guarded([&] { Fire(onClick); });
}

// ---- Frame

LRESULT Win32Frame::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!captionless_ || message != WM_PAINT) return ControlWindow::handle(message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window(), &paint);
    RECT edge{};
    GetClientRect(window(), &edge);
    DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
    EndPaint(window(), &paint);
    return 0;
}

// ---- Label

std::string Win32Label::caption() const { return ToUtf8(WindowText(window())); }

void Win32Label::setCaption(const std::string& caption) {
    SetWindowTextW(window(), ToWide(caption).c_str());
}
