#include "commandlist/Fields.h"

#include <algorithm>

#include "text/Text.h"

// Every character that matters here is ASCII, and no byte of a longer UTF-8 sequence is ASCII:
// the text is scanned byte by byte, and any other byte passes through untouched.

namespace fields {

namespace {

constexpr std::string_view OpenEscape = "\\{\\{";
constexpr std::string_view CloseEscape = "\\}\\}";

bool EndsName(char c) { return c == '{' || c == '}' || c == '\r' || c == '\n'; }

// The length of the field that starts at `at`, or 0 when none does.
std::size_t FieldLength(std::string_view text, std::size_t at) {
    if (text.substr(at, 2) != "{{") return 0;
    std::size_t end = at + 2;
    while (end < text.size() && !EndsName(text[end])) ++end;
    if (end == at + 2 || text.substr(end, 2) != "}}") return 0;
    return end + 2 - at;
}

void AddLiteral(std::vector<Piece>& pieces, std::string_view literal) {
    if (pieces.empty() || pieces.back().isField) pieces.push_back({false, {}});
    pieces.back().text += literal;
}

}  // namespace

std::vector<Piece> Parse(std::string_view text) {
    std::vector<Piece> pieces;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text.substr(at, OpenEscape.size()) == OpenEscape) {
            AddLiteral(pieces, "{{");
            at += OpenEscape.size();
        } else if (text.substr(at, CloseEscape.size()) == CloseEscape) {
            AddLiteral(pieces, "}}");
            at += CloseEscape.size();
        } else if (const std::size_t length = FieldLength(text, at)) {
            pieces.push_back({true, std::string(text.substr(at + 2, length - 4))});
            at += length;
        } else {
            // Not a field here: one character of literal text, so that a field may still start
            // at the next one ({{{a}}} holds the field a between literal braces).
            AddLiteral(pieces, text.substr(at, 1));
            ++at;
        }
    }
    return pieces;
}

bool HasFields(std::string_view text) {
    // Through the parser: an escape's last brace never opens a field (\{\{{a}} holds none).
    const std::vector<Piece> pieces = Parse(text);
    return std::any_of(pieces.begin(), pieces.end(),
                       [](const Piece& piece) { return piece.isField; });
}

std::vector<std::string> Names(std::string_view text) {
    std::vector<std::string> names;
    for (const Piece& piece : Parse(text)) {
        if (piece.isField && std::find(names.begin(), names.end(), piece.text) == names.end())
            names.push_back(piece.text);
    }
    return names;
}

std::vector<std::string> Alternatives(std::string_view name) {
    if (name.find('|') == std::string_view::npos) return {};
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
        name = name.substr(1, name.size() - 2);
    return text::Split(name, "|");
}

std::string Fill(std::string_view text, const Values& values) {
    const std::vector<Piece> pieces = Parse(text);
    if (std::none_of(pieces.begin(), pieces.end(),
                     [](const Piece& piece) { return piece.isField; }))
        return std::string(text);
    std::string filled;
    filled.reserve(text.size());
    for (const Piece& piece : pieces) {
        if (!piece.isField) {
            filled += piece.text;
        } else if (const auto value = values.find(piece.text); value != values.end()) {
            filled += value->second;
        }
    }
    return filled;
}

}  // namespace fields
