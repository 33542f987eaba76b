#include <gtest/gtest.h>

#include <algorithm>

#include "commandlist/CommandList.h"
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
    // their places, and many merged and shown anew.
    Entries many;
    for (int i = 0; i < 600; ++i) many.push_back("m" + std::to_string((i * 7919) % 600));
    const std::vector<Entries> batches = {
        {"b", "B", "a", "日本", "A", "cd", "Cd", "b"},
        {"zz", "zz2", "ZZ"},
        {"b", "c", "B", "a0", "AA", "c"},
        many,
        {"", "a", "0"},
    };
    OneByOne expected;
    for (const Entries& batch : batches) {
        SCOPED_TRACE(batch.size());
        if (list.Count() > 1) box.setListIndex(1);
        const std::string selected = SelectedText();
        if (list.Count() == 0) {
            list.Load(batch);
            for (const std::string& text : batch) expected.Place(text);
        } else {
            list.Append(batch);
            expected.Append(batch);
        }
        ASSERT_EQ(list.Entries(), expected.entries);
        ExpectShown();
        EXPECT_EQ(SelectedText(), selected);  // the selection stays on its entry
    }
    EXPECT_EQ(list.Entries()[0], "");
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

TEST_F(CommandListTest, WhatChangesTheModifiedFlag) {
    struct Step {
        const char* name;
        std::function<void(CommandList&)> run;
        bool modified;
    };
    const Step steps[] = {
        {"load",
         [](CommandList& l) {
             l.Load({"a", "b"});
         },
         false},
        {"add held", [](CommandList& l) { l.Add("a"); }, false},
        {"add new", [](CommandList& l) { l.Add("c"); }, true},
        {"saved", [](CommandList& l) { l.MarkSaved(); }, false},
        {"append held only",
         [](CommandList& l) {
             l.Append({"a", "b"});
         },
         true},
        {"saved again", [](CommandList& l) { l.MarkSaved(); }, false},
        {"remove", [](CommandList& l) { l.Remove(0); }, true},
        {"clear", [](CommandList& l) { l.Clear(); }, false},
        {"remove nothing", [](CommandList& l) { l.Remove(-1); }, false},
    };
    for (const Step& step : steps) {
        step.run(list);
        EXPECT_EQ(list.Modified(), step.modified) << step.name;
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
