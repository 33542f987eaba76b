#include "commandlist/CommandList.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <unordered_set>

#include "commandlist/CommandSearch.h"

namespace {
// Up to this many new entries go into their places one by one; more are merged and the list is
// shown anew, as every insertion in the middle moves the entries after it.
constexpr size_t kFewEntries = 256;

// The texts and keys in the order of their keys, equal keys in their first order.
void SortByKey(std::vector<std::string>& texts, std::vector<std::string>& keys) {
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

// The strings of old and added in one, taken in the order fromAdded gives (true: the next one of
// added, false: the next one of old).
std::vector<std::string> Interleave(std::vector<std::string>& old, std::vector<std::string>& added,
                                    const std::vector<bool>& fromAdded) {
    std::vector<std::string> merged;
    merged.reserve(old.size() + added.size());
    size_t nextOld = 0;
    size_t nextAdded = 0;
    for (const bool take : fromAdded)
        merged.push_back(std::move(take ? added[nextAdded++] : old[nextOld++]));
    return merged;
}

std::vector<std::string> Folded(const std::vector<std::string>& texts) {
    std::vector<std::string> folded;
    folded.reserve(texts.size());
    for (const std::string& text : texts) folded.push_back(search::Fold(text));
    return folded;
}
}  // namespace

CommandList::CommandList(ListBox& view, Collation& collation)
    : view_(view), collation_(collation) {}

int CommandList::Find(const std::string& text) const {
    // An exact match sits among the entries equal to it without regard to letter case.
    if (keyed_) {
        const std::string key = collation_.sortKey(text);
        const auto first = std::lower_bound(keys_.begin(), keys_.end(), key);
        for (auto it = first; it != keys_.end() && *it == key; ++it) {
            const size_t index = static_cast<size_t>(it - keys_.begin());
            if (texts_[index] == text) return static_cast<int>(index);
        }
        return -1;
    }
    const auto first = std::lower_bound(texts_.begin(), texts_.end(), text,
                                        [this](const std::string& entry, const std::string& t) {
                                            return collation_.compare(entry, t) < 0;
                                        });
    for (auto it = first; it != texts_.end(); ++it) {
        if (*it == text) return static_cast<int>(it - texts_.begin());
        if (collation_.compare(*it, text) != 0) break;
    }
    return -1;
}

bool CommandList::Add(const std::string& text) {
    if (Find(text) >= 0) return false;
    Insert({text});
    modified_ = true;
    Changed();
    return true;
}

template <typename Change>
void CommandList::AllOrNothing(Change change) {
    std::vector<std::string> texts = texts_;
    std::vector<std::string> keys = keys_;
    std::vector<std::string> folded = folded_;
    const bool keyed = keyed_;
    const bool searchable = searchable_;
    const int selected = view_.listIndex();
    const int top = view_.topIndex();
    try {
        change();
    } catch (...) {
        // The list box refused an entry or memory ran out: the old entries, shown anew. Their
        // memory was given back by what failed, so showing them again can be expected to work.
        texts_ = std::move(texts);
        keys_ = std::move(keys);
        folded_ = std::move(folded);
        keyed_ = keyed;
        searchable_ = searchable;
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

void CommandList::Forget() {
    texts_.clear();
    keys_.clear();
    folded_.clear();
    keyed_ = false;
    searchable_ = false;
    view_.clear();
}

void CommandList::Load(std::vector<std::string> lines) {
    AllOrNothing([&] {
        Forget();
        Insert(std::move(lines));
    });
    modified_ = false;
    Changed();
}

void CommandList::Append(const std::vector<std::string>& lines) {
    std::vector<std::string> texts;
    {
        const std::unordered_set<std::string_view> held(texts_.begin(), texts_.end());
        for (const std::string& line : lines) {
            if (!held.count(line)) texts.push_back(line);
        }
    }
    const bool adding = !texts.empty();
    AllOrNothing([&] { Insert(std::move(texts)); });
    modified_ = true;
    if (adding) Changed();
}

void CommandList::Remove(int index) {
    if (index < 0 || index >= Count()) return;
    view_.removeItem(index);
    texts_.erase(texts_.begin() + index);
    if (keyed_) keys_.erase(keys_.begin() + index);
    if (searchable_) folded_.erase(folded_.begin() + index);
    view_.setListIndex(-1);
    modified_ = true;
    Changed();
}

void CommandList::Clear() {
    Forget();
    modified_ = false;
    Changed();
}

const std::vector<std::string>& CommandList::SearchTexts() {
    if (!searchable_) {
        folded_ = Folded(texts_);
        searchable_ = true;
    }
    return folded_;
}

void CommandList::Changed() {
    if (onChange) onChange();
}

bool CommandList::InOrder(const std::vector<std::string>& texts) const {
    for (size_t i = 1; i < texts.size(); ++i) {
        if (collation_.compare(texts[i - 1], texts[i]) > 0) return false;
    }
    return true;
}

std::vector<std::string> CommandList::KeysOf(const std::vector<std::string>& texts) const {
    std::vector<std::string> keys;
    keys.reserve(texts.size());
    for (const std::string& text : texts) keys.push_back(collation_.sortKey(text));
    return keys;
}

void CommandList::EnsureKeys() {
    if (keyed_) return;
    keys_ = KeysOf(texts_);
    keyed_ = true;
}

void CommandList::Insert(std::vector<std::string> texts) {
    if (texts.empty()) return;
    // Placed one by one, each entry would go after the entries equal to it: the same as a stable
    // sort of the new entries, merged after the equal old ones. Lines in order need no keys.
    std::vector<std::string> keys;
    if (!InOrder(texts)) {
        keys = KeysOf(texts);
        SortByKey(texts, keys);
    }
    if (texts_.empty() || collation_.compare(texts.front(), texts_.back()) >= 0) {
        AppendEntries(std::move(texts), std::move(keys));
        return;
    }
    if (texts.size() > kFewEntries) {
        EnsureKeys();
        if (keys.empty()) keys = KeysOf(texts);
        Merge(std::move(texts), std::move(keys));
        return;
    }
    for (size_t i = 0; i < texts.size(); ++i)
        PlaceEntry(std::move(texts[i]), keys.empty() ? nullptr : &keys[i]);
}

void CommandList::AppendEntries(std::vector<std::string> texts, std::vector<std::string> keys) {
    const size_t first = texts_.size();
    texts_.insert(texts_.end(), std::make_move_iterator(texts.begin()),
                  std::make_move_iterator(texts.end()));
    const auto added = std::span<const std::string>(texts_).subspan(first);
    // An empty list takes the keys that ordering the new entries made, if any; a list that
    // keeps keys needs those of the new entries.
    if (first == 0) {
        keyed_ = !keys.empty();
        keys_ = std::move(keys);
    } else if (keyed_) {
        if (keys.empty()) {
            for (const std::string& text : added) keys.push_back(collation_.sortKey(text));
        }
        keys_.insert(keys_.end(), std::make_move_iterator(keys.begin()),
                     std::make_move_iterator(keys.end()));
    }
    if (searchable_) {
        for (const std::string& text : added) folded_.push_back(search::Fold(text));
    }
    view_.addItems(added);
}

void CommandList::PlaceEntry(std::string text, std::string* key) {
    std::string ownKey;
    size_t index = 0;
    if (keyed_) {
        ownKey = key ? std::move(*key) : collation_.sortKey(text);
        index = static_cast<size_t>(std::upper_bound(keys_.begin(), keys_.end(), ownKey) -
                                    keys_.begin());
    } else {
        const auto place = std::upper_bound(texts_.begin(), texts_.end(), text,
                                            [this](const std::string& t, const std::string& entry) {
                                                return collation_.compare(t, entry) < 0;
                                            });
        index = static_cast<size_t>(place - texts_.begin());
    }
    view_.insertItem(static_cast<int>(index), text);
    if (keyed_) keys_.insert(keys_.begin() + static_cast<std::ptrdiff_t>(index), std::move(ownKey));
    if (searchable_)
        folded_.insert(folded_.begin() + static_cast<std::ptrdiff_t>(index), search::Fold(text));
    texts_.insert(texts_.begin() + static_cast<std::ptrdiff_t>(index), std::move(text));
}

void CommandList::Merge(std::vector<std::string> texts, std::vector<std::string> keys) {
    const int selected = view_.listIndex();
    const int top = view_.topIndex();
    int newSelected = -1;
    int newTop = 0;
    std::vector<bool> fromAdded;
    fromAdded.reserve(texts_.size() + texts.size());
    size_t old = 0;
    size_t added = 0;
    while (old < texts_.size() || added < texts.size()) {
        const bool takeOld =
            added == texts.size() || (old < texts_.size() && !(keys[added] < keys_[old]));
        if (takeOld) {
            const int at = static_cast<int>(fromAdded.size());
            if (static_cast<int>(old) == selected) newSelected = at;
            if (static_cast<int>(old) == top) newTop = at;
            ++old;
        } else {
            ++added;
        }
        fromAdded.push_back(!takeOld);
    }
    if (searchable_) {
        std::vector<std::string> folded = Folded(texts);
        folded_ = Interleave(folded_, folded, fromAdded);
    }
    keys_ = Interleave(keys_, keys, fromAdded);
    texts_ = Interleave(texts_, texts, fromAdded);
    view_.clear();
    view_.addItems(texts_);
    view_.setTopIndex(newTop);
    view_.setListIndex(newSelected);
}
