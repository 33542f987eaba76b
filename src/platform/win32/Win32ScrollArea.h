#pragma once
#include "platform/win32/ControlWindow.h"

// A frame declared with StyleScrolls: its controls are its own child windows, clipped to it,
// and move up and down under its scroll bar when they do not fit. It hands their notifications
// on to the form, which places them for its offset and keeps the one with the focus in view.
class Win32ScrollArea final : public Win32Control<Frame> {
public:
    // The window class of the area, registered once.
    static const wchar_t* ClassName();

    using Win32Control::Win32Control;
    // How far the controls are scrolled up, in pixels.
    int offset() const { return offset_; }
    // The height of what the area holds, in pixels: the scroll bar's range.
    void setContentHeight(int pixels);
    // Scrolls just so far that the band from top to bottom (content pixels) is in view.
    void showBand(int top, int bottom);

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void scrollTo(int offset);
    void scrolled(WORD request);
    void wheeled(short delta);
    int viewHeight() const;
    int lineHeight() const;
    void updateScrollBar();

    int content_ = 0;
    int offset_ = 0;
    int wheelRest_ = 0;  // a high-resolution wheel's turn not yet worth a line
};
