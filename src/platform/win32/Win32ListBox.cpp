#include "platform/win32/Win32ListBox.h"

#include "platform/PlatformError.h"
#include "platform/win32/CallbackGuard.h"
#include "platform/win32/Wide.h"

namespace {
// Up to this many new entries are inserted one at a time.
constexpr size_t kFewEntries = 8;

void CheckStored(LRESULT index) {
    if (index == LB_ERR || index == LB_ERRSPACE) throw PlatformError(kOutOfMemory);
}
}  // namespace

int Win32ListBox::count() const {
    const LRESULT count = SendMessageW(window(), LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : static_cast<int>(count);
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

void Win32ListBox::addItem(const std::string& text) { insertItem(-1, text); }

void Win32ListBox::addItems(std::span<const std::string> texts) {
    if (texts.empty()) return;
    if (texts.size() <= kFewEntries) {
        // A line or two (the one an input added): single insertions, which repaint only what
        // they change rather than the whole list.
        for (const std::string& text : texts) insertItem(-1, text);
        return;
    }
    // Every text in UTF-16 with its null, one after the other in one buffer: one allocation
    // instead of one per entry.
    size_t bytes = 0;
    for (const std::string& text : texts) bytes += text.size() + 1;
    std::wstring all;
    all.reserve(bytes);
    std::vector<size_t> starts;
    starts.reserve(texts.size());
    for (const std::string& text : texts) {
        starts.push_back(all.size());
        AppendWide(all, text);
        all.push_back(L'\0');
    }
    // The control neither paints nor updates its scroll bar per entry, and reserves its memory
    // once.
    SendMessageW(window(), WM_SETREDRAW, FALSE, 0);
    struct Redraw {
        HWND window;
        ~Redraw() {
            SendMessageW(window, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(window, nullptr, TRUE);
        }
    } redraw{window()};
    SendMessageW(window(), LB_INITSTORAGE, texts.size(), all.size() * sizeof(wchar_t));
    // Straight to the control's own window procedure, past the subclass: the subclass chain
    // looks its data up per message, which on some systems (Wine keeps window properties in its
    // server) costs many times the insertion itself.
    const auto control = reinterpret_cast<WNDPROC>(GetClassLongPtrW(window(), GCLP_WNDPROC));
    for (size_t start : starts) {
        CheckStored(CallWindowProcW(control, window(), LB_INSERTSTRING, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(all.data() + start)));
    }
}

void Win32ListBox::insertItem(int index, const std::string& text) {
    const std::wstring wide = ToWide(text);
    CheckStored(SendMessageW(window(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                             reinterpret_cast<LPARAM>(wide.c_str())));
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

int Win32ListBox::topIndex() const {
    return static_cast<int>(SendMessageW(window(), LB_GETTOPINDEX, 0, 0));
}

void Win32ListBox::setTopIndex(int index) {
    SendMessageW(window(), LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
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
