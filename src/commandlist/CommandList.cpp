#include "commandlist/CommandList.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <unordered_set>

namespace {
// Up to this many new entries go into their places one by one; more are merged and the list is
// shown anew, as every insertion in the middle moves the entries after it.
constexpr size_t kFewEntries = 256;

// The texts and keys in the order of their keys, equal keys in their first order.
void SortByKey(std::vector<std::string>& texts, std::vector<std::string>& keys) {
    // A list file this program saved is in order already.
    if (std::is_sorted(keys.begin(), keys.end())) return;
    std::vector<size_t> order(texts.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&keys](size_t a, size_t b) { return keys[a] < keys[b]; });
    std::vector<std::string> sortedTexts;
    std::vector<std::string> sortedKeys;
    sortedTexts.reserve(texts.size());
    sortedKeys.reserve(keys.size());
    for (size_t index : order) {
        sortedTexts.push_back(std::move(texts[index]));
        sortedKeys.push_back(std::move(keys[index]));
    }
    texts = std::move(sortedTexts);
    keys = std::move(sortedKeys);
}
}  // namespace

CommandList::CommandList(ListBox& view, Collation& collation)
    : view_(view), collation_(collation) {}

int CommandList::Find(const std::string& text) const {
    // An exact match sits among the entries equal to it without regard to letter case.
    const std::string key = collation_.sortKey(text);
    const auto first = std::lower_bound(keys_.begin(), keys_.end(), key);
    for (auto it = first; it != keys_.end() && *it == key; ++it) {
        const size_t index = static_cast<size_t>(it - keys_.begin());
        if (texts_[index] == text) return static_cast<int>(index);
    }
    return -1;
}

bool CommandList::Add(const std::string& text) {
    if (Find(text) >= 0) return false;
    Insert({text}, {collation_.sortKey(text)});
    modified_ = true;
    return true;
}

template <typename Change>
void CommandList::AllOrNothing(Change change) {
    std::vector<std::string> texts = texts_;
    std::vector<std::string> keys = keys_;
    const int selected = view_.listIndex();
    const int top = view_.topIndex();
    try {
        change();
    } catch (...) {
        // The list box refused an entry or memory ran out: the old entries, shown anew. Their
        // memory was given back by what failed, so showing them again can be expected to work.
        texts_ = std::move(texts);
        keys_ = std::move(keys);
        try {
            view_.clear();
            view_.addItems(texts_);
            view_.setTopIndex(top);
            view_.setListIndex(selected);
        } catch (...) {
            // The failure that came first is the one to report.
        }
        throw;
    }
}

void CommandList::Load(std::vector<std::string> lines) {
    std::vector<std::string> keys;
    keys.reserve(lines.size());
    for (const std::string& line : lines) keys.push_back(collation_.sortKey(line));
    AllOrNothing([&] {
        texts_.clear();
        keys_.clear();
        view_.clear();
        Insert(std::move(lines), std::move(keys));
    });
    modified_ = false;
}

void CommandList::Append(const std::vector<std::string>& lines) {
    std::vector<std::string> texts;
    std::vector<std::string> keys;
    {
        const std::unordered_set<std::string_view> held(texts_.begin(), texts_.end());
        for (const std::string& line : lines) {
            if (held.count(line)) continue;
            texts.push_back(line);
            keys.push_back(collation_.sortKey(line));
        }
    }
    AllOrNothing([&] { Insert(std::move(texts), std::move(keys)); });
    modified_ = true;
}

void CommandList::Remove(int index) {
    if (index < 0 || index >= Count()) return;
    texts_.erase(texts_.begin() + index);
    keys_.erase(keys_.begin() + index);
    view_.removeItem(index);
    view_.setListIndex(-1);
    modified_ = true;
}

void CommandList::Clear() {
    texts_.clear();
    keys_.clear();
    view_.clear();
    modified_ = false;
}

void CommandList::Insert(std::vector<std::string> texts, std::vector<std::string> keys) {
    if (texts.empty()) return;
    // Placed one by one, each entry would go after the entries equal to it: the same as a stable
    // sort of the new entries, merged after the equal old ones.
    SortByKey(texts, keys);
    if (keys_.empty() || !(keys.front() < keys_.back())) {
        const size_t first = texts_.size();
        texts_.insert(texts_.end(), std::make_move_iterator(texts.begin()),
                      std::make_move_iterator(texts.end()));
        keys_.insert(keys_.end(), std::make_move_iterator(keys.begin()),
                     std::make_move_iterator(keys.end()));
        view_.addItems(std::span<const std::string>(texts_).subspan(first));
        return;
    }
    if (texts.size() > kFewEntries) {
        Merge(std::move(texts), std::move(keys));
        return;
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        const auto place = std::upper_bound(keys_.begin(), keys_.end(), keys[i]);
        const auto index = place - keys_.begin();
        view_.insertItem(static_cast<int>(index), texts[i]);
        keys_.insert(place, std::move(keys[i]));
        texts_.insert(texts_.begin() + index, std::move(texts[i]));
    }
}

void CommandList::Merge(std::vector<std::string> texts, std::vector<std::string> keys) {
    const int selected = view_.listIndex();
    const int top = view_.topIndex();
    int newSelected = -1;
    int newTop = 0;
    std::vector<std::string> mergedTexts;
    std::vector<std::string> mergedKeys;
    mergedTexts.reserve(texts_.size() + texts.size());
    mergedKeys.reserve(keys_.size() + keys.size());
    size_t old = 0;
    size_t added = 0;
    while (old < texts_.size() || added < texts.size()) {
        if (added == texts.size() || (old < texts_.size() && !(keys[added] < keys_[old]))) {
            if (static_cast<int>(old) == selected)
                newSelected = static_cast<int>(mergedTexts.size());
            if (static_cast<int>(old) == top) newTop = static_cast<int>(mergedTexts.size());
            mergedTexts.push_back(std::move(texts_[old]));
            mergedKeys.push_back(std::move(keys_[old]));
            ++old;
        } else {
            mergedTexts.push_back(std::move(texts[added]));
            mergedKeys.push_back(std::move(keys[added]));
            ++added;
        }
    }
    texts_ = std::move(mergedTexts);
    keys_ = std::move(mergedKeys);
    view_.clear();
    view_.addItems(texts_);
    view_.setTopIndex(newTop);
    view_.setListIndex(newSelected);
}
