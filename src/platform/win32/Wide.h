#pragma once
#include <string>
#include <string_view>

// The one place where the program's UTF-8 text meets the UTF-16 of the ...W functions.
// Invalid sequences become U+FFFD rather than failing: text is shown or typed, never lost
// silently as a whole.
std::wstring ToWide(std::string_view utf8);
// Appends the UTF-16 form of utf8 to `to`, for many texts converted into one buffer.
void AppendWide(std::wstring& to, std::string_view utf8);
std::string ToUtf8(std::wstring_view wide);
