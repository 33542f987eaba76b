#include "commandlist/ListFile.h"

#include <algorithm>
#include <string_view>

namespace listfile {

namespace {

std::string_view Separator(LineEnd lineEnd) {
    switch (lineEnd) {
    case LineEnd::Lf:
        return "\n";
    case LineEnd::Cr:
        return "\r";
    default:
        return "\r\n";
    }
}

std::string JoinLines(const std::vector<std::string>& entries, LineEnd lineEnd) {
    const std::string_view separator = Separator(lineEnd);
    std::string text;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].empty()) continue;
        text += entries[i];
        if (i + 1 < entries.size()) text += separator;
    }
    return text;
}

// Bytes that would be read back as other text are not written: ANSI bytes that begin like a
// byte-order mark or happen to be valid UTF-8, UTF-8 without a mark that would be read in a
// code page that does not keep its ASCII, text that starts with U+FEFF without a mark of its own.
bool ReadsBackAs(const std::string& bytes, const std::string& text, CodePage& codePage) {
    const DecodedText back = DecodeText(bytes, codePage);
    return back.lossless && back.text == text;
}

}  // namespace

std::string Encode(const std::vector<std::string>& entries, std::optional<Encoding> encoding,
                   LineEnd lineEnd, CodePage& codePage) {
    const std::string text = JoinLines(entries, lineEnd);
    const auto bytes = EncodeText(text, encoding.value_or(Encoding::Ansi), codePage);
    if (bytes && ReadsBackAs(*bytes, text, codePage)) return *bytes;
    return *EncodeText(text, Encoding::Utf8WithMark, codePage);
}

Contents Decode(const std::string& bytes, CodePage& codePage) {
    const DecodedText decoded = DecodeText(bytes, codePage);
    const std::string_view text = decoded.text;
    Contents contents{{}, decoded.encoding, LineEnd::CrLf, decoded.lossless};
    contents.entries.reserve(
        static_cast<std::size_t>(std::count_if(text.begin(), text.end(),
                                               [](char c) { return c == '\r' || c == '\n'; })) +
        1);
    std::size_t start = 0;
    bool first = true;
    for (std::size_t end; (end = text.find_first_of("\r\n", start)) != std::string_view::npos;) {
        contents.entries.emplace_back(text.substr(start, end - start));
        const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        if (first) {
            contents.lineEnd = crLf ? LineEnd::CrLf : text[end] == '\n' ? LineEnd::Lf : LineEnd::Cr;
            first = false;
        }
        start = end + (crLf ? 2 : 1);
    }
    if (start < text.size()) contents.entries.emplace_back(text.substr(start));
    return contents;
}

}  // namespace listfile
