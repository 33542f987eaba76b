#pragma once
#include <string>
#include <string_view>
#include <vector>

// Small text operations used throughout the program. Texts are UTF-8; "characters" are
// Unicode code points, so Left and Right never split a character.
namespace text {

// The first n characters of s (all of s when it is shorter).
std::string Left(std::string_view s, std::size_t n);
// The last n characters of s (all of s when it is shorter).
std::string Right(std::string_view s, std::size_t n);
// s without its first n characters (empty when it is shorter).
std::string Mid(std::string_view s, std::size_t n);
// s without leading and trailing spaces (spaces only, not tabs or line breaks).
std::string Trim(std::string_view s);
// s with the ASCII letters A-Z in lower case.
std::string LCase(std::string_view s);
// s with the ASCII letters a-z in upper case.
std::string UCase(std::string_view s);
// s cut at every occurrence of delimiter (a text without it gives one piece).
std::vector<std::string> Split(std::string_view s, std::string_view delimiter);
// The pieces joined with the delimiter between them.
std::string Join(const std::vector<std::string>& pieces, std::string_view delimiter);
bool EndsWith(std::string_view s, std::string_view suffix);
bool StartsWith(std::string_view s, std::string_view prefix);

// The length of a UTF-8 text in UTF-16 units, as Windows counts characters in its controls and
// command lines (a character beyond U+FFFF counts two).
std::size_t Utf16Length(std::string_view s);

// The code points of a UTF-8 text; a malformed sequence gives U+FFFD for each bad byte.
std::u32string DecodeUtf8(std::string_view s);
std::string EncodeUtf8(std::u32string_view s);

}  // namespace text
