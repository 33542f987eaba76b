#include "platform/win32/Win32Form.h"

#include <stdexcept>

#include "platform/ControlTable.h"
#include "platform/win32/CallbackGuard.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Error.h"

namespace {

// Marks a form's top-level window for the message loop.
constexpr wchar_t kFormProperty[] = L"Tavimero.Form";
// The program icon in the resource file; windows of programs without it get the standard one.
constexpr int kIconResource = 1;

void RegisterFormClass(HINSTANCE instance, const std::wstring& name, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    if (GetClassInfoExW(instance, name.c_str(), &windowClass)) return;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
    if (!windowClass.hIcon) windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name.c_str();
    if (!RegisterClassExW(&windowClass)) ThrowSystemError();
}

struct WindowKind {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

WindowKind KindOf(const ControlSpec& control) {
    const unsigned s = control.style;
    switch (control.kind) {
    case ControlKind::TextBox: {
        DWORD style = WS_TABSTOP | ES_LEFT;
        // Without ES_WANTRETURN, Enter goes to the default button; Ctrl+Enter breaks the line.
        style |= (s & StyleMultiLine) ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
        if (s & StyleVScroll) style |= WS_VSCROLL;
        if (s & StyleReadOnly) style |= ES_READONLY;
        return {L"EDIT", style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::ListBox: {
        // Without LBS_NOINTEGRALHEIGHT the list shows whole lines only.
        DWORD style = WS_TABSTOP | LBS_NOTIFY | WS_VSCROLL;
        if (s & StyleSorted) style |= LBS_SORT;
        return {L"LISTBOX", style, WS_EX_CLIENTEDGE};
    }
    case ControlKind::Button:
        return {L"BUTTON",
                static_cast<DWORD>(WS_TABSTOP |
                                   ((s & StyleDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)),
                0};
    case ControlKind::CheckBox:
        return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case ControlKind::Frame:
        return {L"BUTTON", WS_GROUP | BS_GROUPBOX, 0};
    }
    throw std::logic_error("unknown control kind");
}

}  // namespace

Win32Form::Win32Form(const FormSpec& table, bool isMain) : table_(table), isMain_(isMain) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::wstring className = ToWide(table_.name);
    RegisterFormClass(instance, className, &Win32Form::WindowProc);

    const DWORD style =
        table_.sizable ? WS_OVERLAPPEDWINDOW : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    dpi_ = SystemDpi();
    CreateWindowExW(WS_EX_CONTROLPARENT, className.c_str(), ToWide(table_.caption).c_str(), style,
                    CW_USEDEFAULT, CW_USEDEFAULT, TwipsToPixels(table_.outerWidthTwips, dpi_),
                    TwipsToPixels(table_.outerHeightTwips, dpi_), nullptr, nullptr, instance, this);
    if (!window_) ThrowSystemError();
    try {
        // On another monitor than the primary one the window may have a DPI of its own.
        const UINT dpi = DpiForWindow(window_);
        if (dpi != dpi_) {
            dpi_ = dpi;
            SetWindowPos(window_, nullptr, 0, 0, TwipsToPixels(table_.outerWidthTwips, dpi_),
                         TwipsToPixels(table_.outerHeightTwips, dpi_),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        createControls();
    } catch (...) {
        isMain_ = false;
        DestroyWindow(window_);
        releaseFonts();
        throw;
    }
}

Win32Form::~Win32Form() {
    if (window_) DestroyWindow(window_);
    controls_.clear();
    releaseFonts();
}

bool Win32Form::IsFormWindow(HWND window) {
    return window && GetPropW(window, kFormProperty) != nullptr;
}

// ---- controls

void Win32Form::createControls() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const ControlSpec& control : InTabOrder(table_.controls)) {
        const WindowKind kind = KindOf(control);
        const bool noCaption =
            control.kind == ControlKind::Frame && (control.style & StyleNoCaption);
        HWND child = CreateWindowExW(
            kind.exStyle, kind.className, noCaption ? L"" : ToWide(control.caption).c_str(),
            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style, 0, 0, 0, 0, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
        if (!child) ThrowSystemError();
        std::unique_ptr<ControlWindow> object;
        switch (control.kind) {
        case ControlKind::TextBox:
            object = std::make_unique<Win32TextBox>(child);
            break;
        case ControlKind::ListBox:
            object = std::make_unique<Win32ListBox>(child);
            break;
        case ControlKind::Button:
            object = std::make_unique<Win32Button>(child, static_cast<DefaultButtonKeeper&>(*this));
            break;
        case ControlKind::CheckBox:
            object = std::make_unique<Win32CheckBox>(child);
            break;
        case ControlKind::Frame:
            object = std::make_unique<Win32Frame>(child);
            break;
        }
        if (control.kind == ControlKind::Button && (control.style & StyleDefaultButton))
            defaultId_ = control.id;
        if (control.kind == ControlKind::Button && (control.style & StyleCancelButton))
            cancelId_ = control.id;
        byName_[control.name] = object.get();
        controls_.push_back({control, std::move(object)});
    }
    // Frames go to the bottom of the z-order so that they never paint over the controls
    // placed on them.
    for (const Entry& entry : controls_) {
        if (entry.layout.kind == ControlKind::Frame)
            SetWindowPos(entry.control->window(), HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    layOut();
}

const ControlSpec* Win32Form::layoutOf(const std::string& name) const {
    for (const ControlSpec& control : table_.controls)
        if (control.name == name) return &control;
    return nullptr;
}

RECT Win32Form::pixelRect(const ControlSpec& control) const {
    int left = TwipsToPixels(control.rect.left, dpi_);
    int top = TwipsToPixels(control.rect.top, dpi_);
    // Controls in a frame are placed relative to the frame's top-left corner (and frames may
    // sit in frames). The depth limit guards against a table that names itself.
    const ControlSpec* container = layoutOf(control.container);
    for (int depth = 0; container && depth < 16; ++depth) {
        left += TwipsToPixels(container->rect.left, dpi_);
        top += TwipsToPixels(container->rect.top, dpi_);
        container = layoutOf(container->container);
    }
    return {left, top, left + TwipsToPixels(control.rect.width, dpi_),
            top + TwipsToPixels(control.rect.height, dpi_)};
}

HFONT Win32Form::fontFor(const FontSpec& font) {
    const std::string& face = font.face.empty() ? table_.font.face : font.face;
    int size = font.hundredthsOfPoint ? font.hundredthsOfPoint : table_.font.hundredthsOfPoint;
    if (size <= 0) size = 900;
    HFONT& cached = fonts_[{face, size}];
    if (!cached) {
        cached = CreateFontW(FontHeight(size, dpi_), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, ToWide(face).c_str());
    }
    return cached;
}

void Win32Form::releaseFonts() {
    for (auto& [key, font] : fonts_)
        if (font) DeleteObject(font);
    fonts_.clear();
}

void Win32Form::layOut() {
    // The controls switch to the new fonts before the old ones are deleted.
    auto previousFonts = std::move(fonts_);
    fonts_.clear();
    for (const Entry& entry : controls_) {
        HWND child = entry.control->window();
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(entry.layout.font)),
                     FALSE);
        const RECT rect = pixelRect(entry.layout);
        SetWindowPos(child, nullptr, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (auto& [key, font] : previousFonts)
        if (font) DeleteObject(font);
    InvalidateRect(window_, nullptr, TRUE);
}

ControlWindow* Win32Form::controlOf(HWND window) const {
    if (!window) return nullptr;
    for (const Entry& entry : controls_)
        if (entry.control->window() == window) return entry.control.get();
    return nullptr;
}

template <class Kind>
Kind& Win32Form::find(const std::string& name) {
    const auto found = byName_.find(name);
    Kind* control = found == byName_.end() ? nullptr : dynamic_cast<Kind*>(found->second);
    if (!control) throw std::out_of_range("no such control: " + name);
    return *control;
}

TextBox& Win32Form::textBox(const std::string& name) { return find<TextBox>(name); }
ListBox& Win32Form::listBox(const std::string& name) { return find<ListBox>(name); }
Button& Win32Form::button(const std::string& name) { return find<Button>(name); }
CheckBox& Win32Form::checkBox(const std::string& name) { return find<CheckBox>(name); }
Frame& Win32Form::frame(const std::string& name) { return find<Frame>(name); }

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

// ---- window

void Win32Form::show() {
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

void Win32Form::close() {
    if (window_) SendMessageW(window_, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK Win32Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form =
            static_cast<Win32Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        SetPropW(window, kFormProperty, reinterpret_cast<HANDLE>(form));
    }
    auto* form = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        RemovePropW(window, kFormProperty);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        form->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return form->handle(message, wParam, lParam);
}

LRESULT Win32Form::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        HWND child = reinterpret_cast<HWND>(lParam);
        const int id = LOWORD(wParam);
        // Esc through the dialog manager: IDCANCEL without a control of that id.
        if (!child && id == IDCANCEL && cancelId_) child = GetDlgItem(window_, cancelId_);
        if (ControlWindow* control = controlOf(child)) control->notify(HIWORD(wParam));
        return 0;
    }
    case DM_GETDEFID:
        return defaultId_ ? MAKELRESULT(defaultId_, DC_HASDEFID) : 0;
    case DM_SETDEFID:
        setDefaultButtonId(static_cast<int>(wParam));
        return TRUE;
    case WM_NEXTDLGCTL: {
        // A multi-line edit control leaves Tab to its parent, which for a plain window does
        // nothing; the form moves the focus as the dialog manager does. When the request names
        // a control, it is the edit control handing Enter to the default button: the button is
        // pressed without taking the focus, so the focus stays in the text box.
        if (LOWORD(lParam)) return 0;
        if (HWND next = GetNextDlgTabItem(window_, GetFocus(), wParam != 0)) {
            if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
                SendMessageW(next, EM_SETSEL, 0, -1);
            SetFocus(next);
        }
        return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        const LRESULT brush = DefWindowProcW(window_, message, wParam, lParam);
        if (ControlWindow* control = controlOf(reinterpret_cast<HWND>(lParam))) {
            if (const auto colour = control->foreColour())
                SetTextColor(reinterpret_cast<HDC>(wParam), *colour);
        }
        return brush;
    }
    case WM_ACTIVATE: {
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(window_, focus)) lastFocus_ = focus;
            return 0;
        }
        DefWindowProcW(window_, message, wParam, lParam);
        // A plain window does not give the focus back to its controls by itself.
        if (!HIWORD(wParam)) {
            HWND focus = lastFocus_ && IsWindow(lastFocus_)
                             ? lastFocus_
                             : GetNextDlgTabItem(window_, nullptr, FALSE);
            if (focus) SetFocus(focus);
        }
        Guarded([&] {
            if (onActivate) onActivate();
        });
        return 0;
    }
    case WM_SETFOCUS:
        if (lastFocus_ && IsWindow(lastFocus_)) SetFocus(lastFocus_);
        return 0;
    case WM_CLOSE: {
        bool cancel = false;
        Guarded([&] {
            cancel = true;  // stays set when the handler throws
            cancel = onQueryUnload && onQueryUnload();
        });
        if (!cancel) DestroyWindow(window_);
        return 0;
    }
    case WM_DESTROY:
        if (isMain_) PostQuitMessage(0);
        return 0;
    case WM_DPICHANGED: {
        dpi_ = LOWORD(wParam);
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        layOut();
        return 0;
    }
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

// ---- factory

std::unique_ptr<Form> Win32FormFactory::create(const FormSpec& table) {
    auto form = std::make_unique<Win32Form>(table, !mainCreated_);
    mainCreated_ = true;
    return form;
}
