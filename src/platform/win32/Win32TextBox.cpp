#include "platform/win32/Win32TextBox.h"

#include <algorithm>

#include "platform/win32/CallbackGuard.h"
#include "platform/win32/Wide.h"

std::string Win32TextBox::text() const { return ToUtf8(WindowText(window())); }

namespace {
// A box with a scroll bar, whose text changes are drawn once afterwards (see HeldDrawing).
HWND ScrollingBox(HWND box) {
    return (GetWindowLongW(box, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) ? box : nullptr;
}
}  // namespace

void Win32TextBox::setText(const std::string& text) {
    ++programSetsText_;
    {
        const HeldDrawing held(ScrollingBox(window()));
        SetWindowTextW(window(), ToWide(text).c_str());
    }
    --programSetsText_;
    // Called here rather than inside the window procedure so that an exception from the
    // handler reaches the code that set the text.
    Fire(onChange);
}

std::pair<DWORD, DWORD> Win32TextBox::selection() const {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(window(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

int Win32TextBox::selStart() const { return static_cast<int>(selection().first); }

void Win32TextBox::setSelStart(int position) {
    SendMessageW(window(), EM_SETSEL, static_cast<WPARAM>(position), position);
    SendMessageW(window(), EM_SCROLLCARET, 0, 0);
}

void Win32TextBox::moveCaretToEnd() { setSelStart(GetWindowTextLengthW(window())); }

int Win32TextBox::selLength() const {
    const auto [start, end] = selection();
    return static_cast<int>(end - start);
}

void Win32TextBox::setSelLength(int length) {
    const DWORD start = selection().first;
    const int available = GetWindowTextLengthW(window()) - static_cast<int>(start);
    const int clamped = std::clamp(length, 0, std::max(available, 0));
    SendMessageW(window(), EM_SETSEL, start, static_cast<LPARAM>(start + clamped));
}

std::string Win32TextBox::selText() const {
    const auto [start, end] = selection();
    const std::wstring all = WindowText(window());
    if (start >= all.size() || end <= start) return {};
    return ToUtf8(std::wstring_view(all).substr(start, end - start));
}

void Win32TextBox::setSelText(const std::string& text) {
    ++replacingSelection_;
    {
        const HeldDrawing held(ScrollingBox(window()));
        // Undoable, as typing is.
        SendMessageW(window(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(ToWide(text).c_str()));
    }
    --replacingSelection_;
    Fire(onChange);
}

void Win32TextBox::setForeColour(SystemColour colour) {
    colour_ = colour;
    InvalidateRect(window(), nullptr, TRUE);
}

std::optional<COLORREF> Win32TextBox::foreColour() const {
    if (!colour_) return std::nullopt;
    return GetSysColor(*colour_ == SystemColour::ActiveCaption ? COLOR_ACTIVECAPTION
                                                               : COLOR_WINDOWTEXT);
}

void Win32TextBox::notify(WORD code) {
    // A change made by WM_SETTEXT or EM_REPLACESEL is reported once by whoever made it;
    // EN_CHANGE is only sent for WM_SETTEXT by single-line controls anyway.
    if (code == EN_CHANGE && settingText_ == 0 && replacingSelection_ == 0)
        Guarded([&] { Fire(onChange); });
}

void Win32TextBox::acceptFiles() {
    registerDropTarget([this](const std::vector<std::string>& paths) {
        if (onDropFiles) onDropFiles(paths);
    });
}

POINT Win32TextBox::caretPoint() const {
    POINT point{0, 0};
    int lineHeight = 0;
    if (HDC dc = GetDC(window())) {
        HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window(), WM_GETFONT, 0, 0)));
        TEXTMETRICW metrics{};
        if (GetTextMetricsW(dc, &metrics)) lineHeight = metrics.tmHeight;
        SelectObject(dc, old);
        ReleaseDC(window(), dc);
    }
    if (GetFocus() != window() || !GetCaretPos(&point)) {
        RECT client{};
        GetClientRect(window(), &client);
        point = {client.left, client.top};
    }
    point.y += lineHeight;
    ClientToScreen(window(), &point);
    return point;
}

LRESULT Win32TextBox::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && (GetWindowLongW(window(), GWL_STYLE) & ES_MULTILINE)) {
            // A multi-line edit control answers Esc by posting WM_CLOSE to its parent, which
            // would close the whole form. The form gets what the dialog manager sends for Esc
            // elsewhere instead: IDCANCEL, which presses its cancel button if it has one.
            Guarded([&] { Fire(onKeyDown, static_cast<int>(wParam), CurrentShiftState()); });
            HWND form = GetParent(window());
            SendMessageW(form, WM_COMMAND, IDCANCEL,
                         reinterpret_cast<LPARAM>(GetDlgItem(form, IDCANCEL)));
            return 0;
        }
        break;
    case WM_MOUSEWHEEL:
        // A one-line box has nothing to scroll: the wheel goes to what holds it (a scrolling
        // frame), as the system's own boxes hand it on, also where Wine's keeps it.
        if (!(GetWindowLongW(window(), GWL_STYLE) & ES_MULTILINE))
            return SendMessageW(GetParent(window()), message, wParam, lParam);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        const MouseButton button = message == WM_LBUTTONDOWN   ? MouseButton::Left
                                   : message == WM_RBUTTONDOWN ? MouseButton::Right
                                                               : MouseButton::Middle;
        Guarded([&] { Fire(onMouseDown, static_cast<int>(button)); });
        break;
    }
    case WM_CONTEXTMENU:
        // The program's own menu takes the place of the control's: a right click reported
        // it through onMouseDown already; the menu key (lParam -1) is reported as a right
        // click too, with the menu placed below the caret.
        if (!onMouseDown) break;
        if (lParam == -1) {
            const POINT below = caretPoint();
            site().setPopupAnchor(&below);
            Guarded([&] { Fire(onMouseDown, static_cast<int>(MouseButton::Right)); });
            site().setPopupAnchor(nullptr);
        }
        return 0;
    case WM_SETTEXT: {
        ++settingText_;
        const LRESULT result = defaultHandling(message, wParam, lParam);
        --settingText_;
        // WM_SETTEXT from another program (or a multi-line control, which sends no EN_CHANGE
        // for it) still counts as a change.
        if (programSetsText_ == 0) Guarded([&] { Fire(onChange); });
        return result;
    }
    default:
        break;
    }
    return ControlWindow::handle(message, wParam, lParam);
}
