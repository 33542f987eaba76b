#include "platform/win32/Win32Controls.h"

#include <algorithm>

#include "platform/PlatformError.h"
#include "platform/win32/CallbackGuard.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32DropTarget.h"

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr char kOutOfMemory[] = "メモリが不足しています。";

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
    Win32DropTarget* target = Win32DropTarget::create(droppedFiles_);
    if (SUCCEEDED(RegisterDragDrop(window_, target))) {
        dropTarget_ = target;  // OLE holds a reference of its own until the target is revoked
        return;
    }
    // OLE is not initialised on this thread: the shell's older drop message still works.
    target->Release();
    DragAcceptFiles(window_, TRUE);
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
        Guarded([&] { Fire(events_.onGotFocus); });
        return result;
    }
    case WM_DROPFILES: {
        auto drop = reinterpret_cast<HDROP>(wParam);
        const std::vector<std::string> paths = DroppedPaths(drop);
        DragFinish(drop);
        Guarded([&] {
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
    // Undoable, as typing is.
    SendMessageW(window(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(ToWide(text).c_str()));
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
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        const int button = message == WM_LBUTTONDOWN ? 1 : message == WM_RBUTTONDOWN ? 2 : 4;
        Guarded([&] { Fire(onMouseDown, button); });
        break;
    }
    case WM_CONTEXTMENU:
        // The program's own menu takes the place of the control's: a right click reported
        // it through onMouseDown already; the menu key (lParam -1) is reported as a right
        // click too, with the menu placed below the caret.
        if (!onMouseDown && !hideContextMenu_) break;
        if (lParam == -1 && onMouseDown) {
            const POINT below = caretPoint();
            site().setPopupAnchor(&below);
            Guarded([&] { Fire(onMouseDown, 2); });
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

// ---- ListBox

Win32ListBox::Win32ListBox(HWND window, ControlSite& site, bool sorted)
    : Win32Control(window, site), sorted_(sorted) {}

std::string Win32ListBox::SortKey(const std::wstring& text) {
    // The user's locale, letter case ignored: the order CompareStringW gives, as bytes that
    // compare with memcmp, so that sorting many entries costs one call per entry.
    constexpr DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int size = static_cast<int>(text.size());
    const int length = LCMapStringW(LOCALE_USER_DEFAULT, flags, text.data(), size, nullptr, 0);
    std::string key(static_cast<size_t>(length), '\0');
    if (length > 0 && LCMapStringW(LOCALE_USER_DEFAULT, flags, text.data(), size,
                                   reinterpret_cast<LPWSTR>(key.data()), length) == length) {
        return key;
    }
    // Without a key the code units' order stands in, big end first.
    key.clear();
    for (wchar_t unit : text) {
        key += static_cast<char>(unit >> 8);
        key += static_cast<char>(unit & 0xFF);
    }
    return key;
}

Win32ListBox::Item Win32ListBox::itemFor(std::wstring text) const {
    std::string key = sorted_ ? SortKey(text) : std::string();
    return {std::move(text), std::move(key)};
}

int Win32ListBox::count() const { return static_cast<int>(items_.size()); }

std::string Win32ListBox::item(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= items_.size()) return {};
    return ToUtf8(items_[static_cast<size_t>(index)].text);
}

size_t Win32ListBox::placeFor(const std::string& key) const {
    if (!sorted_) return items_.size();
    // After the entries equal to it.
    const auto place =
        std::upper_bound(items_.begin(), items_.end(), key,
                         [](const std::string& k, const Item& item) { return k < item.key; });
    return static_cast<size_t>(place - items_.begin());
}

int Win32ListBox::addItem(const std::string& text) {
    const std::wstring wide = ToWide(text);
    const LRESULT index =
        SendMessageW(window(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    if (index == LB_ERR || index == LB_ERRSPACE) throw PlatformError(kOutOfMemory);
    return static_cast<int>(index);
}

void Win32ListBox::append(std::vector<Item> entries) {
    size_t characters = 0;
    for (const Item& entry : entries) characters += entry.text.size() + 1;
    SendMessageW(window(), LB_INITSTORAGE, entries.size(), characters * sizeof(wchar_t));
    // Straight to the control's own window procedure, past the subclass: the subclass chain
    // looks its data up per message, which on some systems (Wine keeps window properties in
    // its server) costs many times the insertion itself. The copy is kept here instead.
    const auto control = reinterpret_cast<WNDPROC>(GetClassLongPtrW(window(), GCLP_WNDPROC));
    items_.reserve(items_.size() + entries.size());
    for (Item& entry : entries) {
        const LRESULT index =
            CallWindowProcW(control, window(), LB_INSERTSTRING, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(entry.text.c_str()));
        if (index == LB_ERR || index == LB_ERRSPACE) throw PlatformError(kOutOfMemory);
        items_.insert(items_.begin() + index, std::move(entry));
    }
}

void Win32ListBox::addItems(const std::vector<std::string>& texts) {
    if (texts.empty()) return;
    std::vector<Item> incoming;
    incoming.reserve(texts.size());
    for (const std::string& text : texts) incoming.push_back(itemFor(ToWide(text)));

    // The control neither paints nor updates its scroll bar per entry.
    SendMessageW(window(), WM_SETREDRAW, FALSE, 0);
    struct Redraw {
        HWND window;
        ~Redraw() {
            SendMessageW(window, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(window, nullptr, TRUE);
        }
    } redraw{window()};

    if (!sorted_) {
        append(std::move(incoming));
        return;
    }
    // Placed one by one, each entry goes after the entries equal to it: the same as a stable
    // sort of the new entries, merged after the equal old ones.
    const auto before = [](const Item& a, const Item& b) { return a.key < b.key; };
    std::stable_sort(incoming.begin(), incoming.end(), before);
    if (items_.empty() || !before(incoming.front(), items_.back())) {
        append(std::move(incoming));
        return;
    }
    // A few entries go into their places; many rebuild the list in the merged order, as
    // every insertion in the middle moves the entries after it.
    constexpr size_t kFewEntries = 256;
    if (incoming.size() <= kFewEntries) {
        for (const Item& entry : incoming) {
            const LRESULT index = insert(placeFor(entry.key), entry.text.c_str());
            if (index == LB_ERR || index == LB_ERRSPACE) throw PlatformError(kOutOfMemory);
        }
        return;
    }
    const int selected = listIndex();
    const int top = static_cast<int>(SendMessageW(window(), LB_GETTOPINDEX, 0, 0));
    int newSelected = -1;
    int newTop = 0;
    std::vector<Item> merged;
    merged.reserve(items_.size() + incoming.size());
    size_t old = 0;
    size_t added = 0;
    while (old < items_.size() || added < incoming.size()) {
        if (added == incoming.size() ||
            (old < items_.size() && !before(incoming[added], items_[old]))) {
            if (static_cast<int>(old) == selected) newSelected = static_cast<int>(merged.size());
            if (static_cast<int>(old) == top) newTop = static_cast<int>(merged.size());
            merged.push_back(std::move(items_[old++]));
        } else {
            merged.push_back(std::move(incoming[added++]));
        }
    }
    SendMessageW(window(), LB_RESETCONTENT, 0, 0);
    append(std::move(merged));
    SendMessageW(window(), LB_SETTOPINDEX, static_cast<WPARAM>(newTop), 0);
    if (newSelected >= 0) setListIndex(newSelected);
}

int Win32ListBox::find(const std::string& text) const {
    const std::wstring wanted = ToWide(text);
    auto first = items_.begin();
    auto last = items_.end();
    // In a sorted list an exact match sits among the entries equal to it ignoring case.
    if (sorted_) {
        const std::string key = SortKey(wanted);
        first = std::lower_bound(
            first, last, key, [](const Item& item, const std::string& k) { return item.key < k; });
        last = std::upper_bound(
            first, last, key, [](const std::string& k, const Item& item) { return k < item.key; });
    }
    const auto found =
        std::find_if(first, last, [&](const Item& item) { return item.text == wanted; });
    return found == last ? -1 : static_cast<int>(found - items_.begin());
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
    if (code == LBN_SELCHANGE) Guarded([&] { Fire(onClick); });
}

void Win32ListBox::acceptFiles() {
    registerDropTarget([this](const std::vector<std::string>& paths) {
        if (onDropFiles) onDropFiles(paths);
    });
}

LRESULT Win32ListBox::insert(size_t index, const wchar_t* text) {
    return SendMessageW(window(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(text));
}

LRESULT Win32ListBox::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    // Every change of the entries passes here, whoever sends it, and the copy follows it.
    const auto* text = reinterpret_cast<const wchar_t*>(lParam);
    switch (message) {
    case LB_ADDSTRING:
        if (sorted_ && text) return insert(placeFor(SortKey(text)), text);
        [[fallthrough]];
    case LB_INSERTSTRING: {
        const LRESULT index = defaultHandling(message, wParam, lParam);
        if (index >= 0 && static_cast<size_t>(index) <= items_.size() && text)
            items_.insert(items_.begin() + index, itemFor(text));
        return index;
    }
    case LB_DELETESTRING: {
        const LRESULT left = defaultHandling(message, wParam, lParam);
        if (left != LB_ERR && wParam < items_.size())
            items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(wParam));
        return left;
    }
    case LB_RESETCONTENT:
        items_.clear();
        return defaultHandling(message, wParam, lParam);
    default:
        return ControlWindow::handle(message, wParam, lParam);
    }
}

// ---- Button

Win32Button::Win32Button(HWND window, ControlSite& site, DefaultButtonKeeper& keeper)
    : Win32Control(window, site), keeper_(keeper) {}

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

// ---- OptionButton

int Win32OptionButton::value() const {
    return SendMessageW(window(), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void Win32OptionButton::setValue(int value) {
    SendMessageW(window(), BM_SETCHECK, value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    if (value == 1) site().optionChosen(*this);
}

void Win32OptionButton::notify(WORD code) {
    // Sent for a click, and when an arrow key moves the focus onto the button.
    if (code != BN_CLICKED || !enabled()) return;
    SendMessageW(window(), BM_SETCHECK, BST_CHECKED, 0);
    site().optionChosen(*this);
    Guarded([&] { Fire(onClick); });
}

// ---- Frame

LRESULT Win32Frame::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!captionless_ || message != WM_PAINT) return ControlWindow::handle(message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window(), &paint);
    RECT edge{};
    GetClientRect(window(), &edge);
    DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
    EndPaint(window(), &paint);
    return 0;
}

// ---- Label

std::string Win32Label::caption() const { return ToUtf8(WindowText(window())); }

void Win32Label::setCaption(const std::string& caption) {
    SetWindowTextW(window(), ToWide(caption).c_str());
}

// ---- Timer

Win32Timer::Win32Timer(ControlSite& site, UINT_PTR id) : Win32Control(nullptr, site), id_(id) {}

Win32Timer::~Win32Timer() {
    if (HWND form = site().formWindow()) KillTimer(form, id_);
}

void Win32Timer::restart() {
    HWND form = site().formWindow();
    if (!form) return;
    // SetTimer with the id of a running timer replaces it, so the count starts again.
    if (enabled_ && interval_ > 0) {
        SetTimer(form, id_, static_cast<UINT>(interval_), nullptr);
    } else {
        KillTimer(form, id_);
    }
}

void Win32Timer::setInterval(int milliseconds) {
    interval_ = std::max(milliseconds, 0);
    restart();
}

void Win32Timer::setEnabled(bool on) {
    enabled_ = on;
    restart();
}

void Win32Timer::fire() {
    if (enabled_ && interval_ > 0) Guarded([&] { Fire(onTimer); });
}

// ---- ComboBox

int Win32ComboBox::count() const {
    return static_cast<int>(SendMessageW(window(), CB_GETCOUNT, 0, 0));
}

std::string Win32ComboBox::item(int index) const {
    const LRESULT length = SendMessageW(window(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(window(), CB_GETLBTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
    return ToUtf8(text);
}

void Win32ComboBox::addItem(const std::string& text) {
    const LRESULT index =
        SendMessageW(window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(text).c_str()));
    if (index == CB_ERR || index == CB_ERRSPACE) throw PlatformError(kOutOfMemory);
}

void Win32ComboBox::clear() { SendMessageW(window(), CB_RESETCONTENT, 0, 0); }

int Win32ComboBox::listIndex() const {
    const LRESULT index = SendMessageW(window(), CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void Win32ComboBox::setListIndex(int index) {
    // CB_SETCURSEL sends no CBN_SELCHANGE: only the user's choice is reported.
    SendMessageW(window(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Win32ComboBox::notify(WORD code) {
    if (code == CBN_SELCHANGE) Guarded([&] { Fire(onChange); });
}
