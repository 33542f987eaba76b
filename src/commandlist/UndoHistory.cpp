#include "commandlist/UndoHistory.h"

#include <algorithm>

void UndoHistory::Reset() {
    entries_.fill(Entry{});
    count_ = 1;
    depth_ = 0;
    suppress_ = false;
}

void UndoHistory::Record(const std::string& text, int caret) {
    if (suppress_) {
        suppress_ = false;
        return;
    }
    if (text == entries_[static_cast<std::size_t>(count_ - depth_ - 1)].text) return;
    // Undone entries are discarded, however many steps were taken back.
    if (depth_ >= 1) {
        count_ -= depth_;
        depth_ = 0;
    }
    if (count_ < Capacity) {
        ++count_;
    } else {
        std::move(entries_.begin() + 1, entries_.end(), entries_.begin());
    }
    entries_[static_cast<std::size_t>(count_ - 1)] = {text, caret};
}

std::optional<UndoHistory::Entry> UndoHistory::Undo() {
    if (count_ - depth_ <= 1) return std::nullopt;
    ++depth_;
    suppress_ = true;
    return entries_[static_cast<std::size_t>(count_ - depth_ - 1)];
}

std::optional<UndoHistory::Entry> UndoHistory::Redo() {
    if (depth_ < 1) return std::nullopt;
    suppress_ = true;
    --depth_;
    return entries_[static_cast<std::size_t>(count_ - depth_ - 1)];
}
