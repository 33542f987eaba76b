#include "commandlist/ListFileEncoding.h"

#include <algorithm>

#include "text/Text.h"

namespace listfile {

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LeMark = "\xFF\xFE";
constexpr std::string_view Utf16BeMark = "\xFE\xFF";

enum class Utf8Form { Invalid, Ascii, MultiByte };

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or values beyond
// U+10FFFF) and whether any character takes more than one byte. Checked before any copy: most
// list files are plain ANSI.
Utf8Form FormOfUtf8(std::string_view bytes) {
    Utf8Form form = Utf8Form::Ascii;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t value = 0;
        char32_t minimum = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2, value = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, value = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, value = lead & 0x07, minimum = 0x10000;
        } else {
            return Utf8Form::Invalid;
        }
        if (bytes.size() - i < length) return Utf8Form::Invalid;
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return Utf8Form::Invalid;
            value = (value << 6) | (next & 0x3F);
        }
        if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            return Utf8Form::Invalid;
        }
        form = Utf8Form::MultiByte;
        i += length;
    }
    return form;
}

DecodedText FromUtf8(std::string_view bytes, Encoding encoding) {
    if (FormOfUtf8(bytes) != Utf8Form::Invalid) return {std::string(bytes), encoding, true};
    // Each byte that is not part of a valid character becomes U+FFFD.
    return {text::EncodeUtf8(text::DecodeUtf8(bytes)), encoding, false};
}

DecodedText FromUtf16(std::string_view bytes, Encoding encoding) {
    const bool bigEndian = encoding == Encoding::Utf16Be;
    const std::size_t units = bytes.size() / 2;
    const auto unit = [&](std::size_t i) -> char32_t {
        const unsigned char first = static_cast<unsigned char>(bytes[2 * i]);
        const unsigned char second = static_cast<unsigned char>(bytes[2 * i + 1]);
        return static_cast<char32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    const auto isHigh = [](char32_t u) { return u >= 0xD800 && u <= 0xDBFF; };
    const auto isLow = [](char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
    std::u32string characters;
    characters.reserve(units);
    bool lossless = true;
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t u = unit(i);
        if (isHigh(u) && i + 1 < units && isLow(unit(i + 1))) {
            characters.push_back(0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
            ++i;
        } else if (isHigh(u) || isLow(u)) {
            characters.push_back(U'\uFFFD');
            lossless = false;
        } else {
            characters.push_back(u);
        }
    }
    if (bytes.size() % 2 != 0) {  // half a code unit at the end
        characters.push_back(U'\uFFFD');
        lossless = false;
    }
    return {text::EncodeUtf8(characters), encoding, lossless};
}

// A lead byte without its trail byte may take the next byte along into its replacement, a CR or
// LF too (Wine's 932 does): a file the code page cannot read is read again a line at a time, so
// its line breaks survive. No ANSI code page has a CR or LF trail byte.
DecodedText FromAnsi(std::string_view bytes, CodePage& codePage) {
    CodePage::Decoded whole = codePage.fromAnsi(std::string(bytes));
    if (whole.lossless) return {std::move(whole.text), Encoding::Ansi, true};
    std::string text;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n", start), bytes.size());
        text += codePage.fromAnsi(std::string(bytes.substr(start, end - start))).text;
        if (end == bytes.size()) break;
        text += bytes[end];
        start = end + 1;
    }
    return {std::move(text), Encoding::Ansi, false};
}

std::string ToUtf16(const std::string& text, bool bigEndian) {
    std::string bytes;
    bytes.reserve(2 * text.size());
    const auto put = [&](char32_t u) {
        const char high = static_cast<char>(u >> 8);
        const char low = static_cast<char>(u & 0xFF);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    };
    for (char32_t c : text::DecodeUtf8(text)) {
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
    return bytes;
}

}  // namespace

DecodedText DecodeText(std::string_view bytes, CodePage& codePage) {
    if (bytes.starts_with(Utf8Mark)) {
        return FromUtf8(bytes.substr(Utf8Mark.size()), Encoding::Utf8WithMark);
    }
    if (bytes.starts_with(Utf16LeMark)) {
        return FromUtf16(bytes.substr(Utf16LeMark.size()), Encoding::Utf16Le);
    }
    if (bytes.starts_with(Utf16BeMark)) {
        return FromUtf16(bytes.substr(Utf16BeMark.size()), Encoding::Utf16Be);
    }
    // ANSI text in a multi-byte code page is seldom valid UTF-8, and pure ASCII reads the same
    // either way, so valid UTF-8 with a character beyond ASCII is taken for UTF-8.
    if (FormOfUtf8(bytes) == Utf8Form::MultiByte) return {std::string(bytes), Encoding::Utf8, true};
    return FromAnsi(bytes, codePage);
}

std::optional<std::string> EncodeText(const std::string& text, Encoding encoding,
                                      CodePage& codePage) {
    switch (encoding) {
    case Encoding::Ansi:
        return codePage.toAnsi(text);
    case Encoding::Utf8:
        return text;
    case Encoding::Utf8WithMark:
        return std::string(Utf8Mark) + text;
    case Encoding::Utf16Le:
        return std::string(Utf16LeMark) + ToUtf16(text, false);
    case Encoding::Utf16Be:
        return std::string(Utf16BeMark) + ToUtf16(text, true);
    }
    return std::nullopt;
}

}  // namespace listfile
