#include "platform/win32/Win32ListBox.h"

#include <algorithm>

#include "platform/PlatformError.h"
#include "platform/win32/CallbackGuard.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/Wide.h"

namespace {
// Up to this many new entries are inserted one at a time.
constexpr size_t kFewEntries = 8;

void CheckStored(LRESULT index) {
    if (index == LB_ERR || index == LB_ERRSPACE) throw PlatformError(kOutOfMemory);
}

// Room around an entry's image, in pixels at 96 DPI.
constexpr int kImageMargin = 2;
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

void Win32ListBox::addItems(std::span<const std::string> texts) { insertAll(texts, false); }

void Win32ListBox::setItems(std::span<const std::string> texts) { insertAll(texts, true); }

void Win32ListBox::insertAll(std::span<const std::string> texts, bool replacing) {
    if (texts.empty() && (!replacing || count() == 0)) return;
    if (!replacing && texts.size() <= kFewEntries) {
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
    // once; the scroll bar it sets at the end is drawn with the list, by the message loop.
    const HeldDrawing held(window());
    SendMessageW(window(), WM_SETREDRAW, FALSE, 0);
    struct Redraw {
        HWND window;
        ~Redraw() {
            SendMessageW(window, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(window, nullptr, TRUE);
        }
    } redraw{window()};
    if (replacing) SendMessageW(window(), LB_RESETCONTENT, 0, 0);
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

void Win32ListBox::moveSelection(int keyCode) {
    if (keyCode != VK_UP && keyCode != VK_DOWN && keyCode != VK_PRIOR && keyCode != VK_NEXT) return;
    // The control's own key handling, which knows its page; past the subclass, so that the
    // program does not hear the key as one pressed in the list.
    const auto control = reinterpret_cast<WNDPROC>(GetClassLongPtrW(window(), GCLP_WNDPROC));
    CallWindowProcW(control, window(), WM_KEYDOWN, static_cast<WPARAM>(keyCode), 0);
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

void Win32ListBox::setItemImage(int index, ItemImage image) {
    SendMessageW(window(), LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(image));
    RECT line{};
    if (SendMessageW(window(), LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&line)) != LB_ERR)
        InvalidateRect(window(), &line, TRUE);
}

bool Win32ListBox::showsImages() const {
    return (GetWindowLongW(window(), GWL_STYLE) & LBS_OWNERDRAWFIXED) != 0;
}

LRESULT Win32ListBox::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    // A list that draws its entries keeps its line height through a font change: it is set
    // here, for the new font and the images at the form's DPI, which change together.
    if (message == WM_SETFONT && showsImages()) {
        const LRESULT result = defaultHandling(message, wParam, lParam);
        fitLines(reinterpret_cast<HFONT>(wParam));
        return result;
    }
    return ControlWindow::handle(message, wParam, lParam);
}

void Win32ListBox::fitLines(HFONT font) {
    const UINT dpi = site().dpi();
    images_.load(SystemMetricForDpi(SM_CXSMICON, dpi));
    int textHeight = 0;
    if (HDC dc = GetDC(window())) {
        HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICW metrics{};
        if (GetTextMetricsW(dc, &metrics)) textHeight = metrics.tmHeight;
        SelectObject(dc, old);
        ReleaseDC(window(), dc);
    }
    const int margin = MulDiv(kImageMargin, static_cast<int>(dpi), 96);
    const int height = std::max(textHeight, images_.size() + 2 * margin);
    SendMessageW(window(), LB_SETITEMHEIGHT, 0, height);
}

bool Win32ListBox::drawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_LISTBOX) return false;
    HDC dc = item.hDC;
    const RECT& line = item.rcItem;
    if (item.itemID == static_cast<UINT>(-1)) {
        // An empty list with the focus shows the focus where the first entry would be.
        if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &line);
        return true;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &line, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

    // Each leading space indents the entry by half an image and its margin: an entry two
    // spaces deeper than another has its image below the other's text, as in a folder tree.
    const std::wstring text = ToWide(this->item(static_cast<int>(item.itemID)));
    const size_t indent = std::min(text.find_first_not_of(L' '), text.size());
    const int margin = MulDiv(kImageMargin, static_cast<int>(site().dpi()), 96);
    const int size = images_.size();
    int x = line.left + margin + static_cast<int>(indent) * (size + margin) / 2;
    if (HICON icon = images_.icon(static_cast<ItemImage>(item.itemData))) {
        DrawIconEx(dc, x, line.top + (line.bottom - line.top - size) / 2, icon, size, size, 0,
                   nullptr, DI_NORMAL);
    }
    x += size + margin;

    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window(), WM_GETFONT, 0, 0)));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour =
        SetTextColor(dc, GetSysColor(selected                    ? COLOR_HIGHLIGHTTEXT
                                     : IsWindowEnabled(window()) ? COLOR_WINDOWTEXT
                                                                 : COLOR_GRAYTEXT));
    RECT textRect{x, line.top, line.right, line.bottom};
    DrawTextW(dc, text.c_str() + indent, static_cast<int>(text.size() - indent), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &line);
    return true;
}
