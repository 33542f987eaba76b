#pragma once
#include <stdexcept>
#include <string>
#include <string_view>

// The one place where the program's UTF-8 text meets the UTF-16 of the ...W functions.
// Invalid sequences become U+FFFD rather than failing: text is shown or typed, never lost
// silently as a whole.
std::wstring ToWide(std::string_view utf8);
// Appends the UTF-16 form of utf8 to `to`, for many texts converted into one buffer.
void AppendWide(std::wstring& to, std::string_view utf8);
std::string ToUtf8(std::wstring_view wide);

// A file or folder name from the system that holds an unpaired surrogate: legal on NTFS, but
// without a UTF-8 form, and a replacement character would make it name another file. Not a
// PlatformError, which callers may take for "could not be done" and pass over: this one goes on
// to the message loop, which tells the user.
class UnpairedSurrogateInName : public std::runtime_error {
public:
    explicit UnpairedSurrogateInName(std::wstring_view name);
};

// The UTF-8 form of a name (a path) from the system, exactly; throws UnpairedSurrogateInName.
std::string NameToUtf8(std::wstring_view name);
// The same without throwing: false when the name has no exact UTF-8 form.
bool HasExactUtf8(std::wstring_view name);
