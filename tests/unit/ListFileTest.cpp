#include <gtest/gtest.h>

#include "commandlist/ListFile.h"
#include "tests/fakes/FakeCodePage.h"

using Entries = std::vector<std::string>;
using listfile::Encoding;
using listfile::LineEnd;
using namespace std::string_literals;

namespace {

constexpr const char* Mark = "\xEF\xBB\xBF";

// UTF-16 bytes of the code units the compiler made, with the byte-order mark.
std::string Utf16(std::u16string_view units, Encoding order) {
    std::string bytes = order == Encoding::Utf16Le ? "\xFF\xFE" : "\xFE\xFF";
    for (char16_t u : units) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        bytes += order == Encoding::Utf16Le ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
}

Entries NonEmpty(const Entries& entries) {
    Entries kept;
    for (const std::string& entry : entries) {
        if (!entry.empty()) kept.push_back(entry);
    }
    return kept;
}

}  // namespace

TEST(ListFile, ReadingSplitsAtCrLfCrAndLfAndKeepsTheFirstLineEnd) {
    FakeCodePage codePage;
    struct Case {
        std::string bytes;
        Entries entries;
        LineEnd lineEnd;
    };
    const Case cases[] = {
        {"a\r\nb", {"a", "b"}, LineEnd::CrLf},
        {"a\r\nb\r\n", {"a", "b"}, LineEnd::CrLf},
        {"a\rb\r", {"a", "b"}, LineEnd::Cr},
        {"git status\ngit log -1\n", {"git status", "git log -1"}, LineEnd::Lf},
        {"a\n\nb", {"a", "", "b"}, LineEnd::Lf},
        // LF CR is two line ends, not one.
        {"a\n\rb", {"a", "", "b"}, LineEnd::Lf},
        {"a\nb\r\nc\rd", {"a", "b", "c", "d"}, LineEnd::Lf},
        {"b\r\n\r\na", {"b", "", "a"}, LineEnd::CrLf},
        {"\r\n", {""}, LineEnd::CrLf},
        {"\n", {""}, LineEnd::Lf},
        {"", {}, LineEnd::CrLf},
        {"dir", {"dir"}, LineEnd::CrLf},
        {" a \r\n", {" a "}, LineEnd::CrLf},
        {Utf16(u"a\r\n\r\nb\nc\r", Encoding::Utf16Be), {"a", "", "b", "c"}, LineEnd::CrLf},
        {Utf16(u"a\nb", Encoding::Utf16Le), {"a", "b"}, LineEnd::Lf},
    };
    for (const Case& c : cases) {
        const listfile::Contents contents = listfile::Decode(c.bytes, codePage);
        EXPECT_EQ(contents.entries, c.entries) << testing::PrintToString(c.bytes);
        EXPECT_EQ(contents.lineEnd, c.lineEnd) << testing::PrintToString(c.bytes);
    }
}

TEST(ListFile, ReadingRecognisesTheEncodingAndReportsLoss) {
    FakeCodePage codePage;  // shaped like 932
    struct Case {
        std::string bytes;
        Entries entries;
        Encoding encoding;
        bool lossless;
    };
    const Case cases[] = {
        {"dir /w", {"dir /w"}, Encoding::Ansi, true},
        {"cd 日本\r\ndir", {"cd 日本", "dir"}, Encoding::Utf8, true},
        {"\xC3\xA9", {"é"}, Encoding::Utf8, true},  // also half-width katakana in 932
        {std::string(Mark) + "日本\r\n語", {"日本", "語"}, Encoding::Utf8WithMark, true},
        {std::string(Mark) + "dir", {"dir"}, Encoding::Utf8WithMark, true},
        {Utf16(u"日本\r\n語", Encoding::Utf16Le), {"日本", "語"}, Encoding::Utf16Le, true},
        {"\xFE\xFF\xD8\x3D\xDE\x00"s, {"\U0001F600"}, Encoding::Utf16Be, true},
        {Utf16(u"語 \U0001F600", Encoding::Utf16Le), {"語 \U0001F600"}, Encoding::Utf16Le, true},
        // Not UTF-8, but 932: two double-byte characters, a trail byte that is a backslash,
        // half-width katakana, an overlong UTF-8 form.
        {"\x93\xFA\x96\x7B\r\n\x95\x5C", {"日本", "表"}, Encoding::Ansi, true},
        {"\xB1\r\n\xC0\xAF", {"ｱ", "ﾀｯ"}, Encoding::Ansi, true},
        // Lossy: still read, with U+FFFD where the bytes had no character.
        {"a\x80", {"a\uFFFD"}, Encoding::Ansi, false},  // undefined in 932
        // A lead byte without its trail byte, which must not take the line break along.
        {"\x93\r\nb", {"\uFFFD", "b"}, Encoding::Ansi, false},
        {"\xFF", {"\uFFFD"}, Encoding::Ansi, false},
        {std::string(Mark) + "a\xFF", {"a\uFFFD"}, Encoding::Utf8WithMark, false},
        {"\xFF\xFE\x61\x00\x62"s, {"a\uFFFD"}, Encoding::Utf16Le, false},  // odd length
        // A lone high surrogate, a lone low one.
        {"\xFF\xFE\x3D\xD8\x61\x00"s, {"\uFFFDa"}, Encoding::Utf16Le, false},
        {"\xFE\xFF\xDE\x00"s, {"\uFFFD"}, Encoding::Utf16Be, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        const listfile::Contents contents = listfile::Decode(c.bytes, codePage);
        EXPECT_EQ(contents.entries, c.entries);
        EXPECT_EQ(contents.encoding, c.encoding);
        EXPECT_EQ(contents.lossless, c.lossless);
    }
}

TEST(ListFile, WritingKeepsTheEncodingItCanHoldTheListIn) {
    FakeCodePage codePage;
    const std::string bomLike = codePage
                                    .fromAnsi(
                                        "\xEF\xBB\xBF"
                                        "d")
                                    .text;  // 932 characters
    struct Case {
        Entries entries;
        std::optional<Encoding> encoding;  // nothing: a new list
        std::string bytes;
    };
    const Case cases[] = {
        {{"", "a", "b"}, std::nullopt, "a\r\nb"},  // no empty entries, no final line break
        {{}, std::nullopt, ""},
        {{"日本"}, std::nullopt, "\x93\xFA\x96\x7B"},
        {{"日本", "\U0001F600"}, std::nullopt, std::string(Mark) + "日本\r\n\U0001F600"},
        {{"日本"}, Encoding::Ansi, "\x93\xFA\x96\x7B"},
        {{"é"}, Encoding::Ansi, std::string(Mark) + "é"},
        {{"日本"}, Encoding::Utf8, "日本"},
        {{"dir"}, Encoding::Utf8, "dir"},  // read back as ANSI, which keeps ASCII
        {{"dir"}, Encoding::Utf8WithMark, std::string(Mark) + "dir"},
        {{"日本", "a"}, Encoding::Utf16Le, Utf16(u"日本\r\na", Encoding::Utf16Le)},
        {{"\U0001F600"}, Encoding::Utf16Be, "\xFE\xFF\xD8\x3D\xDE\x00"s},
        // Bytes that would read back as other text take the mark instead: ANSI that is valid
        // UTF-8 or begins like the mark, UTF-8 whose first character is U+FEFF.
        {{"ﾃｩ"}, Encoding::Ansi, std::string(Mark) + "ﾃｩ"},
        {{bomLike}, std::nullopt, std::string(Mark) + bomLike},
        {{"\uFEFFdir"}, Encoding::Utf8, std::string(Mark) + "\uFEFFdir"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.entries));
        EXPECT_EQ(listfile::Encode(c.entries, c.encoding, LineEnd::CrLf, codePage), c.bytes);
    }
}

TEST(ListFile, WritingSeparatesTheEntriesWithTheLineEndAsked) {
    FakeCodePage codePage;
    const Entries entries{"git fetch", "", "git status"};
    EXPECT_EQ(listfile::Encode(entries, Encoding::Ansi, LineEnd::Lf, codePage),
              "git fetch\ngit status");
    EXPECT_EQ(listfile::Encode(entries, Encoding::Ansi, LineEnd::Cr, codePage),
              "git fetch\rgit status");
    EXPECT_EQ(listfile::Encode({"日本", "a"}, Encoding::Utf16Le, LineEnd::Lf, codePage),
              Utf16(u"日本\na", Encoding::Utf16Le));
}

TEST(ListFile, EveryListReadsBackInEveryEncoding) {
    FakeCodePage codePage;
    const Entries lists[] = {
        {"dir", "cd 日本"},    {"", "ｱ表", ""},
        {"\U0001F600", "é"},   {"ﾃｩ"},
        {"\uFEFF", "\uFEFFa"}, {codePage.fromAnsi("\xEF\xBB\xBF").text},
        {"\xEF\xBF\xBD"},  // U+FFFD, as a lossy read leaves it
    };
    const std::optional<Encoding> encodings[] = {std::nullopt,      Encoding::Ansi,
                                                 Encoding::Utf8,    Encoding::Utf8WithMark,
                                                 Encoding::Utf16Le, Encoding::Utf16Be};
    for (const Entries& entries : lists) {
        for (const std::optional<Encoding>& encoding : encodings) {
            SCOPED_TRACE(testing::PrintToString(entries) + " " +
                         std::to_string(encoding ? static_cast<int>(*encoding) : -1));
            for (const LineEnd lineEnd : {LineEnd::CrLf, LineEnd::Lf, LineEnd::Cr}) {
                const auto back = listfile::Decode(
                    listfile::Encode(entries, encoding, lineEnd, codePage), codePage);
                EXPECT_EQ(back.entries, NonEmpty(entries));
                EXPECT_TRUE(back.lossless);
            }
        }
    }
}

TEST(ListFile, AFileSavedInTheEncodingItWasReadInKeepsItsBytes) {
    FakeCodePage codePage;
    const std::string files[] = {
        "\x93\xFA\x96\x7B\r\ndir",
        "cd 日本\r\ndir",
        std::string(Mark) + "cd 日本\r\ndir",
        std::string(Mark) + "dir",
        Utf16(u"cd 日本\r\n\U0001F600", Encoding::Utf16Le),
        Utf16(u"dir", Encoding::Utf16Be),
        "cd src\nmake test",
        Utf16(u"cd 日本\ndir", Encoding::Utf16Le),
        "a\rb",
    };
    for (const std::string& bytes : files) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        const listfile::Contents read = listfile::Decode(bytes, codePage);
        EXPECT_EQ(listfile::Encode(read.entries, read.encoding, read.lineEnd, codePage), bytes);
    }
}

TEST(ListFile, AnEntryHoldingALineBreakBecomesTwoWhenReadBack) {
    FakeCodePage codePage;
    for (const char* entry : {"a\rb", "a\nb"}) {
        EXPECT_EQ(listfile::Decode(listfile::Encode({entry}, std::nullopt, LineEnd::CrLf, codePage),
                                   codePage)
                      .entries,
                  (Entries{"a", "b"}));
    }
}
