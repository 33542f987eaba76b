#pragma once
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/Collation.h"
#include "platform/Controls.h"

// The command list: its entries in the user's alphabetical order (letter case ignored, a new
// entry after the entries equal to it), compared exactly wherever entries are compared, and
// whether it changed since it was last created, read or saved. The list box shows the entries
// in this order; the program never reads them back from it.
//
// Nothing is worked out for the entries before it is needed. Lines read in order (as the
// program saves a list) are only checked with the system's comparison; sort keys are made, for
// every entry and once, when entries must be sorted or many merged among the old ones, and then
// kept with the entries; the folded texts the search looks in are made when a search first asks
// for them, and then kept too.
class CommandList {
public:
    CommandList(ListBox& view, Collation& collation);

    // Adds the text unless an equal entry (exactly, case-sensitive) is there; true when added.
    // The selection stays on its entry.
    bool Add(const std::string& text);
    // Replaces every entry with the lines read from a list file, equal ones included.
    void Load(std::vector<std::string> lines);
    // Adds the lines that the list did not hold before, equal new lines included; the list counts
    // as changed even when nothing was added.
    void Append(const std::vector<std::string>& lines);
    // Load and Append change all or nothing: when the list box refuses an entry or memory runs
    // out, the exception passes on and the list, its modified flag and the list box are as
    // they were.
    // Removes the entry at index; afterwards no entry is selected.
    void Remove(int index);
    // Empties the list, as a new list.
    void Clear();

    int Count() const { return static_cast<int>(texts_.size()); }
    const std::string& At(int index) const { return texts_.at(static_cast<size_t>(index)); }
    const std::vector<std::string>& Entries() const { return texts_; }
    // The index of the entry exactly equal to text, or -1.
    int Find(const std::string& text) const;
    // The selected entry's index, -1 when none is selected.
    int Selected() const { return view_.listIndex(); }
    // The entries in the form the search compares (search::Fold), index for index.
    const std::vector<std::string>& SearchTexts();

    bool Modified() const { return modified_; }
    // The list was written to its file.
    void MarkSaved() { modified_ = false; }

    // Fired after the entries changed: added, removed, replaced or emptied.
    std::function<void()> onChange;

private:
    // Places the new entries in order and shows them: after the old ones, into place one by
    // one, or, for many entries among the old ones, by showing the merged list anew.
    void Insert(std::vector<std::string> texts);
    // keys: those of texts, or empty when none were needed to order them.
    void AppendEntries(std::vector<std::string> texts, std::vector<std::string> keys);
    void PlaceEntry(std::string text, std::string* key);
    void Merge(std::vector<std::string> texts, std::vector<std::string> keys);
    // Runs change on the entries and the list box; when it throws, both are put back as they
    // were and the exception passes on.
    template <typename Change>
    void AllOrNothing(Change change);
    // Drops every entry with its keys and search texts, in the model and in the view.
    void Forget();

    bool InOrder(const std::vector<std::string>& texts) const;
    std::vector<std::string> KeysOf(const std::vector<std::string>& texts) const;
    void EnsureKeys();
    void Changed();

    ListBox& view_;
    Collation& collation_;
    // The entries, and beside them their sort keys (once keyed_) and folded texts (once
    // searchable_): the list box is handed the texts as they are stored, without a copy.
    std::vector<std::string> texts_;
    std::vector<std::string> keys_;
    std::vector<std::string> folded_;
    bool keyed_ = false;
    bool searchable_ = false;
    bool modified_ = false;
};
