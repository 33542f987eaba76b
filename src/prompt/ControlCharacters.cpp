#include "prompt/ControlCharacters.h"

#include <cstdio>

#include "text/Text.h"

namespace {
bool IsControl(char32_t c) { return (c < 0x20 && c != U'\r' && c != U'\n') || c == 0x7F; }
}  // namespace

std::optional<ControlCharacter> FirstControlCharacter(std::string_view utf8) {
    const std::u32string characters = text::DecodeUtf8(utf8);
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const char32_t c = characters[i];
        if (c == U'\r' || c == U'\n') {
            // CR LF is one line break, as it is one Enter when typed.
            if (c == U'\r' && i + 1 < characters.size() && characters[i + 1] == U'\n') ++i;
            ++line;
            column = 1;
            continue;
        }
        if (IsControl(c)) return ControlCharacter{c, line, column};
        ++column;
    }
    return std::nullopt;
}

std::string ControlCharacterName(char32_t code) {
    struct Named {
        char32_t code;
        const char* name;
    };
    static constexpr Named names[] = {
        {0x00, "ヌル文字"}, {0x07, "ベル"},       {0x08, "バックスペース"},
        {0x09, "タブ"},     {0x0B, "垂直タブ"},   {0x0C, "改ページ"},
        {0x1A, "Ctrl+Z"},   {0x1B, "エスケープ"}, {0x7F, "削除文字"},
    };
    const char* name = "制御文字";
    for (const Named& named : names) {
        if (named.code == code) name = named.name;
    }
    char codeText[16];
    std::snprintf(codeText, sizeof codeText, "U+%04X", static_cast<unsigned>(code));
    return std::string(name) + " (" + codeText + ")";
}

std::string ControlCharacterMessage(const ControlCharacter& found) {
    return "コマンドに制御文字 " + ControlCharacterName(found.code) +
           " があるため入力できません（" + std::to_string(found.line) + " 行目の " +
           std::to_string(found.column) +
           " 文字目）。\r\n\r\nタブやバックスペースなどの制御文字は、コマンドプロンプトでは"
           "編集キーとして働きます。取り除いてから入力してください。";
}
