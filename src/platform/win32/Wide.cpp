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

bool HasExactUtf8(std::wstring_view name) {
    for (size_t i = 0; i < name.size(); ++i) {
        const wchar_t unit = name[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 &&
            name[i + 1] <= 0xDFFF) {
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

UnpairedSurrogateInName::UnpairedSurrogateInName(std::wstring_view name)
    : std::runtime_error("「" + ToUtf8(name) +
                         "」は名前に対のないサロゲート文字を含むため扱えません。"
                         "名前を変えてからやり直してください。") {}

std::string NameToUtf8(std::wstring_view name) {
    if (!HasExactUtf8(name)) throw UnpairedSurrogateInName(name);
    return ToUtf8(name);
}
