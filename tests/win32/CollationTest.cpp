// The order of the command list as the user's locale gives it.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/win32/Wide.h"
#include "platform/win32/Win32Collation.h"

namespace {

TEST(CollationTest, KeysAndComparisonOrderAsTheLocaleComparesIgnoringCase) {
    Win32Collation collation;
    const std::vector<std::string> texts = {"b",      "B",         "a",   "日本",  "A",  "cd", "Cd",
                                            "cd ..",  "copy",      "ａ",  "Ä",     "z",  "",   "10",
                                            "9",      "echo 日本", "-x",  "co-py", "_a", "é",  "e"};
    for (const std::string& a : texts) {
        for (const std::string& b : texts) {
            const std::wstring wa = ToWide(a);
            const std::wstring wb = ToWide(b);
            const int compared = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(),
                                                static_cast<int>(wa.size()), wb.c_str(),
                                                static_cast<int>(wb.size()));
            const std::string ka = collation.sortKey(a);
            const std::string kb = collation.sortKey(b);
            const int byKey = ka < kb ? CSTR_LESS_THAN : ka == kb ? CSTR_EQUAL : CSTR_GREATER_THAN;
            EXPECT_EQ(byKey, compared) << a << " / " << b;
            const int sign = collation.compare(a, b);
            const int byCompare = sign < 0 ? CSTR_LESS_THAN : sign == 0 ? CSTR_EQUAL : CSTR_GREATER_THAN;
            EXPECT_EQ(byCompare, compared) << a << " / " << b;
        }
    }
    EXPECT_EQ(collation.sortKey("DIR"), collation.sortKey("dir"));

    // Texts that begin alike, as neighbours in a list do, with what follows in every form the
    // order treats apart: letter pairs, marks that take their weight from the character before,
    // width, kana, hyphens and apostrophes.
    const std::vector<std::string> beginnings = {"copy \"C:\\work\\file ", "echo 日本 ", "co-op ",
                                                 "it's ", "cz c", "abc", "x\\", ""};
    const std::vector<std::string> endings = {"a",  "A",   "b",  "-x",    "x",      "ー",
                                              "ｰ",  "\u0301e", "é", "h", "ch", "",
                                              "10", "9",   "日本", "にほん", "ニホン", "ﾆﾎﾝ",
                                              "'s", " z", "\\y"};
    std::vector<std::string> alike;
    for (const std::string& beginning : beginnings) {
        for (const std::string& ending : endings) alike.push_back(beginning + ending);
    }
    for (const std::string& a : alike) {
        for (const std::string& b : alike) {
            const std::wstring wa = ToWide(a);
            const std::wstring wb = ToWide(b);
            const int compared = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(),
                                                static_cast<int>(wa.size()), wb.c_str(),
                                                static_cast<int>(wb.size()));
            const int sign = collation.compare(a, b);
            EXPECT_EQ(sign < 0 ? CSTR_LESS_THAN : sign == 0 ? CSTR_EQUAL : CSTR_GREATER_THAN, compared)
                << a << " / " << b;
        }
    }
    // Long texts, whose keys take the most room, order alike.
    const std::string longer = std::string(4000, 'x') + "é";
    EXPECT_LT(collation.sortKey(std::string(4000, 'x') + "e"), collation.sortKey(longer));
    EXPECT_LT(collation.sortKey(longer), collation.sortKey(std::string(4000, 'x') + "f"));
    EXPECT_EQ(collation.sortKey(longer), collation.sortKey(std::string(4000, 'X') + "É"));
}

}  // namespace
