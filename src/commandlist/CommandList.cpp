#include "commandlist/CommandList.h"

#include <algorithm>
#include <unordered_set>

namespace {
// Up to this many new entries go into their places one by one; more are merged and the list is
// shown anew, as every insertion in the middle moves the entries after it.
constexpr size_t kFewEntries = 256;
}  // namespace

CommandList::CommandList(ListBox& view, Collation& collation)
    : view_(view), collation_(collation) {}

CommandList::Entry CommandList::EntryFor(const std::string& text) const {
    return {text, collation_.sortKey(text)};
}

std::vector<std::string> CommandList::Entries() const {
    std::vector<std::string> texts;
    texts.reserve(entries_.size());
    for (const Entry& entry : entries_) texts.push_back(entry.text);
    return texts;
}

int CommandList::Find(const std::string& text) const {
    // An exact match sits among the entries equal to it without regard to letter case.
    const std::string key = collation_.sortKey(text);
    const auto byKey = [](const Entry& entry, const std::string& k) { return entry.key < k; };
    const auto first = std::lower_bound(entries_.begin(), entries_.end(), key, byKey);
    for (auto it = first; it != entries_.end() && it->key == key; ++it) {
        if (it->text == text) return static_cast<int>(it - entries_.begin());
    }
    return -1;
}

bool CommandList::Add(const std::string& text) {
    if (Find(text) >= 0) return false;
    Insert({EntryFor(text)});
    modified_ = true;
    return true;
}

void CommandList::Load(const std::vector<std::string>& lines) {
    entries_.clear();
    view_.clear();
    std::vector<Entry> incoming;
    incoming.reserve(lines.size());
    for (const std::string& line : lines) incoming.push_back(EntryFor(line));
    Insert(std::move(incoming));
    modified_ = false;
}

void CommandList::Append(const std::vector<std::string>& lines) {
    std::unordered_set<std::string> held;
    held.reserve(entries_.size());
    for (const Entry& entry : entries_) held.insert(entry.text);
    std::vector<Entry> incoming;
    for (const std::string& line : lines) {
        if (!held.count(line)) incoming.push_back(EntryFor(line));
    }
    Insert(std::move(incoming));
    modified_ = true;
}

void CommandList::Remove(int index) {
    if (index < 0 || index >= Count()) return;
    entries_.erase(entries_.begin() + index);
    view_.removeItem(index);
    view_.setListIndex(-1);
    modified_ = true;
}

void CommandList::Clear() {
    entries_.clear();
    view_.clear();
    modified_ = false;
}

void CommandList::Insert(std::vector<Entry> incoming) {
    if (incoming.empty()) return;
    const auto before = [](const Entry& a, const Entry& b) { return a.key < b.key; };
    // Placed one by one, each entry would go after the entries equal to it: the same as a stable
    // sort of the new entries, merged after the equal old ones.
    std::stable_sort(incoming.begin(), incoming.end(), before);
    if (entries_.empty() || !before(incoming.front(), entries_.back())) {
        std::vector<std::string> texts;
        texts.reserve(incoming.size());
        for (const Entry& entry : incoming) texts.push_back(entry.text);
        view_.addItems(texts);
        entries_.insert(entries_.end(), std::make_move_iterator(incoming.begin()),
                        std::make_move_iterator(incoming.end()));
        return;
    }
    if (incoming.size() > kFewEntries) {
        Merge(std::move(incoming));
        return;
    }
    for (Entry& entry : incoming) {
        const auto place = std::upper_bound(entries_.begin(), entries_.end(), entry, before);
        const int index = static_cast<int>(place - entries_.begin());
        view_.insertItem(index, entry.text);
        entries_.insert(place, std::move(entry));
    }
}

void CommandList::Merge(std::vector<Entry> incoming) {
    const int selected = view_.listIndex();
    const int top = view_.topIndex();
    int newSelected = -1;
    int newTop = 0;
    std::vector<Entry> merged;
    merged.reserve(entries_.size() + incoming.size());
    size_t old = 0;
    size_t added = 0;
    while (old < entries_.size() || added < incoming.size()) {
        if (added == incoming.size() ||
            (old < entries_.size() && !(incoming[added].key < entries_[old].key))) {
            if (static_cast<int>(old) == selected) newSelected = static_cast<int>(merged.size());
            if (static_cast<int>(old) == top) newTop = static_cast<int>(merged.size());
            merged.push_back(std::move(entries_[old++]));
        } else {
            merged.push_back(std::move(incoming[added++]));
        }
    }
    entries_ = std::move(merged);
    view_.clear();
    view_.addItems(Entries());
    view_.setTopIndex(newTop);
    view_.setListIndex(newSelected);
}
