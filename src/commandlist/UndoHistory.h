#pragma once
#include <array>
#include <optional>
#include <string>

// The command text box's undo history: the last 100 texts, each with the caret position it
// was recorded with (as the box reports it, in its own units). Undo and Redo move through it; a
// change recorded after undoing discards the undone entries.
class UndoHistory {
public:
    static constexpr int Capacity = 100;

    struct Entry {
        std::string text;
        int caret = 0;
        bool operator==(const Entry&) const = default;
    };

    UndoHistory() { Reset(); }

    // One entry holding the empty text, nothing undone.
    void Reset();
    // The box changed to text with the caret at caret. A change caused by Undo or Redo
    // itself is not recorded (see Suppress), nor one that leaves the text as the entry on
    // display holds it (the program emptying an empty box), so every Undo shows a change.
    void Record(const std::string& text, int caret);
    // The entry to show after one step back, or nothing at the oldest entry.
    std::optional<Entry> Undo();
    // The entry to show after one step forward, or nothing when nothing is undone.
    std::optional<Entry> Redo();

    // The next change comes from Undo or Redo and is not to be recorded.
    bool Suppressed() const { return suppress_; }
    void SetSuppressed(bool on) { suppress_ = on; }

    int UndoCount() const { return count_; }
    int UndoDepth() const { return depth_; }

private:
    std::array<Entry, Capacity> entries_;
    int count_ = 1;
    int depth_ = 0;
    bool suppress_ = false;
};
