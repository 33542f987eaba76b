#include "prompt/PromptKeys.h"

#include "text/Text.h"

std::vector<PromptKey> ToPromptKeys(std::string_view utf8) {
    const std::u32string characters = text::DecodeUtf8(utf8);
    std::vector<PromptKey> keys;
    keys.reserve(characters.size());
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const char32_t c = characters[i];
        if (c == U'\r' || c == U'\n') {
            keys.push_back({true, 0});
            if (c == U'\r' && i + 1 < characters.size() && characters[i + 1] == U'\n') ++i;
        } else {
            keys.push_back({false, c});
        }
    }
    return keys;
}
