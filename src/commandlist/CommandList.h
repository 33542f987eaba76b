#pragma once
#include <string>
#include <vector>

#include "platform/Collation.h"
#include "platform/Controls.h"

// The command list: its entries in the user's alphabetical order (letter case ignored, a new
// entry after the entries equal to it), compared exactly wherever entries are compared, and
// whether it changed since it was last created, read or saved. The list box shows the entries
// in this order; the program never reads them back from it.
class CommandList {
public:
    CommandList(ListBox& view, Collation& collation);

    // Adds the text unless an equal entry (exactly, case-sensitive) is there; true when added.
    // The selection stays on its entry.
    bool Add(const std::string& text);
    // Replaces every entry with the lines read from a list file, equal ones included.
    void Load(const std::vector<std::string>& lines);
    // Adds the lines that the list did not hold before, equal new lines included; the list counts
    // as changed even when nothing was added.
    void Append(const std::vector<std::string>& lines);
    // Removes the entry at index; afterwards no entry is selected.
    void Remove(int index);
    // Empties the list, as a new list.
    void Clear();

    int Count() const { return static_cast<int>(entries_.size()); }
    const std::string& At(int index) const { return entries_.at(static_cast<size_t>(index)).text; }
    std::vector<std::string> Entries() const;
    // The index of the entry exactly equal to text, or -1.
    int Find(const std::string& text) const;
    // The selected entry's index, -1 when none is selected.
    int Selected() const { return view_.listIndex(); }

    bool Modified() const { return modified_; }
    // The list was written to its file.
    void MarkSaved() { modified_ = false; }

private:
    struct Entry {
        std::string text;
        std::string key;
    };
    Entry EntryFor(const std::string& text) const;
    // Places the new entries in order and shows them: at the end, into place one by one, or, for
    // many entries among the old ones, by showing the merged list anew.
    void Insert(std::vector<Entry> incoming);
    void Merge(std::vector<Entry> incoming);

    ListBox& view_;
    Collation& collation_;
    std::vector<Entry> entries_;
    bool modified_ = false;
};
