#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commandlist/CommandSearch.h"

namespace {

TEST(CommandSearchTest, FoldingIgnoresCaseWidthAndKana) {
    struct Case {
        const char* text;
        const char* folded;
    };
    const Case cases[] = {
        {"DIR /S *.TXT", "dir /s *.txt"},
        {"ＡＢＣ ｘｙｚ０１２％＼", "abc xyz012%\\"},
        {"テスト", "てすと"},
        {"ﾃﾞｰﾀ", "でーた"},  // half-width kana with its voiced mark composed
        {"ｶﾞｷﾞｸﾞｹﾞｺﾞ ｻﾞｼﾞｽﾞｾﾞｿﾞ ﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞ", "がぎぐげご ざじずぜぞ だぢづでど"},
        {"ﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞ ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", "ばびぶべぼ ぱぴぷぺぽ"},
        {"ｳﾞｧｲｵﾘﾝ ヴ", "ゔぁいおりん ゔ"},
        {"ﾜﾞ ヷ", "ヷ ヷ"},              // no hiragana form: the same character either way
        {"か\u3099 ハ\u309A", "が ぱ"},  // combining marks
        {"ｱﾞ ﾞ ﾟ", "あ゛ ゛ ゜"},        // a mark that composes with nothing stays a mark
        {"｢ﾌｧｲﾙ｣､｡･ｯ", "「ふぁいる」、。・っ"},
        {"ヽヾ", "ゝゞ"},
        {"ÀÉÎÕÜ × Ÿ", "àéîõü × ÿ"},
        {"ŁÓDŹ ĞİŞ", "łódź ğİş"},
        {"ΑΒΓΩ ДОМ ЁЖ", "αβγω дом ёж"},
        {"a\u3000b", "a b"},
        {"￥１００", "¥100"},
        {"\xFF\xFE"
         "ABC\xE3\x81",
         "\xFF\xFE"
         "abc\xE3\x81"},  // bytes that are not UTF-8 stay
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(search::Fold(c.text), c.folded) << c.text;
}

TEST(CommandSearchTest, WordsAreCutAtSpacesOfEitherWidth) {
    struct Case {
        const char* text;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"", {}},           {"  \u3000 ", {}},
        {"copy", {"copy"}}, {"  COPY\u3000ﾃﾞｰﾀ  backup ", {"copy", "でーた", "backup"}},
        {"a\tb", {"a\tb"}},  // only spaces cut
    };
    for (const Case& c : cases) EXPECT_EQ(search::Words(c.text), c.words) << c.text;
}

TEST(CommandSearchTest, EveryWordInAnyOrderMatchesInTheListsOrder) {
    const std::vector<std::string> entries = {
        R"(copy "C:\Users\山田\データ.txt" D:\backup\)",
        R"(dir /s /b *.cpp | findstr /i test)",
        R"(echo %USERPROFILE%> テスト結果.txt)",
        R"(powershell -Command "Get-ChildItem | Sort-Object Length")",
        R"(ＤＩＲ ＊．ｔｘｔ)",
        R"(ping -n 4 example.com)",
    };
    std::vector<std::string> folded;
    for (const std::string& entry : entries) folded.push_back(search::Fold(entry));
    struct Case {
        const char* text;
        std::vector<int> matches;
    };
    const Case cases[] = {
        {"", {0, 1, 2, 3, 4, 5}},
        {"   ", {0, 1, 2, 3, 4, 5}},
        {"copy データ", {0}},
        {"ﾃﾞｰﾀ COPY", {0}},
        {"でーた", {0}},
        {"てすと", {2}},
        {"TEST", {1}},
        {"dir", {1, 4}},
        {"txt dir", {4}},
        {"sort get-childitem", {3}},
        {"%userprofile%", {2}},
        {"| findstr", {1}},
        {"copy\u3000backup", {0}},
        {"ping ping", {5}},
        {"ping zzz", {}},
        {"\"", {0, 3}},
    };
    for (const Case& c : cases) EXPECT_EQ(search::FindMatches(folded, c.text), c.matches) << c.text;
}

TEST(CommandSearchTest, TypingOnNarrowsTheMatches) {
    using Words = std::vector<std::string>;
    struct Case {
        Words words, earlier;
        bool narrows;
    };
    const Case cases[] = {
        {{"cop"}, {"co"}, true},
        {{"copy", "d"}, {"copy"}, true},
        {{"d", "copy"}, {"copy"}, true},
        {{"xcopy"}, {"copy"}, true},
        {{"cop"}, {"copy"}, false},
        {{"copy"}, {"copy", "d"}, false},
        {{"dir"}, {"copy"}, false},
        {{"a"}, {}, true},
        {{}, {"a"}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(search::Narrows(c.words, c.earlier), c.narrows);
    const std::vector<std::string> folded = {"copy a", "dir", "copy b", "xcopy a"};
    EXPECT_EQ(search::FindMatchesAmong(folded, {"a"}, {0, 2, 3}), (std::vector<int>{0, 3}));
}

}  // namespace
