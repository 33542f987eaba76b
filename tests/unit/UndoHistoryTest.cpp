#include "commandlist/UndoHistory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// Records text as a change of the box, as the box's change handler does.
void Type(UndoHistory& history, const std::string& text) { history.Record(text, static_cast<int>(text.size())); }

// Applies an undo or redo step as the window does: the text it shows is a change too.
std::optional<std::string> Step(UndoHistory& history, bool undo) {
    const auto entry = undo ? history.Undo() : history.Redo();
    if (!entry) return std::nullopt;
    history.Record(entry->text, entry->caret);  // suppressed
    return entry->text;
}
}  // namespace

TEST(UndoHistory, RightAfterStartThereIsNothingToUndo) {
    UndoHistory history;
    EXPECT_EQ(history.Undo(), std::nullopt);
    EXPECT_EQ(history.Redo(), std::nullopt);
}

TEST(UndoHistory, UndoAndRedoWalkThroughTheRecordedTexts) {
    UndoHistory history;
    Type(history, "a");
    Type(history, "ab");
    EXPECT_EQ(Step(history, true), "a");
    EXPECT_EQ(Step(history, true), "");
    EXPECT_EQ(Step(history, true), std::nullopt);
    EXPECT_EQ(Step(history, false), "a");
    EXPECT_EQ(Step(history, false), "ab");
    EXPECT_EQ(Step(history, false), std::nullopt);
}

TEST(UndoHistory, AChangeAfterUndoingDiscardsTheUndoneEntries) {
    UndoHistory history;
    Type(history, "a");
    Type(history, "ab");
    Type(history, "abc");
    Step(history, true);
    EXPECT_EQ(Step(history, true), "a");
    Type(history, "ax");
    EXPECT_EQ(history.UndoCount(), 3);
    EXPECT_EQ(Step(history, true), "a");
    EXPECT_EQ(Step(history, false), "ax");
    EXPECT_EQ(Step(history, false), std::nullopt);
}

TEST(UndoHistory, AChangeAfterOneUndoneStepDiscardsThatStepToo) {
    UndoHistory history;
    Type(history, "a");
    Type(history, "ab");
    EXPECT_EQ(Step(history, true), "a");
    Type(history, "ac");
    EXPECT_EQ(history.UndoDepth(), 0);
    EXPECT_EQ(Step(history, false), std::nullopt);  // "ab" is gone
    EXPECT_EQ(Step(history, true), "a");
    EXPECT_EQ(Step(history, true), "");
}

TEST(UndoHistory, OnlyAChangeFromTheTextOnDisplayIsAStep) {
    struct Case {
        const char* what;
        std::vector<std::string> steps;   // texts the box changed to; "<" is one Undo
        int depth;                        // steps undone afterwards, for Redo
        std::vector<std::string> undone;  // what Undo then shows, back to the oldest entry
    };
    const Case cases[] = {
        {"the empty box emptied again", {"", ""}, 0, {}},
        {"each text set twice", {"a", "a", "ab", "ab"}, 0, {"a", ""}},
        {"a text seen before, but not on display", {"a", "", "a"}, 0, {"", "a", ""}},
        {"the text undone to, set again", {"a", "ab", "<", "a"}, 1, {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UndoHistory history;
        for (const std::string& step : c.steps) {
            if (step == "<") {
                Step(history, true);
            } else {
                Type(history, step);
            }
        }
        EXPECT_EQ(history.UndoDepth(), c.depth);
        std::vector<std::string> undone;
        while (const auto text = Step(history, true)) undone.push_back(*text);
        EXPECT_EQ(undone, c.undone);
    }
}

TEST(UndoHistory, TheOldestEntriesSlideOutAfterAHundred) {
    UndoHistory history;
    for (int i = 1; i <= 150; ++i) history.Record("t" + std::to_string(i), i);
    EXPECT_EQ(history.UndoCount(), 100);
    std::optional<UndoHistory::Entry> last;
    int steps = 0;
    while (auto entry = history.Undo()) {
        history.Record(entry->text, entry->caret);
        last = entry;
        ++steps;
        // Each text comes back with the caret it was recorded with.
        EXPECT_EQ(entry->text, "t" + std::to_string(entry->caret));
    }
    EXPECT_EQ(steps, 99);
    EXPECT_EQ(last->text, "t51");  // the oldest of the last hundred
    EXPECT_EQ(history.UndoDepth(), 99);  // not limited: Redo comes back one entry at a time
    EXPECT_EQ(history.Redo()->text, "t52");
}

TEST(UndoHistory, ASuppressedChangeIsNotRecordedAndClearsTheSuppression) {
    UndoHistory history;
    history.SetSuppressed(true);
    history.Record("x", 1);
    EXPECT_FALSE(history.Suppressed());
    EXPECT_EQ(history.UndoCount(), 1);
}
