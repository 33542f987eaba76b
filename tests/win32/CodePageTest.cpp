#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/Win32CodePage.h"

namespace {

struct Case {
    std::string text;
    std::optional<std::string> ansi;  // nothing: the code page cannot hold the text
};

// The tests run in the code page the system has: 1252 by default under Wine, 932 with a
// Japanese locale (the test list runs them once more in that one).
std::vector<Case> CasesForThisCodePage() {
    std::vector<Case> cases = {
        {"", std::string()},
        {"dir /w & echo \"a\"\r\n", std::string("dir /w & echo \"a\"\r\n")},
        {"\xFF\xFE", std::nullopt},  // not UTF-8: no ANSI form either
    };
    const std::vector<Case> westernEuropean = {
        {"été", std::string("\xE9t\xE9")},
        {"€ ÿ", std::string("\x80 \xFF")},
        {"日本", std::nullopt},
        {"cd 日本", std::nullopt},  // one character is enough
        {"∞", std::nullopt},        // best fit would give "8"
        {"Ā", std::nullopt},        // best fit would give "A"
        {"\U0001F600", std::nullopt},
    };
    const std::vector<Case> japanese = {
        {"日本", std::string("\x93\xFA\x96\x7B")},
        {"ｱ", std::string("\xB1")},       // half-width katakana: one byte
        {"表", std::string("\x95\x5C")},  // second byte is a backslash
        {"é", std::nullopt},              // best fit would give "e"
        {"\U0002000B", std::nullopt},
    };
    if (GetACP() == 1252) cases.insert(cases.end(), westernEuropean.begin(), westernEuropean.end());
    if (GetACP() == 932) cases.insert(cases.end(), japanese.begin(), japanese.end());
    return cases;
}

TEST(CodePageTest, ToAnsiGivesExactFormsOrNothing) {
    Win32CodePage codePage;
    for (const Case& c : CasesForThisCodePage()) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(codePage.toAnsi(c.text), c.ansi);
    }
}

TEST(CodePageTest, FromAnsiReadsTheSameForms) {
    Win32CodePage codePage;
    for (const Case& c : CasesForThisCodePage()) {
        if (!c.ansi) continue;
        SCOPED_TRACE(c.text);
        const CodePage::Decoded decoded = codePage.fromAnsi(*c.ansi);
        EXPECT_EQ(decoded.text, c.text);
        EXPECT_TRUE(decoded.lossless);
    }
}

// ANSI bytes and the text a strict read gives, or nothing when the read is lossy.
struct ReadCase {
    std::string ansi;
    std::optional<std::string> text;
};

std::vector<ReadCase> ReadCasesForThisCodePage() {
    std::vector<ReadCase> cases = {{"dir /w\r\n", std::string("dir /w\r\n")}};
    // The five bytes 1252 leaves undefined: Wine (like the table Windows ships) reads them as
    // the C1 controls of the same number and writes those back as the same bytes.
    const std::vector<ReadCase> westernEuropean = {
        {"\x81\x8D\x8F\x90\x9D", std::string("\u0081\u008D\u008F\u0090\u009D")},
        {"\xE9t\xE9 \x80", std::string("été €")},
    };
    // The single bytes 932 leaves undefined are not checked: Wine reads 0x80 as U+0080 and back
    // and refuses 0xA0 and 0xFD-0xFF, where the table Windows ships has U+F8F0-U+F8F3.
    const std::vector<ReadCase> japanese = {
        {"\x93\xFA\x96\x7B", std::string("日本")},
        {"\x95\x5C\xB1", std::string("表ｱ")},  // a backslash trail byte; half-width katakana
        {"\x87\x40", std::string("①")},
        {"\x93", std::nullopt},      // a lead byte at the end
        {"\x93\r\n", std::nullopt},  // a lead byte before a line break
        {"\x85\x40", std::nullopt},  // a pair without a character
        {"\xED\x40", std::nullopt},  // a second form of 纊, which is written back as FA 5C
    };
    if (GetACP() == 1252) cases.insert(cases.end(), westernEuropean.begin(), westernEuropean.end());
    if (GetACP() == 932) cases.insert(cases.end(), japanese.begin(), japanese.end());
    return cases;
}

TEST(CodePageTest, FromAnsiIsLosslessOnlyForBytesThatComeBack) {
    Win32CodePage codePage;
    for (const ReadCase& c : ReadCasesForThisCodePage()) {
        SCOPED_TRACE(testing::PrintToString(c.ansi));
        const CodePage::Decoded decoded = codePage.fromAnsi(c.ansi);
        EXPECT_EQ(decoded.lossless, c.text.has_value());
        if (c.text) {
            EXPECT_EQ(decoded.text, *c.text);
        } else {
            EXPECT_FALSE(decoded.text.empty()) << "a lossy read still gives text";
        }
    }
}

TEST(CodePageTest, EverySingleByteCharacterRoundTrips) {
    if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP();
    Win32CodePage codePage;
    for (int b = 1; b < 256; ++b) {
        SCOPED_TRACE(b);
        const std::string ansi(1, static_cast<char>(b));
        const CodePage::Decoded decoded = codePage.fromAnsi(ansi);
        EXPECT_TRUE(decoded.lossless);
        EXPECT_EQ(codePage.toAnsi(decoded.text), ansi);
    }
}

}  // namespace
