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
        EXPECT_EQ(codePage.fromAnsi(*c.ansi), c.text);
    }
}

TEST(CodePageTest, EverySingleByteCharacterRoundTrips) {
    if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP();
    Win32CodePage codePage;
    for (int b = 1; b < 256; ++b) {
        SCOPED_TRACE(b);
        const std::string ansi(1, static_cast<char>(b));
        EXPECT_EQ(codePage.toAnsi(codePage.fromAnsi(ansi)), ansi);
    }
}

}  // namespace
