// The conversions between the program's UTF-8 and the UTF-16 of the ...W functions.

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/Wide.h"

namespace {

TEST(WideTest, TextsConvertBothWaysReplacingWhatIsNotText) {
    struct Case {
        std::string utf8;
        std::wstring wide;
    };
    const Case cases[] = {
        {"", L""},
        {"echo 日本語", L"echo 日本語"},
        {"\xF0\xA0\x80\x8B and \xF0\x9F\x98\x80", L"\U0002000B and \U0001F600"},  // surrogate pairs
        {"a\xFF\xFE\x62", L"a\uFFFD\uFFFDb"},  // bytes that are no UTF-8 at all, then "b"
        {"\xE6\x97", L"\uFFFD"},               // a character cut short
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(ToWide(c.utf8), c.wide);
        std::wstring appended = L"前";
        AppendWide(appended, c.utf8);
        EXPECT_EQ(appended, L"前" + c.wide);
    }
    EXPECT_EQ(ToUtf8(L"echo 日本語 \U0002000B"), "echo 日本語 \xF0\xA0\x80\x8B");
    EXPECT_EQ(ToUtf8(std::wstring(L"\xD800x")), "\xEF\xBF\xBDx");  // an unpaired surrogate
    EXPECT_EQ(ToUtf8(std::wstring(3000, L'語')).size(), 9000u);
}

TEST(WideTest, NamesConvertExactlyOrAreRefused) {
    struct Case {
        std::wstring name;
        bool exact;
    };
    const Case cases[] = {
        {L"C:\\日本語\\list.txt", true},
        {L"C:\\\U0002000B", true},                                // a pair
        {std::wstring(L"C:\\a") + wchar_t(0xD83D), false},        // a high one at the end
        {std::wstring(L"C:\\") + wchar_t(0xDE00) + L"b", false},  // a low one alone
        {std::wstring(L"C:\\") + wchar_t(0xD83D) + L"b", false},  // a high one before a letter
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.name));
        EXPECT_EQ(HasExactUtf8(c.name), c.exact);
        if (c.exact) {
            EXPECT_EQ(ToWide(NameToUtf8(c.name)), c.name);
        } else {
            EXPECT_THROW(NameToUtf8(c.name), UnpairedSurrogateInName);
        }
    }
}

}  // namespace
