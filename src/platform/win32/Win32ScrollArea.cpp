#include "platform/win32/Win32ScrollArea.h"

#include <algorithm>

#include "platform/win32/Dpi.h"
#include "platform/win32/Win32Error.h"

namespace {
// One step of the scroll bar's arrows: about a row of a dialog.
constexpr int kLineTwips = 390;
}  // namespace

const wchar_t* Win32ScrollArea::ClassName() {
    static const wchar_t* const name = [] {
        static constexpr wchar_t kName[] = L"TavimeroScrollArea";
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        HINSTANCE instance = GetModuleHandleW(nullptr);
        if (!GetClassInfoExW(instance, kName, &windowClass)) {
            windowClass.cbSize = sizeof windowClass;
            windowClass.lpfnWndProc = DefWindowProcW;
            windowClass.hInstance = instance;
            windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            windowClass.lpszClassName = kName;
            if (!RegisterClassExW(&windowClass)) ThrowSystemError();
        }
        return kName;
    }();
    return name;
}

int Win32ScrollArea::viewHeight() const {
    RECT client{};
    GetClientRect(window(), &client);
    return client.bottom;
}

int Win32ScrollArea::lineHeight() const {
    return std::max(1, TwipsToPixels(kLineTwips, site().dpi()));
}

void Win32ScrollArea::updateScrollBar() {
    SCROLLINFO info{sizeof info,
                    SIF_RANGE | SIF_PAGE | SIF_POS,
                    0,
                    std::max(0, content_ - 1),
                    static_cast<UINT>(std::max(0, viewHeight())),
                    offset_,
                    0};
    SetScrollInfo(window(), SB_VERT, &info, TRUE);
}

void Win32ScrollArea::setContentHeight(int pixels) {
    content_ = std::max(0, pixels);
    updateScrollBar();
    // The scroll bar may have come or gone and changed the view: the offset stays in range.
    scrollTo(offset_);
}

void Win32ScrollArea::scrollTo(int offset) {
    const int wanted = std::clamp(offset, 0, std::max(0, content_ - viewHeight()));
    if (wanted == offset_) return;
    offset_ = wanted;
    SetScrollPos(window(), SB_VERT, offset_, TRUE);
    site().scrolled(*this);
    InvalidateRect(window(), nullptr, TRUE);
}

void Win32ScrollArea::showBand(int top, int bottom) {
    if (top < offset_)
        scrollTo(top);
    else if (bottom > offset_ + viewHeight())
        scrollTo(bottom - viewHeight());
}

void Win32ScrollArea::scrolled(WORD request) {
    SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
    switch (request) {
    case SB_LINEUP:
        scrollTo(offset_ - lineHeight());
        break;
    case SB_LINEDOWN:
        scrollTo(offset_ + lineHeight());
        break;
    case SB_PAGEUP:
        scrollTo(offset_ - viewHeight());
        break;
    case SB_PAGEDOWN:
        scrollTo(offset_ + viewHeight());
        break;
    case SB_TOP:
        scrollTo(0);
        break;
    case SB_BOTTOM:
        scrollTo(content_);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        // The 32-bit position: the message's own is 16 bits.
        if (GetScrollInfo(window(), SB_VERT, &info)) scrollTo(info.nTrackPos);
        break;
    default:
        break;
    }
}

void Win32ScrollArea::wheeled(short delta) {
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    if (lines == WHEEL_PAGESCROLL) {
        scrollTo(offset_ + (delta > 0 ? -viewHeight() : viewHeight()));
        return;
    }
    wheelRest_ += delta;
    const int notches = wheelRest_ / WHEEL_DELTA;
    wheelRest_ %= WHEEL_DELTA;
    scrollTo(offset_ - notches * static_cast<int>(lines) * lineHeight());
}

LRESULT Win32ScrollArea::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        // The controls' notifications are the form's, as for controls placed on it directly.
        return SendMessageW(site().formWindow(), message, wParam, lParam);
    case WM_VSCROLL:
        scrolled(LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        wheeled(static_cast<short>(HIWORD(wParam)));
        return 0;
    case WM_SIZE: {
        const LRESULT result = ControlWindow::handle(message, wParam, lParam);
        updateScrollBar();
        scrollTo(offset_);
        return result;
    }
    default:
        return ControlWindow::handle(message, wParam, lParam);
    }
}
