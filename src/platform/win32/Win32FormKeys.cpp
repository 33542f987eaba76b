#include "platform/win32/Win32Form.h"

// The dialog keys of a form: the default button that Enter presses, Tab and the arrow keys that
// move the focus, Esc that presses the cancel button.

namespace {

bool IsEditControl(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return lstrcmpiW(name, L"Edit") == 0;
}

}  // namespace

void Win32Form::setDefaultButtonId(int id) {
    defaultId_ = id;
    showDefaultButton();
}

void Win32Form::buttonFocusChanged(int id, bool focused) {
    if (focused)
        focusedButtonId_ = id;
    else if (focusedButtonId_ == id)
        focusedButtonId_ = 0;
    showDefaultButton();
}

void Win32Form::showDefaultButton() {
    // The dialog manager presses the focused control when it has the default-button style,
    // and otherwise the button DM_GETDEFID names.
    const int pressedByEnter = focusedButtonId_ ? focusedButtonId_ : defaultId_;
    for (const Entry& entry : controls_) {
        if (entry.layout.kind != ControlKind::Button) continue;
        HWND button = entry.control->window();
        const LONG type = GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK;
        const LONG wanted = entry.layout.id == pressedByEnter ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if (type != wanted) SendMessageW(button, BM_SETSTYLE, static_cast<WPARAM>(wanted), TRUE);
    }
}

LRESULT Win32Form::defaultButtonReply() const {
    return defaultId_ ? MAKELRESULT(defaultId_, DC_HASDEFID) : 0;
}

LRESULT Win32Form::nextDialogControl(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(lParam)) {
        // The request names a control. From a multi-line edit control it is the edit handing
        // Enter to the default button, which is pressed without taking the focus, so the focus
        // stays in the text box. Otherwise it is an arrow key moving within a group, and the
        // named control takes the focus.
        HWND target = reinterpret_cast<HWND>(wParam);
        HWND focus = GetFocus();
        if (target && IsChild(window_, target) && !(focus && IsEditControl(focus)))
            SetFocus(target);
        return 0;
    }
    // A multi-line edit control leaves Tab to its parent, which for a plain window does nothing;
    // the form moves the focus as the dialog manager does.
    if (HWND next = GetNextDlgTabItem(window_, GetFocus(), wParam != 0)) {
        if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
            SendMessageW(next, EM_SETSEL, 0, -1);
        SetFocus(next);
    }
    return 0;
}
