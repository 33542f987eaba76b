#include "text/Text.h"

#include <gtest/gtest.h>

using namespace text;

TEST(Text, LeftAndRightCountCharactersNotBytes) {
    EXPECT_EQ(Left("入力＋実行", 2), "入力");
    EXPECT_EQ(Right("入力＋実行", 2), "実行");
    EXPECT_EQ(Left("cd", 5), "cd");
    EXPECT_EQ(Right("d:", 1), ":");
    EXPECT_EQ(Right("", 1), "");
    EXPECT_EQ(Left("abc", 0), "");
}

TEST(Text, TrimRemovesSpacesOnly) {
    EXPECT_EQ(Trim("  exit "), "exit");
    EXPECT_EQ(Trim("\texit\r\n"), "\texit\r\n");
    EXPECT_EQ(Trim("   "), "");
}

TEST(Text, CaseChangesTouchAsciiLettersOnly) {
    EXPECT_EQ(LCase("CD \\WINDOWS 日本"), "cd \\windows 日本");
    EXPECT_EQ(UCase("d:"), "D:");
}

TEST(Text, SplitKeepsEmptyPieces) {
    EXPECT_EQ(Split("C:\\WINDOWS\\", "\\"), (std::vector<std::string>{"C:", "WINDOWS", ""}));
    EXPECT_EQ(Split("abc", ":"), (std::vector<std::string>{"abc"}));
    EXPECT_EQ(Join({"C:", "Work"}, "\\"), "C:\\Work");
}

TEST(Text, Utf8RoundTripAndMalformedBytes) {
    const std::string mixed = "a日\xF0\x9F\x98\x80";  // ASCII, BMP and a character beyond it
    EXPECT_EQ(DecodeUtf8(mixed), (std::u32string{U'a', U'日', U'\U0001F600'}));
    EXPECT_EQ(EncodeUtf8(DecodeUtf8(mixed)), mixed);
    EXPECT_EQ(DecodeUtf8("\xFF" "a"), (std::u32string{U'\uFFFD', U'a'}));
    EXPECT_EQ(DecodeUtf8("\xE6\x97"), (std::u32string{U'\uFFFD', U'\uFFFD'}));  // cut short
    EXPECT_EQ(DecodeUtf8("\xC0\xAF"), (std::u32string{U'\uFFFD', U'\uFFFD'}));  // overlong
}

