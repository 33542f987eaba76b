#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commandlist/CommandList.h"
#include "forms/SearchActions.h"
#include "platform/Form.h"

// The search window "コマンドの検索": words typed into its text box show the command list's
// entries holding all of them, in the list's order; Enter or a double-click takes the chosen
// one into the main window's command box. Modeless, owned by the main window; the main window
// owns the object, tells it when the command list changes and closes it in its close sequence.
class frmSearch {
public:
    // lastText: the search text of this run, kept by the caller from one opening to the next.
    frmSearch(FormFactory& forms, CommandList& list, std::string& lastText, SearchActions& main);
    ~frmSearch();

    // Shows the window owned by owner, its corner at the point (twips in the owner's client
    // area), with the last search text selected and its matches.
    void Show(Form& owner, int leftTwips, int topTwips);
    void Activate();
    // Closes it as Esc would.
    void Close();
    bool IsOpen() const { return open_; }
    // The command list changed: the matches are found again, the chosen entry kept chosen.
    void ListChanged();

    // At most this many matches are shown; the count gives them all.
    static constexpr size_t ShownMatches = 1000;

private:
    bool Form_QueryUnload();
    void txtSearch_Change();
    bool txtSearch_KeyPreview(int keyCode, int shift);
    void lstSearch_DblClick();
    void lstSearch_KeyDown(int keyCode, int shift);

    // Finds and shows the matches; chooses the first one shown with the text keep, else the
    // first one.
    void ShowMatches(const std::optional<std::string>& keep);
    void TakeChosen();

    CommandList& list_;
    std::string& lastText_;
    SearchActions& main_;
    std::unique_ptr<Form> form_;
    TextBox& txtSearch;
    ListBox& lstSearch;
    Label& lblSearchCount;

    // The indices in the command list of every match, and the texts lstSearch shows (the first
    // ShownMatches of them).
    std::vector<int> matches_;
    std::vector<std::string> shown_;
    // The words matches_ was found for; false once the list changed under it.
    std::vector<std::string> words_;
    bool matchesCurrent_ = false;
    bool open_ = false;
};
