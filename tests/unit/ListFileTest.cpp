#include "commandlist/ListFile.h"

#include <gtest/gtest.h>

#include "tests/fakes/FakePlatform.h"

using Entries = std::vector<std::string>;

TEST(ListFile, ReadingSplitsAtCrAndCrLfOnly) {
    FakeCodePage codePage;
    struct Case {
        std::string bytes;
        Entries entries;
    };
    const Case cases[] = {
        {"a\r\nb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb\n", {"a\nb\n"}},
        {"b\r\n\r\na", {"b", "", "a"}},
        {"\r\n", {""}},
        {"", {}},
        {"x\r\nx", {"x", "x"}},
        {" a \r\n", {" a "}},
        {"\xE9t\xE9", {"été"}},                    // ANSI bytes become characters
        {"\xEF\xBB\xBF日本\r\n語", {"日本", "語"}},  // a byte-order mark means UTF-8
    };
    for (const Case& c : cases) EXPECT_EQ(listfile::Decode(c.bytes, codePage), c.entries) << c.bytes;
}

TEST(ListFile, WritingSkipsEmptyEntriesAndEndsWithoutALineBreak) {
    FakeCodePage codePage;
    EXPECT_EQ(listfile::Encode({"", "a", "b"}, codePage), "a\r\nb");
    EXPECT_EQ(listfile::Encode({"a"}, codePage), "a");
    EXPECT_EQ(listfile::Encode({}, codePage), "");
    EXPECT_EQ(listfile::Encode({"été"}, codePage), "\xE9t\xE9");
}

TEST(ListFile, AListTheCodePageCannotHoldIsWrittenAsUtf8) {
    FakeCodePage codePage;
    const std::string bytes = listfile::Encode({"cd 日本", "dir"}, codePage);
    EXPECT_EQ(bytes, "\xEF\xBB\xBF" "cd 日本\r\ndir");
    EXPECT_EQ(listfile::Decode(bytes, codePage), (Entries{"cd 日本", "dir"}));
}

TEST(ListFile, AnsiBytesThatLookLikeAByteOrderMarkAreWrittenAsUtf8) {
    FakeCodePage codePage;
    const std::vector<std::string> entries{"\u00EF\u00BB\u00BFd"};  // the mark's bytes as characters
    EXPECT_EQ(listfile::Decode(listfile::Encode(entries, codePage), codePage), entries);
}

TEST(ListFile, AnEntryHoldingACrBecomesTwoWhenReadBack) {
    FakeCodePage codePage;
    EXPECT_EQ(listfile::Decode(listfile::Encode({"a\rb"}, codePage), codePage), (Entries{"a", "b"}));
}
