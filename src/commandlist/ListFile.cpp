#include "commandlist/ListFile.h"

namespace listfile {

namespace {
constexpr const char* Utf8Bom = "\xEF\xBB\xBF";

std::string JoinLines(const std::vector<std::string>& entries) {
    std::string text;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].empty()) continue;
        text += entries[i];
        if (i + 1 < entries.size()) text += "\r\n";
    }
    return text;
}
}  // namespace

std::string Encode(const std::vector<std::string>& entries, CodePage& codePage) {
    const std::string text = JoinLines(entries);
    // ANSI bytes that happen to begin like the byte-order mark would be read back as UTF-8.
    const auto ansi = codePage.toAnsi(text);
    if (ansi && ansi->rfind(Utf8Bom, 0) != 0) return *ansi;
    return Utf8Bom + text;
}

std::vector<std::string> Decode(const std::string& bytes, CodePage& codePage) {
    const bool utf8 = bytes.rfind(Utf8Bom, 0) == 0;
    const std::string text = utf8 ? bytes.substr(3) : codePage.fromAnsi(bytes);
    std::vector<std::string> entries;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            entries.push_back(line);
            line.clear();
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += text[i];
        }
    }
    if (!line.empty()) entries.push_back(line);
    return entries;
}

}  // namespace listfile
