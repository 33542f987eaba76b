#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

// The byte forms a list file's text is kept in, and how the form of a file is recognised.
namespace listfile {

// All but the first two begin with their byte-order mark.
enum class Encoding { Ansi, Utf8, Utf8WithMark, Utf16Le, Utf16Be };

struct DecodedText {
    std::string text;
    Encoding encoding = Encoding::Ansi;
    // False when some bytes could not be read as characters: they are replaced (U+FFFD, or the
    // code page's own replacement), and saving the text would not give them back.
    bool lossless = true;
};

// The text of a file: UTF-8 or UTF-16 after its byte-order mark; UTF-8 without a mark when the
// bytes are valid UTF-8 with at least one multi-byte character; else the ANSI code page.
DecodedText DecodeText(std::string_view bytes, CodePage& codePage);

// The bytes of the text in the encoding, with its mark; nothing when the ANSI code page cannot
// hold the text exactly. The bytes may still read back otherwise (DecodeText decides).
std::optional<std::string> EncodeText(const std::string& text, Encoding encoding,
                                      CodePage& codePage);

}  // namespace listfile
