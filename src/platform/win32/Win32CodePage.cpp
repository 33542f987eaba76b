#include "platform/win32/Win32CodePage.h"

#include <windows.h>

#include "platform/win32/Wide.h"

namespace {

// The characters of ANSI bytes. With MB_ERR_INVALID_CHARS nothing when a byte is not valid in
// the code page; without it such bytes become the code page's replacement character.
std::optional<std::wstring> AnsiToWide(const std::string& ansi, DWORD flags) {
    if (ansi.empty()) return std::wstring();
    const int size = static_cast<int>(ansi.size());
    const int length = MultiByteToWideChar(CP_ACP, flags, ansi.data(), size, nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_ACP, flags, ansi.data(), size, wide.data(), length) != length) {
        return std::nullopt;
    }
    return wide;
}

// The exact ANSI form of the characters; nothing when one of them has no form of its own.
std::optional<std::string> WideToAnsi(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int size = static_cast<int>(wide.size());
    // A system whose ANSI code page is UTF-8 refuses the best-fit flag and the default-character
    // report; there only an unpaired surrogate has no form. Elsewhere no best fit: a character
    // without its own form must not become a look-alike ("é" to "e", "∞" to "8") or '?'.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const report = utf8 ? nullptr : &usedDefault;
    const int length =
        WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, nullptr, report);
    if (length <= 0 || usedDefault) return std::nullopt;
    std::string ansi(static_cast<size_t>(length), '\0');
    if (WideCharToMultiByte(CP_ACP, flags, wide.data(), size, ansi.data(), length, nullptr,
                            report) != length ||
        usedDefault) {
        return std::nullopt;
    }
    return ansi;
}

}  // namespace

std::optional<std::string> Win32CodePage::toAnsi(const std::string& utf8) {
    const std::wstring wide = ToWide(utf8);
    const auto ansi = WideToAnsi(wide);
    // Only a text that reads back as itself is kept in the ANSI code page.
    if (!ansi || AnsiToWide(*ansi, MB_ERR_INVALID_CHARS) != wide) return std::nullopt;
    return ansi;
}

CodePage::Decoded Win32CodePage::fromAnsi(const std::string& ansi) {
    // MB_ERR_INVALID_CHARS refuses the bytes a code page leaves undefined, but some tables give
    // such bytes a character silently, and some give two byte forms one character: only bytes
    // that come back from their characters are read without loss.
    if (const auto wide = AnsiToWide(ansi, MB_ERR_INVALID_CHARS);
        wide && WideToAnsi(*wide) == ansi) {
        return {ToUtf8(*wide), true};
    }
    return {ToUtf8(AnsiToWide(ansi, 0).value_or(std::wstring())), false};
}
