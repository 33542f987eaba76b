#include "prompt/PromptKeys.h"

#include <gtest/gtest.h>

#include "tests/fakes/FakePlatform.h"

TEST(PromptKeys, EachLineBreakIsOneEnter) {
    struct Case {
        const char* text;
        const char* keys;
    };
    const Case cases[] = {
        {"dir", "dir"},
        {"dir\r", "dir<Enter>"},
        {"a\r\nb", "a<Enter>b"},
        {"a\rb", "a<Enter>b"},
        {"a\nb", "a<Enter>b"},
        {"a\n\rb", "a<Enter><Enter>b"},
        {"a\r\r\nb", "a<Enter><Enter>b"},
        {"\r\n", "<Enter>"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(DescribeKeys(ToPromptKeys(c.text)), c.keys) << c.text;
}

TEST(PromptKeys, KeystrokeCodeCharactersAreTypedAsThemselves) {
    const std::string text = "echo %PATH% ^+~{}[]()";
    const auto keys = ToPromptKeys(text);
    ASSERT_EQ(keys.size(), text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        EXPECT_FALSE(keys[i].enter);
        EXPECT_EQ(keys[i].character, static_cast<char32_t>(text[i]));
    }
}

TEST(PromptKeys, CharactersBeyondTheBasicPlaneStayWhole) {
    const auto keys = ToPromptKeys("mkdir 日\xF0\x9F\x98\x80");
    ASSERT_EQ(keys.size(), 8u);
    EXPECT_EQ(keys[6].character, U'日');
    EXPECT_EQ(keys[7].character, U'\U0001F600');
}
