#pragma once
#include <windows.h>

#include <optional>

#include "platform/Controls.h"

// The window behind one control: subclassed so that key-down and focus events reach the
// control object before the control handles them as usual, and told by its form about the
// WM_COMMAND notifications it sent.
class ControlWindow {
public:
    ControlWindow(HWND window, Control& events);
    virtual ~ControlWindow();
    ControlWindow(const ControlWindow&) = delete;
    ControlWindow& operator=(const ControlWindow&) = delete;

    HWND window() const { return window_; }
    // A notification code from WM_COMMAND.
    virtual void notify(WORD /*code*/) {}
    // The text colour to paint with, when the program chose one.
    virtual std::optional<COLORREF> foreColour() const { return std::nullopt; }

protected:
    // Lets a control act on a message before (and instead of) the usual handling.
    virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    HWND window_;
    Control& events_;
};

// The shift state of a key event as ShiftState bits (1 Shift, 2 Ctrl, 4 Alt).
int CurrentShiftState();

// The members every kind shares, on top of the kind's interface.
template <class Interface>
class Win32Control : public Interface, public ControlWindow {
public:
    explicit Win32Control(HWND window) : ControlWindow(window, *this) {}
    bool enabled() const override { return IsWindowEnabled(window()) != FALSE; }
    void setEnabled(bool on) override { EnableWindow(window(), on ? TRUE : FALSE); }
    void setFocus() override { SetFocus(window()); }
    bool hasFocus() const override { return GetFocus() == window(); }
};

class Win32TextBox final : public Win32Control<TextBox> {
public:
    using Win32Control::Win32Control;
    std::string text() const override;
    void setText(const std::string& text) override;
    int selStart() const override;
    void setSelStart(int position) override;
    int selLength() const override;
    void setForeColour(SystemColour colour) override;

    void notify(WORD code) override;
    std::optional<COLORREF> foreColour() const override;

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::optional<SystemColour> colour_;
    // Set while the control handles WM_SETTEXT: the change is reported once, after it.
    int settingText_ = 0;
    // Set while the program itself sets the text: setText reports the change directly.
    int programSetsText_ = 0;
};

class Win32ListBox final : public Win32Control<ListBox> {
public:
    using Win32Control::Win32Control;
    int count() const override;
    std::string item(int index) const override;
    int addItem(const std::string& text) override;
    void removeItem(int index) override;
    void clear() override;
    int listIndex() const override;
    void setListIndex(int index) override;

    void notify(WORD code) override;
};

// Keeps which button of a form is the default one; the form answers DM_GETDEFID from it.
// While a push button has the focus, Enter presses that button instead, as in a dialog box.
class DefaultButtonKeeper {
public:
    virtual ~DefaultButtonKeeper() = default;
    virtual int defaultButtonId() const = 0;
    virtual void setDefaultButtonId(int id) = 0;
    virtual void buttonFocusChanged(int id, bool focused) = 0;
};

class Win32Button final : public Win32Control<Button> {
public:
    Win32Button(HWND window, DefaultButtonKeeper& keeper);
    bool isDefault() const override;
    void setDefault(bool on) override;
    void click() override;

    void notify(WORD code) override;

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    DefaultButtonKeeper& keeper_;
};

class Win32CheckBox final : public Win32Control<CheckBox> {
public:
    using Win32Control::Win32Control;
    int value() const override;
    void setValue(int value) override;

    void notify(WORD code) override;
};

class Win32Frame final : public Win32Control<Frame> {
public:
    using Win32Control::Win32Control;
};
