#include "platform/win32/Wide.h"

#include <windows.h>

// One conversion call each way: a text never has more UTF-16 units than UTF-8 bytes, nor more
// UTF-8 bytes than three per UTF-16 unit, so the buffer is made large enough first and cut to
// what the call wrote, instead of asking for the length in a call of its own.

void AppendWide(std::wstring& to, std::string_view utf8) {
    if (utf8.empty()) return;
    const size_t old = to.size();
    to.resize(old + utf8.size());
    const int written = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                            to.data() + old, static_cast<int>(utf8.size()));
    to.resize(old + static_cast<size_t>(written > 0 ? written : 0));
}

std::wstring ToWide(std::string_view utf8) {
    std::wstring wide;
    AppendWide(wide, utf8);
    return wide;
}

std::string ToUtf8(std::wstring_view wide) {
    if (wide.empty()) return {};
    std::string utf8(wide.size() * 3, '\0');
    const int written =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                            static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.resize(static_cast<size_t>(written > 0 ? written : 0));
    return utf8;
}
