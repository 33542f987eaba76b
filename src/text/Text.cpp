#include "text/Text.h"

namespace text {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Byte offset of the start of character number n (or the size when s is shorter).
std::size_t OffsetOfCharacter(std::string_view s, std::size_t n) {
    std::size_t offset = 0;
    for (std::size_t seen = 0; offset < s.size() && seen < n; ++seen) {
        ++offset;
        while (offset < s.size() && IsContinuation(static_cast<unsigned char>(s[offset]))) ++offset;
    }
    return offset;
}

std::size_t CountCharacters(std::string_view s) {
    std::size_t count = 0;
    for (unsigned char c : s) {
        if (!IsContinuation(c)) ++count;
    }
    return count;
}

}  // namespace

std::string Left(std::string_view s, std::size_t n) {
    return std::string(s.substr(0, OffsetOfCharacter(s, n)));
}

std::string Right(std::string_view s, std::size_t n) {
    const std::size_t total = CountCharacters(s);
    if (n >= total) return std::string(s);
    return std::string(s.substr(OffsetOfCharacter(s, total - n)));
}

std::string Mid(std::string_view s, std::size_t n) {
    return std::string(s.substr(OffsetOfCharacter(s, n)));
}

std::string Trim(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(' ');
    return std::string(s.substr(first, last - first + 1));
}

std::string LCase(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string UCase(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

std::vector<std::string> Split(std::string_view s, std::string_view delimiter) {
    std::vector<std::string> pieces;
    if (delimiter.empty()) {
        pieces.emplace_back(s);
        return pieces;
    }
    std::size_t start = 0;
    for (auto at = s.find(delimiter); at != std::string_view::npos; at = s.find(delimiter, start)) {
        pieces.emplace_back(s.substr(start, at - start));
        start = at + delimiter.size();
    }
    pieces.emplace_back(s.substr(start));
    return pieces;
}

std::string Join(const std::vector<std::string>& pieces, std::string_view delimiter) {
    std::string out;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) out += delimiter;
        out += pieces[i];
    }
    return out;
}

bool EndsWith(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

std::size_t Utf16Length(std::string_view s) {
    std::size_t units = 0;
    for (char32_t c : DecodeUtf8(s)) units += c > 0xFFFF ? 2 : 1;
    return units;
}

std::u32string DecodeUtf8(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char lead = static_cast<unsigned char>(s[i]);
        std::size_t length = 0;
        char32_t value = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            length = 1, value = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, value = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, value = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, value = lead & 0x07, minimum = 0x10000;
        }
        bool valid = length > 0 && i + length <= s.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const unsigned char c = static_cast<unsigned char>(s[i + k]);
            valid = IsContinuation(c);
            value = (value << 6) | (c & 0x3F);
        }
        valid = valid && value >= minimum && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
        if (valid) {
            out.push_back(value);
            i += length;
        } else {
            out.push_back(U'\uFFFD');
            ++i;
        }
    }
    return out;
}

std::string EncodeUtf8(std::u32string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char32_t c : s) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

}  // namespace text
