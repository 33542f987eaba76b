// Feeds arbitrary command texts to the field parser and checks what filling promises: a text
// without fields is typed as written, filling each field with its own {{NAME}} gives the text
// back with its escapes turned into braces, and a parse writes the text back piece by piece.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "commandlist/Fields.h"

namespace {

// Every escape replaced by its braces, left to right, as a plain search and replace.
std::string WithoutEscapes(std::string_view text) {
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const std::string_view rest = text.substr(at);
        if (rest.starts_with("\\{\\{")) {
            out += "{{";
            at += 4;
        } else if (rest.starts_with("\\}\\}")) {
            out += "}}";
            at += 4;
        } else {
            out += text[at++];
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<fields::Piece> pieces = fields::Parse(text);
    const std::vector<std::string> names = fields::Names(text);

    fields::Values own;    // each NAME filled with its own field
    fields::Values empty;  // each NAME filled with nothing
    for (const std::string& name : names) {
        // A NAME is never empty and holds no brace and no line break.
        if (name.empty() || name.find_first_of("{}\r\n") != std::string::npos) __builtin_trap();
        own[name] = "{{" + name + "}}";
        empty[name] = "";
        fields::Alternatives(name);
    }
    if (fields::HasFields(text) != !names.empty()) __builtin_trap();

    // The pieces, fields written back as fields, are the text without its escapes.
    std::string joined;
    bool lastWasLiteral = false;
    for (const fields::Piece& piece : pieces) {
        if (!piece.isField && lastWasLiteral) __builtin_trap();  // literals side by side are one
        if (!piece.isField && piece.text.empty()) __builtin_trap();
        joined += piece.isField ? "{{" + piece.text + "}}" : piece.text;
        lastWasLiteral = !piece.isField;
    }
    if (joined != WithoutEscapes(text)) __builtin_trap();

    const std::string filled = fields::Fill(text, own);
    if (names.empty()) {
        if (filled != text) __builtin_trap();
    } else {
        if (filled != WithoutEscapes(text)) __builtin_trap();
        // Filled with nothing, the text only loses characters.
        if (fields::Fill(text, empty).size() >= text.size()) __builtin_trap();
    }
    return 0;
}
