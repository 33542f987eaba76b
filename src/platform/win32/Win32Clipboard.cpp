#include "platform/win32/Win32Clipboard.h"

#include <cstring>
#include <cwchar>

#include "platform/win32/Wide.h"
#include "platform/win32/Win32Error.h"

namespace {

// Open for the lifetime of the object. Another program may hold the clipboard for a moment,
// so opening is tried a few times before giving up.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) {
        for (int attempt = 0; attempt < 10; ++attempt) {
            if (OpenClipboard(owner)) return;
            Sleep(20);
        }
        ThrowSystemError();
    }
    ~OpenedClipboard() { CloseClipboard(); }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
};

}  // namespace

Win32Clipboard::Win32Clipboard() = default;

Win32Clipboard::~Win32Clipboard() {
    if (owner_) DestroyWindow(owner_);
}

HWND Win32Clipboard::owner() {
    if (!owner_)
        owner_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    return owner_;
}

std::string Win32Clipboard::getText() {
    OpenedClipboard clipboard(owner());
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return {};
    const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
    if (!text) return {};
    // The block may be larger than the text; the text ends at its first null.
    const size_t capacity = GlobalSize(data) / sizeof(wchar_t);
    const std::string result = ToUtf8(std::wstring_view(text, wcsnlen(text, capacity)));
    GlobalUnlock(data);
    return result;
}

void Win32Clipboard::clear() {
    OpenedClipboard clipboard(owner());
    if (!EmptyClipboard()) ThrowSystemError();
}

void Win32Clipboard::setText(const std::string& text) {
    const std::wstring wide = ToWide(text);
    const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) ThrowSystemError();
    if (void* target = GlobalLock(block)) {
        std::memcpy(target, wide.c_str(), bytes);
        GlobalUnlock(block);
    }
    try {
        OpenedClipboard clipboard(owner());
        if (!EmptyClipboard()) ThrowSystemError();
        // On success the clipboard owns the block.
        if (!SetClipboardData(CF_UNICODETEXT, block)) ThrowSystemError();
    } catch (...) {
        GlobalFree(block);
        throw;
    }
}
