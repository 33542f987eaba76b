#pragma once

// What the search window does to the main window: the search window knows the main window only
// through this.
class SearchActions {
public:
    virtual ~SearchActions() = default;
    // Selects the entry at index in the command list and takes it into the command box as
    // Ctrl+L does, then puts the focus in the command box. Called after the search window closed.
    virtual void TakeListEntry(int index) = 0;
};
