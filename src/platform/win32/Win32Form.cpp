#include "platform/win32/Win32Form.h"

#include <algorithm>
#include <stdexcept>

#include "platform/ControlTable.h"
#include "platform/win32/CallbackGuard.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/MessageLoop.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Menus.h"

namespace {

// Marks a form's top-level window for the message loop.
constexpr wchar_t kFormProperty[] = L"Tavimero.Form";
// The program icon in the resource file; windows of programs without it get the standard one.
constexpr int kIconResource = 1;
// A drop-down list shows this many entries' worth of height when it opens.
constexpr int kDropDownRows = 8;

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
    case ControlKind::ListBox:
        // Without LBS_NOINTEGRALHEIGHT the list shows whole lines only. A sorted list places
        // its entries itself (Win32ListBox), so the control does not sort.
        return {L"LISTBOX", WS_TABSTOP | LBS_NOTIFY | WS_VSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::Button:
        return {L"BUTTON",
                static_cast<DWORD>(WS_TABSTOP |
                                   ((s & StyleDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)),
                0};
    case ControlKind::CheckBox:
        return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case ControlKind::OptionButton:
        // The tab stop and the group start are set once all controls exist.
        return {L"BUTTON", BS_AUTORADIOBUTTON, 0};
    case ControlKind::Frame:
        return {L"BUTTON", WS_GROUP | BS_GROUPBOX, 0};
    case ControlKind::Label:
        // Captions are data (addresses, dates), never mnemonics.
        return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::ComboBox:
        return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case ControlKind::Timer:
        break;
    }
    throw std::logic_error("no window for this control kind");
}

bool IsEditControl(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return lstrcmpiW(name, L"Edit") == 0;
}

}  // namespace

Win32Form::Win32Form(const FormSpec& table, bool isMain) : table_(table), isMain_(isMain) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::wstring className = ToWide(table_.name);
    RegisterFormClass(instance, className, &Win32Form::WindowProc);

    // A dialog has a fixed border and neither a minimise nor a maximise button.
    style_ = table_.sizable ? WS_OVERLAPPEDWINDOW : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    exStyle_ = WS_EX_CONTROLPARENT;
    dpi_ = SystemDpi();
    HMENU menu = table_.menus.empty() ? nullptr : CreateMenuBar(table_.menus);
    const SIZE size = tableSize();
    CreateWindowExW(exStyle_, className.c_str(), ToWide(table_.caption).c_str(), style_,
                    CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr, menu, instance, this);
    if (!window_) {
        const DWORD error = GetLastError();
        if (menu) DestroyMenu(menu);
        ThrowSystemError(error);
    }
    try {
        // On another monitor than the primary one the window may have a DPI of its own.
        const UINT dpi = DpiForWindow(window_);
        if (dpi != dpi_) {
            dpi_ = dpi;
            const SIZE scaled = tableSize();
            SetWindowPos(window_, nullptr, 0, 0, scaled.cx, scaled.cy,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        accelerators_ = CreateMenuAccelerators(table_.menus);
        applyIcons();
        if (!table_.toolbar.buttons.empty())
            toolbar_ = std::make_unique<Win32Toolbar>(window_, table_.toolbar, dpi_);
        createControls();
        ready_ = true;
    } catch (...) {
        isMain_ = false;
        DestroyWindow(window_);
        releaseResources();
        throw;
    }
}

Win32Form::~Win32Form() {
    if (window_) {
        if (modalOwner_) EnableWindow(modalOwner_, TRUE);
        DestroyWindow(window_);
    }
    releaseResources();
}

void Win32Form::releaseResources() {
    controls_.clear();
    toolbar_.reset();
    releaseFonts();
    releaseIcons();
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
    accelerators_ = nullptr;
}

bool Win32Form::IsFormWindow(HWND window) {
    return window && GetPropW(window, kFormProperty) != nullptr;
}

bool Win32Form::TranslateKeyboard(MSG& message) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    auto* form = root ? static_cast<Win32Form*>(GetPropW(root, kFormProperty)) : nullptr;
    if (!form) return false;
    if (form->accelerators_ && TranslateAcceleratorW(root, form->accelerators_, &message))
        return true;
    return IsDialogMessageW(root, &message) != FALSE;
}

SIZE Win32Form::tableSize() const {
    if (table_.clientWidthTwips > 0 && table_.clientHeightTwips > 0) {
        RECT rect{0, 0, TwipsToPixels(table_.clientWidthTwips, dpi_),
                  TwipsToPixels(table_.clientHeightTwips, dpi_)};
        AdjustWindowRectForDpi(rect, style_, !table_.menus.empty(), exStyle_, dpi_);
        return {rect.right - rect.left, rect.bottom - rect.top};
    }
    return {TwipsToPixels(table_.outerWidthTwips, dpi_),
            TwipsToPixels(table_.outerHeightTwips, dpi_)};
}

// ---- controls

std::unique_ptr<ControlWindow> Win32Form::createControl(const ControlSpec& control) {
    if (control.kind == ControlKind::Timer)
        return std::make_unique<Win32Timer>(static_cast<ControlSite&>(*this),
                                            static_cast<UINT_PTR>(control.id));
    const WindowKind kind = KindOf(control);
    const bool noCaption = control.kind == ControlKind::Frame && (control.style & StyleNoCaption);
    // A text box's caption is its first text; a list has none.
    const bool hasCaption =
        !noCaption && control.kind != ControlKind::ListBox && control.kind != ControlKind::ComboBox;
    HWND child = CreateWindowExW(kind.exStyle, kind.className,
                                 hasCaption ? ToWide(control.caption).c_str() : L"",
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style, 0, 0, 0, 0,
                                 window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                 GetModuleHandleW(nullptr), nullptr);
    if (!child) ThrowSystemError();
    ControlSite& site = *this;
    switch (control.kind) {
    case ControlKind::TextBox: {
        auto box = std::make_unique<Win32TextBox>(child, site);
        if (control.style & StyleNoContextMenu) box->hideOwnContextMenu();
        return box;
    }
    case ControlKind::ListBox:
        return std::make_unique<Win32ListBox>(child, site, (control.style & StyleSorted) != 0);
    case ControlKind::Button:
        return std::make_unique<Win32Button>(child, site, static_cast<DefaultButtonKeeper&>(*this));
    case ControlKind::CheckBox:
        return std::make_unique<Win32CheckBox>(child, site);
    case ControlKind::OptionButton:
        return std::make_unique<Win32OptionButton>(child, site);
    case ControlKind::Frame:
        return std::make_unique<Win32Frame>(child, site, noCaption);
    case ControlKind::Label:
        return std::make_unique<Win32Label>(child, site);
    case ControlKind::ComboBox:
        return std::make_unique<Win32ComboBox>(child, site);
    case ControlKind::Timer:
        break;
    }
    DestroyWindow(child);
    throw std::logic_error("unknown control kind");
}

void Win32Form::createControls() {
    for (const ControlSpec& control : InTabOrder(table_.controls)) {
        std::unique_ptr<ControlWindow> object = createControl(control);
        if (control.kind == ControlKind::Button && (control.style & StyleDefaultButton))
            defaultId_ = control.id;
        if (control.kind == ControlKind::Button && (control.style & StyleCancelButton))
            cancelId_ = control.id;
        if (control.style & StyleAcceptsFiles) object->acceptFiles();
        // The option buttons of one container follow each other in the tab order, so that
        // they form one group for the arrow keys.
        if (control.kind == ControlKind::OptionButton) {
            for (auto entry = controls_.rbegin(); entry != controls_.rend(); ++entry) {
                if (entry->layout.kind == ControlKind::OptionButton &&
                    entry->layout.container == control.container) {
                    SetWindowPos(object->window(), entry->control->window(), 0, 0, 0, 0,
                                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                    break;
                }
            }
        }
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
    groupOptionButtons();
    layOut();
}

void Win32Form::groupOptionButtons() {
    const Entry* previous = nullptr;
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const ControlWindow* control = controlOf(child);
        const Entry* entry = control ? entryOf(*control) : nullptr;
        const bool option = entry && entry->layout.kind == ControlKind::OptionButton;
        const bool previousOption = previous && previous->layout.kind == ControlKind::OptionButton;
        LONG style = GetWindowLongW(child, GWL_STYLE);
        if (option && !(previousOption && previous->layout.container == entry->layout.container)) {
            // The first of its container: the group starts here, and Tab stops here until
            // another option of the group is chosen.
            style |= WS_GROUP | WS_TABSTOP;
        } else if (option) {
            style &= ~(WS_GROUP | WS_TABSTOP);
        } else if (previousOption) {
            style |= WS_GROUP;  // ends the group before it
        }
        SetWindowLongW(child, GWL_STYLE, style);
        previous = entry;
    }
}

Win32Form::Entry* Win32Form::entryOf(const ControlWindow& control) {
    for (Entry& entry : controls_)
        if (entry.control.get() == &control) return &entry;
    return nullptr;
}

const Win32Form::Entry* Win32Form::entryOf(const ControlWindow& control) const {
    for (const Entry& entry : controls_)
        if (entry.control.get() == &control) return &entry;
    return nullptr;
}

const Win32Form::Entry* Win32Form::entryNamed(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (const Entry& entry : controls_)
        if (entry.layout.name == name) return &entry;
    return nullptr;
}

RECT Win32Form::pixelRect(const Entry& entry) const {
    const TwipsRect& rect = entry.layout.rect;
    int left = TwipsToPixels(rect.left, dpi_);
    int top = TwipsToPixels(rect.top, dpi_);
    // Controls in a frame are placed relative to the frame's top-left corner where the frame
    // stands now (and frames may sit in frames). The depth limit guards against a table that
    // names itself.
    const Entry* container = entryNamed(entry.layout.container);
    for (int depth = 0; container && depth < 16; ++depth) {
        left += TwipsToPixels(container->layout.rect.left, dpi_);
        top += TwipsToPixels(container->layout.rect.top, dpi_);
        container = entryNamed(container->layout.container);
    }
    return {left, top, left + TwipsToPixels(rect.width, dpi_),
            top + TwipsToPixels(rect.height, dpi_)};
}

void Win32Form::place(const Entry& entry, int depth) {
    HWND child = entry.control->window();
    if (!child) return;
    const RECT rect = pixelRect(entry);
    int height = rect.bottom - rect.top;
    // A drop-down list's height includes its list; the closed box takes the font's height.
    if (entry.layout.kind == ControlKind::ComboBox) height *= kDropDownRows;
    SetWindowPos(child, nullptr, rect.left, rect.top, rect.right - rect.left, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The depth limit guards against a table whose frames hold each other.
    if (entry.layout.kind == ControlKind::Frame && depth < 16) {
        for (const Entry& inner : controls_)
            if (inner.layout.container == entry.layout.name) place(inner, depth + 1);
    }
}

TwipsRect Win32Form::rectOf(const ControlWindow& control) const {
    const Entry* entry = entryOf(control);
    if (!entry) return {};
    TwipsRect rect = entry->layout.rect;
    // A list shows whole lines only: its height is what it took, not what it was asked for.
    if (entry->layout.kind == ControlKind::ListBox && control.window()) {
        RECT pixels{};
        GetWindowRect(control.window(), &pixels);
        rect.height = PixelsToTwips(pixels.bottom - pixels.top, dpi_);
    }
    return rect;
}

void Win32Form::moveControl(const ControlWindow& control, const TwipsRect& rect) {
    Entry* entry = entryOf(control);
    if (!entry) return;
    entry->layout.rect = rect;
    place(*entry);
}

void Win32Form::optionChosen(const ControlWindow& option) {
    const Entry* chosen = entryOf(option);
    if (!chosen) return;
    for (const Entry& entry : controls_) {
        if (entry.layout.kind != ControlKind::OptionButton ||
            entry.layout.container != chosen->layout.container)
            continue;
        HWND button = entry.control->window();
        const bool isChosen = &entry == chosen;
        if (!isChosen) SendMessageW(button, BM_SETCHECK, BST_UNCHECKED, 0);
        // Tab reaches the group at its chosen option.
        const LONG style = GetWindowLongW(button, GWL_STYLE);
        SetWindowLongW(button, GWL_STYLE, isChosen ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
}

void Win32Form::setPopupAnchor(const POINT* screen) {
    popupAnchored_ = screen != nullptr;
    if (screen) popupAnchor_ = *screen;
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
    // The controls switch to the new fonts before the old ones are deleted; the font comes
    // first, as a list's line height (and so its height) follows it.
    auto previousFonts = std::move(fonts_);
    fonts_.clear();
    for (const Entry& entry : controls_) {
        if (HWND child = entry.control->window())
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(entry.layout.font)),
                         FALSE);
    }
    for (const Entry& entry : controls_) place(entry);
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

ControlWindow* Win32Form::controlWindow(const std::string& name) const {
    const auto found = byName_.find(name);
    return found == byName_.end() ? nullptr : found->second;
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
Label& Win32Form::label(const std::string& name) { return find<Label>(name); }
Timer& Win32Form::timer(const std::string& name) { return find<Timer>(name); }
ComboBox& Win32Form::comboBox(const std::string& name) { return find<ComboBox>(name); }

std::string Win32Form::activeControlName() const {
    HWND focus = GetFocus();
    if (!focus) return {};
    for (const Entry& entry : controls_) {
        HWND child = entry.control->window();
        if (child && (child == focus || IsChild(child, focus))) return entry.layout.name;
    }
    return {};
}

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

// ---- icons

void Win32Form::applyIcons() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto load = [&](int width, int height) {
        return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                             SystemMetricForDpi(width, dpi_),
                                             SystemMetricForDpi(height, dpi_), LR_DEFAULTCOLOR));
    };
    HICON big = load(SM_CXICON, SM_CYICON);
    HICON small = load(SM_CXSMICON, SM_CYSMICON);
    if (!big || !small) {
        // A program without the icon keeps its class icon.
        if (big) DestroyIcon(big);
        if (small) DestroyIcon(small);
        return;
    }
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    releaseIcons();
    bigIcon_ = big;
    smallIcon_ = small;
}

void Win32Form::releaseIcons() {
    if (bigIcon_) DestroyIcon(bigIcon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
    bigIcon_ = smallIcon_ = nullptr;
}

// ---- window

void Win32Form::setCaption(const std::string& caption) {
    table_.caption = caption;
    if (window_) SetWindowTextW(window_, ToWide(caption).c_str());
}

void Win32Form::show() {
    if (!window_) return;
    if (!shown_) {
        // The first layout happens before the window is seen, also when the window kept the
        // size it was made with (and so never reported a change).
        shown_ = true;
        if (onResize) onResize();
    }
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

void Win32Form::showModal(Form& owner) {
    if (!window_) return;
    HWND ownerWindow = static_cast<HWND>(owner.nativeHandle());
    if (ownerWindow == window_) ownerWindow = nullptr;
    if (ownerWindow) {
        SetWindowLongPtrW(window_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerWindow));
        // Centred over the owner, as a dialog box appears.
        RECT ownerRect{};
        RECT own{};
        GetWindowRect(ownerWindow, &ownerRect);
        GetWindowRect(window_, &own);
        const int width = own.right - own.left;
        const int height = own.bottom - own.top;
        int left = ownerRect.left + (ownerRect.right - ownerRect.left - width) / 2;
        int top = ownerRect.top + (ownerRect.bottom - ownerRect.top - height) / 2;
        MONITORINFO monitor{sizeof monitor, {}, {}, 0};
        if (GetMonitorInfoW(MonitorFromWindow(ownerWindow, MONITOR_DEFAULTTONEAREST), &monitor)) {
            const RECT& work = monitor.rcWork;
            left = std::max<int>(work.left, std::min<int>(left, work.right - width));
            top = std::max<int>(work.top, std::min<int>(top, work.bottom - height));
        }
        SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        EnableWindow(ownerWindow, FALSE);
    }
    modalOwner_ = ownerWindow;
    // However the loop ends, the owner takes input again and becomes the active window.
    struct OwnerBack {
        HWND owner;
        ~OwnerBack() {
            if (!owner || !IsWindow(owner)) return;
            EnableWindow(owner, TRUE);
            SetActiveWindow(owner);
        }
    } back{ownerWindow};
    show();
    MSG message{};
    while (window_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: the outer loop must see the quit message too.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1) break;
        ProcessMessage(message);
    }
    modalOwner_ = nullptr;
}

void Win32Form::close() {
    if (window_) SendMessageW(window_, WM_CLOSE, 0, 0);
}

void Win32Form::activate() {
    if (!window_) return;
    if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
    SetForegroundWindow(window_);
    SetActiveWindow(window_);
}

RECT Win32Form::outerRect() const {
    RECT rect{};
    if (!window_) return rect;
    // A minimised window reports the size it has when restored.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (IsIconic(window_) && GetWindowPlacement(window_, &placement))
        return placement.rcNormalPosition;
    GetWindowRect(window_, &rect);
    return rect;
}

int Win32Form::widthTwips() const {
    const RECT rect = outerRect();
    return PixelsToTwips(rect.right - rect.left, dpi_);
}

int Win32Form::heightTwips() const {
    const RECT rect = outerRect();
    return PixelsToTwips(rect.bottom - rect.top, dpi_);
}

void Win32Form::setSizeTwips(int width, int height) {
    if (!window_) return;
    SetWindowPos(window_, nullptr, 0, 0, TwipsToPixels(width, dpi_), TwipsToPixels(height, dpi_),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TwipsSize Win32Form::workAreaTwips() const {
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    if (!GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor)) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
    }
    const RECT& work = monitor.rcWork;
    return {PixelsToTwips(work.right - work.left, dpi_),
            PixelsToTwips(work.bottom - work.top, dpi_)};
}

TwipsSize Win32Form::minimumSizeTwips() const {
    return {PixelsToTwips(SystemMetricForDpi(SM_CXMINTRACK, dpi_), dpi_),
            PixelsToTwips(SystemMetricForDpi(SM_CYMINTRACK, dpi_), dpi_)};
}

// ---- client area

// What the window has inside its frame, caption and menu bar (a menu bar that wraps to a second
// line included), at the window's DPI. A minimised window has none.
TwipsSize Win32Form::clientSizeTwips() const {
    RECT client{};
    if (window_ && !IsIconic(window_)) GetClientRect(window_, &client);
    return {PixelsToTwips(client.right, dpi_), PixelsToTwips(client.bottom, dpi_)};
}

void Win32Form::popupMenu(const std::string& menuName) {
    HMENU menu = FindSubMenu(window_ ? GetMenu(window_) : nullptr, table_.menus, menuName);
    if (!menu) throw std::out_of_range("no such menu: " + menuName);
    POINT at{};
    if (popupAnchored_) {
        at = popupAnchor_;
    } else {
        GetCursorPos(&at);
    }
    popupAnchored_ = false;
    // The chosen item is returned rather than sent, so it is reported before this returns.
    const int chosen = static_cast<int>(
        TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x,
                         at.y, window_, nullptr));
    if (chosen && onMenu) onMenu(chosen);
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

LRESULT Win32Form::command(WPARAM wParam, LPARAM lParam) {
    HWND child = reinterpret_cast<HWND>(lParam);
    const int id = LOWORD(wParam);
    if (toolbar_ && child && child == toolbar_->window()) {
        if (const int index = toolbar_->indexOf(child, id)) {
            Guarded([&] {
                if (onToolbarButton) onToolbarButton(index);
            });
        }
        return 0;
    }
    // A menu item or its shortcut: no control sent it.
    if (!child && IsMenuCommand(table_.menus, id)) {
        Guarded([&] {
            if (onMenu) onMenu(id);
        });
        return 0;
    }
    // Esc through the dialog manager: IDCANCEL without a control of that id.
    if (!child && id == IDCANCEL && cancelId_) child = GetDlgItem(window_, cancelId_);
    if (ControlWindow* control = controlOf(child)) control->notify(HIWORD(wParam));
    return 0;
}

LRESULT Win32Form::dpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    // The controls stand where their twips say, in fonts, images and icons for the new DPI;
    // taking the suggested rectangle then reports the new size, and the program lays out
    // what depends on it.
    layOut();
    if (toolbar_) toolbar_->setDpi(dpi_);
    applyIcons();
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

LRESULT Win32Form::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        return command(wParam, lParam);
    case WM_NOTIFY:
        if (toolbar_ && toolbar_->notify(*reinterpret_cast<NMHDR*>(lParam))) return 0;
        return DefWindowProcW(window_, message, wParam, lParam);
    case WM_TIMER:
        for (const Entry& entry : controls_) {
            if (entry.layout.kind == ControlKind::Timer &&
                static_cast<WPARAM>(entry.layout.id) == wParam)
                static_cast<Win32Timer&>(*entry.control).fire();
        }
        return 0;
    case WM_SIZE:
        if (toolbar_) toolbar_->fitToForm();
        // A minimised window keeps its layout; restoring it reports the size again.
        if (ready_ && wParam != SIZE_MINIMIZED) {
            Guarded([&] {
                if (onResize) onResize();
            });
        }
        return 0;
    case DM_GETDEFID:
        return defaultId_ ? MAKELRESULT(defaultId_, DC_HASDEFID) : 0;
    case DM_SETDEFID:
        setDefaultButtonId(static_cast<int>(wParam));
        return TRUE;
    case WM_NEXTDLGCTL: {
        if (LOWORD(lParam)) {
            // The request names a control. From a multi-line edit control it is the edit
            // handing Enter to the default button, which is pressed without taking the focus,
            // so the focus stays in the text box. Otherwise it is an arrow key moving within a
            // group, and the named control takes the focus.
            HWND target = reinterpret_cast<HWND>(wParam);
            HWND focus = GetFocus();
            if (target && IsChild(window_, target) && !(focus && IsEditControl(focus)))
                SetFocus(target);
            return 0;
        }
        // A multi-line edit control leaves Tab to its parent, which for a plain window does
        // nothing; the form moves the focus as the dialog manager does.
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
            HWND focus = lastFocus_ && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_)
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
        if (cancel) return 0;
        // The owner takes input and the activation back before this window goes: left to the
        // system, the activation would pass to the window below in the z-order, which may be
        // another program's (the prompt's).
        if (modalOwner_) {
            EnableWindow(modalOwner_, TRUE);
            if (GetActiveWindow() == window_) SetActiveWindow(modalOwner_);
        }
        DestroyWindow(window_);
        return 0;
    }
    case WM_DESTROY:
        if (isMain_) PostQuitMessage(0);
        return 0;
    case WM_DPICHANGED:
        return dpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
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
