#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Controls.h"

class ControlWindow;
class Win32DropTarget;

// What a control asks of the form it sits on. The form keeps every control's rectangle in
// twips together with its container, and converts it for the window's DPI.
class ControlSite {
public:
    virtual ~ControlSite() = default;
    virtual HWND formWindow() const = 0;
    virtual TwipsRect rectOf(const ControlWindow& control) const = 0;
    virtual void moveControl(const ControlWindow& control, const TwipsRect& rect) = 0;
    // An option button was chosen: the other option buttons of its container are cleared.
    virtual void optionChosen(const ControlWindow& option) = 0;
    // Where the next pop-up menu appears (screen pixels) when it is opened from the keyboard
    // rather than at the mouse; null: at the mouse again.
    virtual void setPopupAnchor(const POINT* screen) = 0;
    // The DPI the form is shown at.
    virtual UINT dpi() const = 0;
    // The control took the keyboard focus: the form keeps it in view.
    virtual void focusEntered(const ControlWindow& control) = 0;
    // A scrolling frame moved: the form places the controls in it for its new offset.
    virtual void scrolled(const ControlWindow& area) = 0;
};

// The window behind one control: subclassed so that key-down and focus events reach the
// control object before the control handles them as usual, and told by its form about the
// WM_COMMAND notifications it sent. A timer has no window of its own (window() is null).
class ControlWindow {
public:
    ControlWindow(HWND window, Control& events, ControlSite& site);
    virtual ~ControlWindow();
    ControlWindow(const ControlWindow&) = delete;
    ControlWindow& operator=(const ControlWindow&) = delete;

    HWND window() const { return window_; }
    ControlSite& site() const { return site_; }
    // A notification code from WM_COMMAND.
    virtual void notify(WORD /*code*/) {}
    // The text colour to paint with, when the program chose one.
    virtual std::optional<COLORREF> foreColour() const { return std::nullopt; }
    // Makes the control a drop target for file lists from the shell. Called once by the form
    // for controls declared with StyleAcceptsFiles.
    virtual void acceptFiles() {}
    // The OLE drop target registered for the control, or null.
    Win32DropTarget* dropTarget() const { return dropTarget_; }
    // Makes Enter reach the control (its onKeyDown) instead of pressing the default button.
    // Called once by the form for controls declared with StyleTakesEnter.
    void takeEnter() { takesEnter_ = true; }
    // Paints one entry of an owner-drawn control (WM_DRAWITEM); false when it draws none.
    virtual bool drawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }

protected:
    // Lets a control act on a message before (and instead of) the usual handling.
    virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam);
    using FilesHandler = std::function<void(const std::vector<std::string>&)>;
    // Registers the OLE drop target; without OLE on this thread, falls back to WM_DROPFILES.
    void registerDropTarget(FilesHandler handler);

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    void revokeDropTarget();

    HWND window_;
    Control& events_;
    ControlSite& site_;
    Win32DropTarget* dropTarget_ = nullptr;
    FilesHandler droppedFiles_;  // for the WM_DROPFILES fallback
    bool takesEnter_ = false;
};

// The shift state of a key event as ShiftState bits (1 Shift, 2 Ctrl, 4 Alt).
int CurrentShiftState();

// Holds a visible control's drawing while the object lives, then has the whole control, frame
// and scroll bars included, painted once by the message loop. For changes that a control draws
// step by step: an edit box redraws its scroll bar at each step of a text change (eight times
// for one WM_SETTEXT under Wine's themed scroll bars, some milliseconds each). Does nothing for
// a null or hidden window.
class HeldDrawing {
public:
    explicit HeldDrawing(HWND window);
    ~HeldDrawing();
    HeldDrawing(const HeldDrawing&) = delete;
    HeldDrawing& operator=(const HeldDrawing&) = delete;

private:
    HWND window_;
};

// The members every kind shares, on top of the kind's interface.
template <class Interface>
class Win32Control : public Interface, public ControlWindow {
public:
    Win32Control(HWND window, ControlSite& site) : ControlWindow(window, *this, site) {}
    bool enabled() const override { return IsWindowEnabled(window()) != FALSE; }
    void setEnabled(bool on) override {
        // Disabling the control with the focus leaves the focus nowhere; when the control is
        // enabled again before anything else took the focus, it gets the focus back.
        if (!on && GetFocus() == window()) refocusWhenEnabled_ = true;
        EnableWindow(window(), on ? TRUE : FALSE);
        if (on && refocusWhenEnabled_) {
            refocusWhenEnabled_ = false;
            if (!GetFocus() && GetActiveWindow() == GetAncestor(window(), GA_ROOT))
                SetFocus(window());
        }
    }
    void setFocus() override { SetFocus(window()); }
    bool hasFocus() const override { return window() && GetFocus() == window(); }
    TwipsRect rect() const override { return site().rectOf(*this); }
    void move(const TwipsRect& rect) override { site().moveControl(*this, rect); }

private:
    bool refocusWhenEnabled_ = false;
};

// Calls an event slot when the window class wired one.
template <class... Args>
void Fire(const std::function<void(Args...)>& handler, Args... args) {
    if (handler) handler(args...);
}

// The whole text of a window.
std::wstring WindowText(HWND window);

// What a control reports when the system could not store an entry.
inline constexpr char kOutOfMemory[] = "メモリが不足しています。";
