#include "platform/win32/Win32Controls.h"

#include "platform/PlatformError.h"
#include "platform/win32/CallbackGuard.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/Wide.h"

namespace {

constexpr UINT_PTR kSubclassId = 1;

template <class... Args>
void Fire(const std::function<void(Args...)>& handler, Args... args) {
    if (handler) handler(args...);
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

}  // namespace

int CurrentShiftState() {
    int shift = 0;
    if (GetKeyState(VK_SHIFT) & 0x8000) shift |= static_cast<int>(ShiftState::Shift);
    if (GetKeyState(VK_CONTROL) & 0x8000) shift |= static_cast<int>(ShiftState::Ctrl);
    if (GetKeyState(VK_MENU) & 0x8000) shift |= static_cast<int>(ShiftState::Alt);
    return shift;
}

// ---- ControlWindow

ControlWindow::ControlWindow(HWND window, Control& events) : window_(window), events_(events) {
    SetWindowSubclass(window_, &ControlWindow::SubclassProc, kSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
}

ControlWindow::~ControlWindow() {
    if (IsWindow(window_)) RemoveWindowSubclass(window_, &ControlWindow::SubclassProc, kSubclassId);
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
        Guarded([&] { Fire(events_.onGotFocus); });
        return result;
    }
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

// ---- TextBox

std::string Win32TextBox::text() const { return ToUtf8(WindowText(window())); }

void Win32TextBox::setText(const std::string& text) {
    ++programSetsText_;
    SetWindowTextW(window(), ToWide(text).c_str());
    --programSetsText_;
    // Called here rather than inside the window procedure so that an exception from the
    // handler reaches the code that set the text.
    Fire(onChange);
}

int Win32TextBox::selStart() const {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(window(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

void Win32TextBox::setSelStart(int position) {
    SendMessageW(window(), EM_SETSEL, static_cast<WPARAM>(position), position);
    SendMessageW(window(), EM_SCROLLCARET, 0, 0);
}

int Win32TextBox::selLength() const {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(window(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
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
    // A change made by WM_SETTEXT is reported once by handle(); EN_CHANGE is only sent for
    // it by single-line controls anyway.
    if (code == EN_CHANGE && settingText_ == 0) Guarded([&] { Fire(onChange); });
}

LRESULT Win32TextBox::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE &&
        (GetWindowLongW(window(), GWL_STYLE) & ES_MULTILINE)) {
        // A multi-line edit control answers Esc by posting WM_CLOSE to its parent, which
        // would close the whole form. The form gets what the dialog manager sends for Esc
        // elsewhere instead: IDCANCEL, which presses its cancel button if it has one.
        Guarded([&] { Fire(onKeyDown, static_cast<int>(wParam), CurrentShiftState()); });
        HWND form = GetParent(window());
        SendMessageW(form, WM_COMMAND, IDCANCEL,
                     reinterpret_cast<LPARAM>(GetDlgItem(form, IDCANCEL)));
        return 0;
    }
    if (message != WM_SETTEXT) return ControlWindow::handle(message, wParam, lParam);
    ++settingText_;
    const LRESULT result = defaultHandling(message, wParam, lParam);
    --settingText_;
    // WM_SETTEXT from another program (or a multi-line control, which sends no EN_CHANGE
    // for it) still counts as a change.
    if (programSetsText_ == 0) Guarded([&] { Fire(onChange); });
    return result;
}

// ---- ListBox

int Win32ListBox::count() const {
    return static_cast<int>(SendMessageW(window(), LB_GETCOUNT, 0, 0));
}

std::string Win32ListBox::item(int index) const {
    const LRESULT length = SendMessageW(window(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(window(), LB_GETTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return ToUtf8(text);
}

int Win32ListBox::addItem(const std::string& text) {
    const std::wstring wide = ToWide(text);
    const LRESULT index =
        SendMessageW(window(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    if (index == LB_ERR || index == LB_ERRSPACE) throw PlatformError("メモリが不足しています。");
    return static_cast<int>(index);
}

void Win32ListBox::removeItem(int index) {
    SendMessageW(window(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void Win32ListBox::clear() { SendMessageW(window(), LB_RESETCONTENT, 0, 0); }

int Win32ListBox::listIndex() const {
    const LRESULT index = SendMessageW(window(), LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

void Win32ListBox::setListIndex(int index) {
    SendMessageW(window(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32ListBox::notify(WORD code) {
    if (code == LBN_DBLCLK) Guarded([&] { Fire(onDblClick); });
}

// ---- Button

Win32Button::Win32Button(HWND window, DefaultButtonKeeper& keeper)
    : Win32Control(window), keeper_(keeper) {}

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
