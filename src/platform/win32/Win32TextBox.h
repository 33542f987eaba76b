#pragma once
#include "platform/win32/ControlWindow.h"

// An edit control. While the program listens to its mouse buttons, the control's own context
// menu is not shown: the program shows its own.
class Win32TextBox final : public Win32Control<TextBox> {
public:
    using Win32Control::Win32Control;
    std::string text() const override;
    void setText(const std::string& text) override;
    int selStart() const override;
    void setSelStart(int position) override;
    int selLength() const override;
    void setSelLength(int length) override;
    void moveCaretToEnd() override;
    std::string selText() const override;
    void setSelText(const std::string& text) override;
    void setForeColour(SystemColour colour) override;

    void notify(WORD code) override;
    std::optional<COLORREF> foreColour() const override;
    void acceptFiles() override;

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The selection as the control reports it: start and end in UTF-16 units.
    std::pair<DWORD, DWORD> selection() const;
    // The point below the caret, in screen pixels, for a menu opened from the keyboard.
    POINT caretPoint() const;

    std::optional<SystemColour> colour_;
    // Set while the control handles WM_SETTEXT: the change is reported once, after it.
    int settingText_ = 0;
    // Set while the program itself sets the text: setText reports the change directly.
    int programSetsText_ = 0;
    // Set while the program replaces the selection: setSelText reports the change directly.
    int replacingSelection_ = 0;
};
