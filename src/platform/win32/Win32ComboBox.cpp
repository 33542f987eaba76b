#include "platform/win32/Win32ComboBox.h"

#include "platform/PlatformError.h"
#include "platform/win32/CallbackGuard.h"
#include "platform/win32/Wide.h"

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

std::string Win32ComboBox::text() const { return ToUtf8(WindowText(window())); }

void Win32ComboBox::setText(const std::string& text) {
    // The entry with exactly this text (the box's own search ignores letter case).
    int entry = -1;
    for (int index = 0, entries = count(); index < entries && entry < 0; ++index)
        if (item(index) == text) entry = index;
    setListIndex(entry);
    // An editable box shows the text in its edit field, also when it is no entry.
    if ((GetWindowLongW(window(), GWL_STYLE) & 3) != CBS_DROPDOWNLIST)
        SetWindowTextW(window(), ToWide(text).c_str());
}

void Win32ComboBox::notify(WORD code) {
    if (code == CBN_SELCHANGE) Guarded([&] { Fire(onChange); });
}
