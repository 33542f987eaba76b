#include <gtest/gtest.h>

#include "prompt/ControlCharacters.h"

TEST(ControlCharacters, TheFirstOneIsFoundWithItsLineAndColumn) {
    struct Case {
        const char* text;
        std::optional<ControlCharacter> found;
    };
    const Case cases[] = {
        {"dir /b > list.txt", std::nullopt},
        {"", std::nullopt},
        {"echo a\r\necho b\recho c\necho d", std::nullopt},  // every kind of line break is Enter
        {"echo 日本語 ∑ 😀", std::nullopt},
        {"echo\ta", ControlCharacter{0x09, 1, 5}},
        {"echo abc\b\bX", ControlCharacter{0x08, 1, 9}},
        {"\x1b"
         "cls",
         ControlCharacter{0x1B, 1, 1}},
        {"a\x7f", ControlCharacter{0x7F, 1, 2}},
        {"a\x1f", ControlCharacter{0x1F, 1, 2}},
        // Columns count characters, not bytes; CR LF is one break, a lone CR or LF one each.
        {"日本\t", ControlCharacter{0x09, 1, 3}},
        {"😀\x0b", ControlCharacter{0x0B, 1, 2}},
        {"echo a\r\necho b\r\n\tc", ControlCharacter{0x09, 3, 1}},
        {"a\rb\nc\r\n\r\nd\x0c", ControlCharacter{0x0C, 5, 2}},
        {"a\n\rb\x01", ControlCharacter{0x01, 3, 2}},  // LF then CR are two breaks
        {"x\t\x1b", ControlCharacter{0x09, 1, 2}},     // the first of several
    };
    for (const Case& c : cases) EXPECT_EQ(FirstControlCharacter(c.text), c.found) << c.text;
    EXPECT_EQ(FirstControlCharacter(std::string_view("ab\0c", 4)), (ControlCharacter{0x00, 1, 3}));
}

TEST(ControlCharacters, TheMessageNamesTheCharacterAndWhereItStands) {
    const std::pair<char32_t, const char*> names[] = {
        {0x09, "タブ (U+0009)"},       {0x08, "バックスペース (U+0008)"},
        {0x1B, "エスケープ (U+001B)"}, {0x7F, "削除文字 (U+007F)"},
        {0x00, "ヌル文字 (U+0000)"},   {0x01, "制御文字 (U+0001)"},
        {0x1F, "制御文字 (U+001F)"},
    };
    for (const auto& [code, name] : names) EXPECT_EQ(ControlCharacterName(code), name);
    const std::string message = ControlCharacterMessage({0x09, 3, 12});
    EXPECT_NE(message.find("タブ (U+0009)"), std::string::npos) << message;
    EXPECT_NE(message.find("3 行目の 12 文字目"), std::string::npos) << message;
}
