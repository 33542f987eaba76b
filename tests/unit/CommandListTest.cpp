#include <gtest/gtest.h>

#include <algorithm>

#include "commandlist/CommandList.h"
#include "commandlist/CommandSearch.h"
#include "tests/fakes/FakePlatform.h"

using Entries = std::vector<std::string>;

namespace {

// The order by definition: entries placed one at a time, each after the entries equal to it
// without regard to letter case.
struct OneByOne {
    void Place(const std::string& text) {
        const auto place = std::upper_bound(entries.begin(), entries.end(), text,
                                            [this](const std::string& a, const std::string& b) {
                                                return collation.sortKey(a) < collation.sortKey(b);
                                            });
        entries.insert(place, text);
    }
    void Append(const Entries& lines) {
        const Entries before = entries;
        for (const std::string& line : lines) {
            if (std::find(before.begin(), before.end(), line) == before.end()) Place(line);
        }
    }
    FakeCollation collation;
    Entries entries;
};

class CommandListTest : public ::testing::Test {
protected:
    // What the list box shows is what the list holds.
    void ExpectShown() { EXPECT_EQ(box.items(), list.Entries()); }
    // The folded texts stand beside their entries.
    void ExpectSearchTextsBeside() {
        std::vector<std::string> expected;
        for (const std::string& entry : list.Entries()) expected.push_back(search::Fold(entry));
        EXPECT_EQ(list.SearchTexts(), expected);
    }
    std::string SelectedText() {
        return list.Selected() >= 0 ? list.At(list.Selected()) : "(none)";
    }

    FakeCollation collation;
    FakeFocus focus;
    FakeListBox box{"lstCommand", focus};
    CommandList list{box, collation};
};

TEST_F(CommandListTest, AddingSkipsExactDuplicatesOnly) {
    EXPECT_TRUE(list.Add("dir"));
    EXPECT_FALSE(list.Add("dir"));
    EXPECT_TRUE(list.Add("DIR"));
    EXPECT_TRUE(list.Add(""));
    EXPECT_EQ(list.Entries(), (Entries{"", "dir", "DIR"}));
    EXPECT_TRUE(list.Modified());
    EXPECT_EQ(box.listIndex(), -1);
    ExpectShown();
}

TEST_F(CommandListTest, EveryWayOfAddingOrdersAsPlacingOneByOne) {
    // The batches take the three ways new entries are shown: all after the old ones, a few into
    // their places, and many merged and shown anew; a list read in order places them by the
    // system's comparison until many new ones make it take sort keys, one read out of order by
    // its keys throughout. The search texts, asked for once, stay beside the entries.
    Entries many;
    for (int i = 0; i < 600; ++i) many.push_back("m" + std::to_string((i * 7919) % 600));
    const std::vector<Entries> firstBatches = {
        {"b", "B", "a", "日本", "A", "cd", "Cd", "b"},
        {"A", "a", "b", "B", "b", "cd", "Cd", "日本"},
    };
    for (const Entries& first : firstBatches) {
        SCOPED_TRACE(first[0]);
        const std::vector<Entries> batches = {
            first, {"zz", "zz2", "ZZ"}, {"c"}, {"b", "c", "B", "a0", "AA", "c"}, many,
            {"", "a", "0"},
        };
        OneByOne expected;
        list.Clear();
        for (const Entries& batch : batches) {
            SCOPED_TRACE(batch.size());
            if (list.Count() > 1) box.setListIndex(1);
            const std::string selected = SelectedText();
            if (list.Count() == 0) {
                list.Load(batch);
                for (const std::string& text : batch) expected.Place(text);
                list.SearchTexts();
            } else if (batch.size() == 1) {
                EXPECT_TRUE(list.Add(batch[0]));
                expected.Append(batch);
            } else {
                list.Append(batch);
                expected.Append(batch);
            }
            ASSERT_EQ(list.Entries(), expected.entries);
            ExpectShown();
            ExpectSearchTextsBeside();
            EXPECT_EQ(SelectedText(), selected);  // the selection stays on its entry
        }
        EXPECT_EQ(list.Entries()[0], "");
        list.Remove(3);
        ExpectSearchTextsBeside();
    }
}

TEST_F(CommandListTest, ListsInOrderAreCheckedNotKeyed) {
    // As the program saves a list: in order, equal entries included.
    Entries lines;
    for (int i = 0; i < 1000; ++i) lines.push_back("echo line " + std::to_string(100000 + i));
    lines.insert(lines.begin() + 500, lines[500]);
    list.Load(lines);
    EXPECT_EQ(list.Entries(), lines);
    EXPECT_EQ(collation.keys, 0);
    EXPECT_EQ(collation.comparisons, 1000) << "one per neighbouring pair";
    EXPECT_TRUE(list.Add("echo line 100500x"));
    EXPECT_FALSE(list.Add("echo line 100500"));
    EXPECT_EQ(list.Find("ECHO line 100500"), -1);
    EXPECT_EQ(list.Find("echo line 100500"), 500);
    list.Remove(0);
    EXPECT_EQ(collation.keys, 0) << "adding and finding compare, as few times as a search takes";
    EXPECT_LT(collation.comparisons, 1000 + 4 * 20);

    // Many entries among the old ones: every entry keyed once, and then only new ones.
    Entries among;
    for (int i = 0; i < 300; ++i) among.push_back("echo line " + std::to_string(100000 + i) + "b");
    list.Append(among);
    EXPECT_EQ(collation.keys, list.Count());
    list.Add("echo 1");
    list.Append({"echo 2", "echo 3"});
    EXPECT_EQ(collation.keys, list.Count() + 1) << "echo 1 is keyed to be found and to be placed";

    // Out of order: keyed to be sorted, as before.
    collation.keys = 0;
    list.Load({"b", "a"});
    EXPECT_EQ(list.Entries(), (Entries{"a", "b"}));
    EXPECT_EQ(collation.keys, 2);
}

TEST_F(CommandListTest, FindIsExact) {
    list.Load({"dir", "DIR", "cd ..", "echo 日本", "dir"});
    EXPECT_EQ(list.Entries(), (Entries{"cd ..", "dir", "DIR", "dir", "echo 日本"}));
    EXPECT_EQ(list.Find("DIR"), 2);
    EXPECT_EQ(list.Find("dir"), 1);
    EXPECT_EQ(list.Find("Dir"), -1);
    EXPECT_EQ(list.Find("echo 日本"), 4);
    EXPECT_EQ(list.Find("zzz"), -1);
}

TEST_F(CommandListTest, WhatChangesTheModifiedFlagAndTellsOfAChange) {
    int changes = 0;
    list.onChange = [&] { ++changes; };
    struct Step {
        const char* name;
        std::function<void(CommandList&)> run;
        bool modified;
        bool changed;
    };
    const Step steps[] = {
        {"load",
         [](CommandList& l) {
             l.Load({"a", "b"});
         },
         false, true},
        {"add held", [](CommandList& l) { l.Add("a"); }, false, false},
        {"add new", [](CommandList& l) { l.Add("c"); }, true, true},
        {"saved", [](CommandList& l) { l.MarkSaved(); }, false, false},
        {"append held only",
         [](CommandList& l) {
             l.Append({"a", "b"});
         },
         true, false},
        {"append new", [](CommandList& l) { l.Append({"d"}); }, true, true},
        {"saved again", [](CommandList& l) { l.MarkSaved(); }, false, false},
        {"remove", [](CommandList& l) { l.Remove(0); }, true, true},
        {"clear", [](CommandList& l) { l.Clear(); }, false, true},
        {"remove nothing", [](CommandList& l) { l.Remove(-1); }, false, false},
    };
    for (const Step& step : steps) {
        changes = 0;
        step.run(list);
        EXPECT_EQ(list.Modified(), step.modified) << step.name;
        EXPECT_EQ(changes, step.changed ? 1 : 0) << step.name;
        ExpectShown();
    }
}

TEST_F(CommandListTest, RemovingLeavesNoEntrySelected) {
    list.Load({"a", "b", "c"});
    box.setListIndex(1);
    list.Remove(list.Selected());
    EXPECT_EQ(list.Entries(), (Entries{"a", "c"}));
    EXPECT_EQ(list.Selected(), -1);
    ExpectShown();
}

TEST_F(CommandListTest, LoadingReplacesEverythingAndKeepsEqualLines) {
    list.Add("gone");
    list.Load({"b", "", "a\nx", "dir", "b"});
    EXPECT_EQ(list.Entries(), (Entries{"", "a\nx", "b", "b", "dir"}));
    EXPECT_FALSE(list.Modified());
    ExpectShown();
}

}  // namespace
