#include "platform/win32/ControlWindow.h"

#include "platform/win32/CallbackGuard.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/Win32DropTarget.h"

namespace {
constexpr UINT_PTR kSubclassId = 1;
}  // namespace

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

HeldDrawing::HeldDrawing(HWND window)
    : window_(window && IsWindowVisible(window) ? window : nullptr) {
    // The system's own switch, as DefWindowProc handles WM_SETREDRAW: a control that takes the
    // message itself may go on drawing its scroll bars.
    if (window_) DefWindowProcW(window_, WM_SETREDRAW, FALSE, 0);
}

HeldDrawing::~HeldDrawing() {
    if (!window_) return;
    DefWindowProcW(window_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

int CurrentShiftState() {
    int shift = 0;
    if (GetKeyState(VK_SHIFT) & 0x8000) shift |= static_cast<int>(ShiftState::Shift);
    if (GetKeyState(VK_CONTROL) & 0x8000) shift |= static_cast<int>(ShiftState::Ctrl);
    if (GetKeyState(VK_MENU) & 0x8000) shift |= static_cast<int>(ShiftState::Alt);
    return shift;
}

ControlWindow::ControlWindow(HWND window, Control& events, ControlSite& site)
    : window_(window), events_(events), site_(site) {
    if (window_)
        SetWindowSubclass(window_, &ControlWindow::SubclassProc, kSubclassId,
                          reinterpret_cast<DWORD_PTR>(this));
}

ControlWindow::~ControlWindow() {
    revokeDropTarget();
    if (window_ && IsWindow(window_))
        RemoveWindowSubclass(window_, &ControlWindow::SubclassProc, kSubclassId);
}

void ControlWindow::registerDropTarget(FilesHandler handler) {
    if (!window_ || dropTarget_ || droppedFiles_) return;
    droppedFiles_ = std::move(handler);
    // The shell's older drop message as well: a source that finds no OLE target (OLE not
    // initialised on this thread, though COM may be, which lets the registration succeed) sends
    // it instead. A source uses one or the other, so a drop never arrives twice.
    DragAcceptFiles(window_, TRUE);
    Win32DropTarget* target = Win32DropTarget::create(droppedFiles_);
    if (SUCCEEDED(RegisterDragDrop(window_, target))) {
        dropTarget_ = target;  // OLE holds a reference of its own until the target is revoked
        return;
    }
    target->Release();
}

void ControlWindow::revokeDropTarget() {
    if (!dropTarget_) return;
    if (IsWindow(window_)) RevokeDragDrop(window_);
    dropTarget_->disconnect();
    dropTarget_->Release();
    dropTarget_ = nullptr;
}

LRESULT ControlWindow::defaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(window_, message, wParam, lParam);
}

LRESULT ControlWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // The program sees the key first, then the control handles it as usual.
        Guarded([&] { Fire(events_.onKeyDown, static_cast<int>(wParam), CurrentShiftState()); });
        return defaultHandling(message, wParam, lParam);
    case WM_SETFOCUS: {
        const LRESULT result = defaultHandling(message, wParam, lParam);
        site_.focusEntered(*this);
        Guarded([&] { Fire(events_.onGotFocus); });
        return result;
    }
    case WM_GETDLGCODE: {
        LRESULT code = defaultHandling(message, wParam, lParam);
        // The dialog manager asks before it hands Enter to the default button: a control that
        // takes Enter claims that key, and only that key, for itself.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (takesEnter_ && key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_DROPFILES: {
        // The block is freed once whatever happens to its paths; a failure (a name that cannot
        // be read, memory) waits for the message loop, which reports it.
        struct Finish {
            HDROP drop;
            ~Finish() { DragFinish(drop); }
        } finish{reinterpret_cast<HDROP>(wParam)};
        Guarded([&] {
            const std::vector<std::string> paths = DroppedPaths(finish.drop);
            if (droppedFiles_ && !paths.empty()) droppedFiles_(paths);
        });
        return 0;
    }
    case WM_DESTROY:
        // OLE must let go of the window before it is gone.
        revokeDropTarget();
        return defaultHandling(message, wParam, lParam);
    default:
        return defaultHandling(message, wParam, lParam);
    }
}

LRESULT CALLBACK ControlWindow::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, &ControlWindow::SubclassProc, kSubclassId);
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return reinterpret_cast<ControlWindow*>(data)->handle(message, wParam, lParam);
}
