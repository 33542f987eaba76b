#include "platform/win32/Win32CodePage.h"

#include <windows.h>

#include "platform/win32/Wide.h"

namespace {

std::wstring AnsiToWide(const std::string& ansi) {
    if (ansi.empty()) return {};
    const int size = static_cast<int>(ansi.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), length);
    return wide;
}

}  // namespace

std::optional<std::string> Win32CodePage::toAnsi(const std::string& utf8) {
    if (utf8.empty()) return std::string();
    const std::wstring wide = ToWide(utf8);
    const int size = static_cast<int>(wide.size());
    // A system whose ANSI code page is UTF-8 takes the flags below as invalid; the text is
    // then already in its ANSI form.
    if (GetACP() == CP_UTF8) return ToUtf8(wide);
    // No best fit: a character without its own form must not become a look-alike ("é" to
    // "e", "∞" to "8") or '?'; it makes the whole text unfit.
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr,
                                           0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) return std::nullopt;
    std::string ansi(static_cast<size_t>(length), '\0');
    usedDefault = FALSE;
    if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, ansi.data(), length,
                            nullptr, &usedDefault) != length ||
        usedDefault) {
        return std::nullopt;
    }
    // Only a text that reads back as itself is kept in the ANSI code page.
    if (AnsiToWide(ansi) != wide) return std::nullopt;
    return ansi;
}

std::string Win32CodePage::fromAnsi(const std::string& ansi) { return ToUtf8(AnsiToWide(ansi)); }
