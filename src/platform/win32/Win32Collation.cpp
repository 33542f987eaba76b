#include "platform/win32/Win32Collation.h"

#include <windows.h>

#include "platform/win32/Wide.h"

std::string Win32Collation::sortKey(std::string_view utf8) {
    // The order CompareStringW gives, as bytes that compare with memcmp, so that ordering many
    // entries costs one call per entry instead of one per comparison.
    constexpr DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const std::wstring text = ToWide(utf8);
    const int size = static_cast<int>(text.size());
    const int length = LCMapStringW(LOCALE_USER_DEFAULT, flags, text.data(), size, nullptr, 0);
    std::string key(static_cast<size_t>(length > 0 ? length : 0), '\0');
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
