#include "platform/win32/Win32Collation.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/Wide.h"

std::string Win32Collation::sortKey(std::string_view utf8) {
    // The order CompareStringW gives, as bytes that compare with memcmp, so that ordering many
    // entries costs one call per entry instead of one per comparison.
    constexpr DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    text_.clear();
    AppendWide(text_, utf8);
    const int size = static_cast<int>(text_.size());
    // Keys seldom take more than a few bytes per character: one call into a buffer that large,
    // and a second, sized one only for a text whose key does not fit.
    key_.resize(text_.size() * 8 + 32);
    int length = LCMapStringW(LOCALE_USER_DEFAULT, flags, text_.data(), size,
                              reinterpret_cast<LPWSTR>(key_.data()), static_cast<int>(key_.size()));
    if (length == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        length = LCMapStringW(LOCALE_USER_DEFAULT, flags, text_.data(), size, nullptr, 0);
        key_.resize(static_cast<size_t>(length > 0 ? length : 0));
        if (length > 0 && LCMapStringW(LOCALE_USER_DEFAULT, flags, text_.data(), size,
                                       reinterpret_cast<LPWSTR>(key_.data()), length) != length)
            length = 0;
    }
    if (length > 0) return key_.substr(0, static_cast<size_t>(length));
    // Without a key the code units' order stands in, big end first.
    std::string key;
    for (wchar_t unit : text_) {
        key += static_cast<char>(unit >> 8);
        key += static_cast<char>(unit & 0xFF);
    }
    return key;
}

namespace {

// ASCII with a weight of its own in every locale's order: not the hyphen and the apostrophe,
// which the order weighs apart, by their position.
bool Plain(char c) { return c >= 0x20 && c <= 0x7E && c != '-' && c != '\''; }
bool Separator(char c) {
    return Plain(c) && !(c >= '0' && c <= '9') && !(c >= 'A' && c <= 'Z') &&
           !(c >= 'a' && c <= 'z');
}

// How much of the beginning two texts share that their comparison may leave out: up to the
// last separator of a shared beginning of plain ASCII, when both go on with ASCII. There every
// character has weights of its own, the same in both texts, that no character after the cut
// depends on (no letter pair that sorts as one, no combining or prolonged-sound mark that takes
// its weight from the character before it), so the texts order as what follows the cut does.
// The system's comparison walks the shared beginning at each level; lines of a list in order
// share much of it with their neighbours.
size_t SharedBeginning(std::string_view a, std::string_view b) {
    size_t cut = 0;
    const size_t shorter = std::min(a.size(), b.size());
    for (size_t i = 0; i < shorter && a[i] == b[i] && Plain(a[i]); ++i) {
        if (Separator(a[i])) cut = i + 1;
    }
    const auto asciiNext = [cut](std::string_view text) {
        return cut == text.size() || static_cast<unsigned char>(text[cut]) < 0x80;
    };
    return asciiNext(a) && asciiNext(b) ? cut : 0;
}

}  // namespace

int Win32Collation::compare(std::string_view a, std::string_view b) {
    // The locale and flags of the keys, so that two texts compare as their keys do.
    const size_t shared = SharedBeginning(a, b);
    text_.clear();
    AppendWide(text_, a.substr(shared));
    other_.clear();
    AppendWide(other_, b.substr(shared));
    const int result = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text_.data(),
                                      static_cast<int>(text_.size()), other_.data(),
                                      static_cast<int>(other_.size()));
    if (result != 0) return result - CSTR_EQUAL;
    // Without an answer the keys decide, with their own stand-in.
    const std::string first = sortKey(a);
    const std::string second = sortKey(b);
    return first < second ? -1 : first == second ? 0 : 1;
}
