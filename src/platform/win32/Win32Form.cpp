#include "platform/win32/Win32Form.h"

#include <algorithm>
#include <stdexcept>

#include "platform/win32/CallbackGuard.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/FormWindowMarks.h"
#include "platform/win32/MessageLoop.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Menus.h"

// A form's life (its window, controls and their lookup), what it does as a window, and the
// messages its window procedure dispatches.

namespace {

// What the system's shutdown screen shows while a form asks before the session ends.
constexpr char kSessionBlockReason[] = "Tavimero が保存するかどうかを確認しています。";
// Posted by the first show; its turn in the message loop comes after the first paint.
constexpr UINT kShownMessage = WM_APP + 1;

void RegisterFormClass(HINSTANCE instance, const std::wstring& name, WNDPROC procedure, HICON big,
                       HICON small) {
    WNDCLASSEXW windowClass{};
    if (GetClassInfoExW(instance, name.c_str(), &windowClass)) return;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    // A program without its icon shows the system's shared one.
    windowClass.hIcon = big ? big : LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hIconSm = small ? small : windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name.c_str();
    if (!RegisterClassExW(&windowClass)) ThrowSystemError();
}

// Moves the window's top left corner to the screen point, or as near to it as keeps the window
// inside the work area of the monitor that `anchor` is on.
void MoveOntoMonitor(HWND window, HWND anchor, int left, int top) {
    RECT own{};
    GetWindowRect(window, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    if (GetMonitorInfoW(MonitorFromWindow(anchor, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        left = std::max<int>(work.left, std::min<int>(left, work.right - width));
        top = std::max<int>(work.top, std::min<int>(top, work.bottom - height));
    }
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

// ---- life

Win32Form::Win32Form(const FormSpec& table, bool isMain, AccessibleNamer& namer)
    : table_(table), isMain_(isMain), namer_(namer) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::wstring className = ToWide(table_.name);
    // The program icon in the sizes of the system's DPI, read once and kept by the classes for
    // the life of the program: a window at that DPI shows them as they are. Handing a window
    // icons of its own makes the system convert them for the desktop each time.
    static const HICON classBig = LoadProgramIcon(true, SystemDpi());
    static const HICON classSmall = LoadProgramIcon(false, SystemDpi());
    RegisterFormClass(instance, className, &Win32Form::WindowProc, classBig, classSmall);

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
        if (accelerators_) SetPropW(window_, kAcceleratorsProperty, accelerators_);
        if (dpi_ != SystemDpi()) applyIcons();
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
    acceptingFiles_.clear();
    controls_.clear();
    toolbar_.reset();
    releaseFonts();
    releaseIcons();
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
    accelerators_ = nullptr;
}

// ---- lookup

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

// ---- the window

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
        PostMessageW(window_, kShownMessage, 0, 0);
    }
    ShowWindow(window_, SW_SHOW);
    // Drawn first by the paint below: the window is on screen without waiting for them.
    if (toolbar_) toolbar_->addImages();
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
        MoveOntoMonitor(
            window_, ownerWindow,
            ownerRect.left + (ownerRect.right - ownerRect.left - (own.right - own.left)) / 2,
            ownerRect.top + (ownerRect.bottom - ownerRect.top - (own.bottom - own.top)) / 2);
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
        ProcessMessageReportingFailures(message);
    }
    modalOwner_ = nullptr;
}

void Win32Form::showOwned(Form& owner, int leftTwips, int topTwips) {
    if (!window_) return;
    HWND ownerWindow = static_cast<HWND>(owner.nativeHandle());
    if (ownerWindow && ownerWindow != window_) {
        SetWindowLongPtrW(window_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerWindow));
        const UINT ownerDpi = DpiForWindow(ownerWindow);
        POINT at{TwipsToPixels(leftTwips, ownerDpi), TwipsToPixels(topTwips, ownerDpi)};
        ClientToScreen(ownerWindow, &at);
        MoveOntoMonitor(window_, ownerWindow, at.x, at.y);
    }
    show();
}

void Win32Form::close() {
    if (window_) SendMessageW(window_, WM_CLOSE, 0, 0);
}

void Win32Form::activate() {
    if (!window_) return;
    if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
    // While a modal dialog of this window is up, the window takes no input: the dialog is
    // activated instead, as a click on the window would.
    HWND target = window_;
    if (!IsWindowEnabled(window_)) {
        HWND popup = GetLastActivePopup(window_);
        if (popup && popup != window_ && IsWindowEnabled(popup)) target = popup;
    }
    SetForegroundWindow(target);
    SetActiveWindow(target);
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
    const int cx = TwipsToPixels(width, dpi_), cy = TwipsToPixels(height, dpi_);
    // The size it has already (at every start with the default size) costs no move.
    RECT now{};
    if (!IsIconic(window_) && GetWindowRect(window_, &now) && now.right - now.left == cx &&
        now.bottom - now.top == cy)
        return;
    SetWindowPos(window_, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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

void Win32Form::setPopupAnchor(const POINT* screen) {
    popupAnchored_ = screen != nullptr;
    if (screen) popupAnchor_ = *screen;
}

// ---- messages

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
        RemovePropW(window, kAcceleratorsProperty);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        form->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return form->handle(message, wParam, lParam);
}

LRESULT Win32Form::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: return commandReceived(wParam, lParam);
    case WM_NOTIFY: return notified(message, wParam, lParam);
    case WM_TIMER: return timerFired(wParam);
    case WM_SIZE: return sized(wParam);
    case DM_GETDEFID: return defaultButtonReply();
    case DM_SETDEFID: setDefaultButtonId(static_cast<int>(wParam)); return TRUE;
    case WM_NEXTDLGCTL: return nextDialogControl(wParam, lParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: return controlColour(message, wParam, lParam);
    case WM_DRAWITEM: return itemDrawn(wParam, lParam);
    case WM_ACTIVATE: return activated(message, wParam, lParam);
    case WM_SETFOCUS: return focusReceived();
    case WM_CLOSE: return closeRequested();
    case WM_QUERYENDSESSION: return sessionEndQueried();
    case WM_ENDSESSION: return sessionEnded(wParam);
    case WM_DESTROY: return destroyed();
    case kShownMessage: return shownFirst();
    case WM_DPICHANGED:
        return dpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    default: return DefWindowProcW(window_, message, wParam, lParam);
    }
}

LRESULT Win32Form::commandReceived(WPARAM wParam, LPARAM lParam) {
    HWND child = reinterpret_cast<HWND>(lParam);
    const int id = LOWORD(wParam);
    // A menu item or its shortcut (no control sent it), or the toolbar button that stands for a
    // menu item: one command, whichever way it came.
    const bool fromToolbar = toolbar_ && child && child == toolbar_->window();
    if (fromToolbar ? toolbar_->sends(id) : !child && IsMenuCommand(table_.menus, id)) {
        Guarded([&] {
            if (onMenu) onMenu(id);
        });
        return 0;
    }
    if (fromToolbar) return 0;
    // Esc through the dialog manager: IDCANCEL without a control of that id.
    if (!child && id == IDCANCEL && cancelId_) child = GetDlgItem(window_, cancelId_);
    if (!child && id == IDCANCEL && table_.closesOnEscape) {
        close();
        return 0;
    }
    if (ControlWindow* control = controlOf(child)) control->notify(HIWORD(wParam));
    return 0;
}

LRESULT Win32Form::notified(UINT message, WPARAM wParam, LPARAM lParam) {
    if (toolbar_ && toolbar_->notify(*reinterpret_cast<NMHDR*>(lParam))) return 0;
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT Win32Form::timerFired(WPARAM id) {
    for (const Entry& entry : controls_) {
        if (entry.layout.kind == ControlKind::Timer && static_cast<WPARAM>(entry.layout.id) == id)
            static_cast<Win32Timer&>(*entry.control).fire();
    }
    return 0;
}

LRESULT Win32Form::sized(WPARAM kind) {
    if (toolbar_) toolbar_->fitToForm();
    // A minimised window keeps its layout; restoring it reports the size again.
    if (!ready_) return 0;
    Guarded([&] {
        if (kind == SIZE_MINIMIZED) {
            if (onMinimise) onMinimise();
        } else if (onResize) {
            onResize();
        }
    });
    return 0;
}

LRESULT Win32Form::sessionEndQueried() {
    if (!onQueryEndSession) return TRUE;
    // While the program asks its question, the system's shutdown screen names the reason.
    ShutdownBlockReasonCreate(window_, ToWide(kSessionBlockReason).c_str());
    // A handler that fails keeps the session: nothing was saved, and the failure is reported.
    bool allowed = false;
    Guarded([&] { allowed = onQueryEndSession(); });
    ShutdownBlockReasonDestroy(window_);
    return allowed ? TRUE : FALSE;
}

LRESULT Win32Form::sessionEnded(WPARAM ending) {
    Guarded([&] {
        if (onEndSession) onEndSession(ending != FALSE);
    });
    return 0;
}

LRESULT Win32Form::controlColour(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT brush = DefWindowProcW(window_, message, wParam, lParam);
    if (ControlWindow* control = controlOf(reinterpret_cast<HWND>(lParam))) {
        if (const auto colour = control->foreColour())
            SetTextColor(reinterpret_cast<HDC>(wParam), *colour);
    }
    return brush;
}

LRESULT Win32Form::itemDrawn(WPARAM wParam, LPARAM lParam) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    ControlWindow* control = controlOf(item.hwndItem);
    bool drawn = false;
    Guarded([&] { drawn = control && control->drawItem(item); });
    return drawn ? TRUE : DefWindowProcW(window_, WM_DRAWITEM, wParam, lParam);
}

LRESULT Win32Form::activated(UINT message, WPARAM wParam, LPARAM lParam) {
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

LRESULT Win32Form::focusReceived() {
    if (lastFocus_ && IsWindow(lastFocus_)) SetFocus(lastFocus_);
    return 0;
}

LRESULT Win32Form::closeRequested() {
    bool cancel = false;
    Guarded([&] {
        cancel = true;  // stays set when the handler throws
        cancel = onQueryUnload && onQueryUnload();
    });
    if (cancel) return 0;
    // The owner takes input and the activation back before this window goes: left to the
    // system, the activation would pass to the window below in the z-order, which may be
    // another program's (the prompt's).
    if (modalOwner_) EnableWindow(modalOwner_, TRUE);
    HWND owner = GetWindow(window_, GW_OWNER);
    if (owner && GetActiveWindow() == window_) SetActiveWindow(owner);
    DestroyWindow(window_);
    return 0;
}

LRESULT Win32Form::shownFirst() {
    for (ControlWindow* control : acceptingFiles_) control->acceptFiles();
    acceptingFiles_.clear();
    applyAccessibleNames();
    Guarded([&] {
        if (onShown) onShown();
    });
    return 0;
}

LRESULT Win32Form::destroyed() {
    clearAccessibleNames();
    if (isMain_) PostQuitMessage(0);
    return 0;
}

// ---- factory

std::unique_ptr<Form> Win32FormFactory::create(const FormSpec& table) {
    auto form = std::make_unique<Win32Form>(table, !mainCreated_);
    mainCreated_ = true;
    return form;
}
