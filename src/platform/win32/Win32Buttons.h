#pragma once
#include "platform/win32/ControlWindow.h"

// Buttons, check boxes, option buttons, frames and labels.

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
    Win32Button(HWND window, ControlSite& site, DefaultButtonKeeper& keeper);
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

// A round choice button, handed out as a check box: value 1 means chosen. Choosing one, by the
// user or by setValue(1), clears the other option buttons of its container.
class Win32OptionButton final : public Win32Control<CheckBox> {
public:
    using Win32Control::Win32Control;
    int value() const override;
    void setValue(int value) override;

    void notify(WORD code) override;
};

// A frame is a group box. Without a caption it is drawn as an etched rectangle from its top
// edge, as a group box would leave the top line half a text line down, behind the controls
// placed at the top of the frame.
class Win32Frame final : public Win32Control<Frame> {
public:
    Win32Frame(HWND window, ControlSite& site, bool captionless)
        : Win32Control(window, site), captionless_(captionless) {}

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool captionless_;
};

class Win32Label final : public Win32Control<Label> {
public:
    using Win32Control::Win32Control;
    std::string caption() const override;
    void setCaption(const std::string& caption) override;
};
