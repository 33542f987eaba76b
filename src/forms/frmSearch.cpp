#include "forms/frmSearch.h"

#include <algorithm>
#include <climits>

#include "commandlist/CommandSearch.h"
#include "forms/ControlIds.h"

namespace {
constexpr int KeyReturn = 13;
constexpr int KeyPageUp = 33;
constexpr int KeyPageDown = 34;
constexpr int KeyUp = 38;
constexpr int KeyDown = 40;

FormSpec frmSearchForm() {
    FormSpec form;
    form.name = "frmSearch";
    form.caption = "コマンドの検索";
    form.clientWidthTwips = 4200;
    form.clientHeightTwips = 3450;
    form.font = {"ＭＳ Ｐゴシック", 900};
    form.sizable = false;
    form.closesOnEscape = true;
    form.controls = {
        // Enter takes the chosen match, in the text box as in the list.
        {"txtSearch", ControlKind::TextBox, "", {90, 90, 4020, 330}, "", 0, {}, ids::txtSearch,
         StyleTakesEnter, "検索する語"},
        {"lstSearch", ControlKind::ListBox, "", {90, 480, 4020, 2520}, "", 1, {}, ids::lstSearch,
         StyleTakesEnter, "見つかったコマンド"},
        {"lblSearchCount", ControlKind::Label, "", {90, 3090, 4020, 270}, "", 2, {},
         ids::lblSearchCount},
    };
    return form;
}

// 100000 as "100,000".
std::string Grouped(size_t number) {
    std::string digits = std::to_string(number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), ",");
    return digits;
}

std::string CountCaption(size_t matches, size_t shown) {
    std::string caption = Grouped(matches) + " 件";
    if (shown < matches) caption += "（先頭の " + Grouped(shown) + " 件を表示）";
    return caption;
}
}  // namespace

frmSearch::frmSearch(FormFactory& forms, CommandList& list, std::string& lastText,
                     SearchActions& main)
    : list_(list),
      lastText_(lastText),
      main_(main),
      form_(forms.create(frmSearchForm())),
      txtSearch(form_->textBox("txtSearch")),
      lstSearch(form_->listBox("lstSearch")),
      lblSearchCount(form_->label("lblSearchCount")) {
    form_->onQueryUnload = [this] { return Form_QueryUnload(); };
    txtSearch.onChange = [this] { txtSearch_Change(); };
    txtSearch.onKeyPreview = [this](int key, int shift) {
        return txtSearch_KeyPreview(key, shift);
    };
    lstSearch.onDblClick = [this] { lstSearch_DblClick(); };
    lstSearch.onKeyDown = [this](int key, int shift) { lstSearch_KeyDown(key, shift); };
}

frmSearch::~frmSearch() = default;

void frmSearch::Show(Form& owner, int leftTwips, int topTwips) {
    open_ = true;
    txtSearch.setText(lastText_);
    txtSearch.setSelStart(0);
    txtSearch.setSelLength(INT_MAX);  // the whole text, as the control counts it
    form_->showOwned(owner, leftTwips, topTwips);
    txtSearch.setFocus();
}

void frmSearch::Activate() { form_->activate(); }

void frmSearch::Close() { form_->close(); }

bool frmSearch::Form_QueryUnload() {
    open_ = false;
    return false;
}

void frmSearch::ListChanged() {
    if (!open_) return;
    const int chosen = lstSearch.listIndex();
    std::optional<std::string> keep;
    if (chosen >= 0 && chosen < static_cast<int>(shown_.size()))
        keep = shown_[static_cast<size_t>(chosen)];
    matchesCurrent_ = false;
    ShowMatches(keep);
}

void frmSearch::txtSearch_Change() {
    lastText_ = txtSearch.text();
    ShowMatches(std::nullopt);
}

bool frmSearch::txtSearch_KeyPreview(int keyCode, int shift) {
    if (shift != static_cast<int>(ShiftState::None)) return false;
    switch (keyCode) {
    case KeyUp:
    case KeyDown:
    case KeyPageUp:
    case KeyPageDown:
        // The choice moves in the list while the caret stays in the text.
        lstSearch.moveSelection(keyCode);
        return true;
    case KeyReturn:
        TakeChosen();
        return true;
    default:
        return false;
    }
}

void frmSearch::lstSearch_DblClick() { TakeChosen(); }

void frmSearch::lstSearch_KeyDown(int keyCode, int /*shift*/) {
    if (keyCode == KeyReturn) TakeChosen();
}

void frmSearch::ShowMatches(const std::optional<std::string>& keep) {
    // Typed on, the text matches some of what it matched: only those are looked at again.
    const std::string text = txtSearch.text();
    std::vector<std::string> words = search::Words(text);
    matches_ = matchesCurrent_ && search::Narrows(words, words_)
                   ? search::FindMatchesAmong(list_.SearchTexts(), words, matches_)
                   : search::FindMatches(list_.SearchTexts(), text);
    words_ = std::move(words);
    matchesCurrent_ = true;
    const size_t shown = std::min(matches_.size(), ShownMatches);
    shown_.clear();
    shown_.reserve(shown);
    for (size_t i = 0; i < shown; ++i) shown_.push_back(list_.At(matches_[i]));
    lstSearch.setItems(shown_);
    int choice = shown_.empty() ? -1 : 0;
    if (keep) {
        const auto found = std::find(shown_.begin(), shown_.end(), *keep);
        if (found != shown_.end()) choice = static_cast<int>(found - shown_.begin());
    }
    lstSearch.setListIndex(choice);
    lblSearchCount.setCaption(CountCaption(matches_.size(), shown));
}

void frmSearch::TakeChosen() {
    const int chosen = lstSearch.listIndex();
    if (chosen < 0 || chosen >= static_cast<int>(shown_.size())) return;
    const int entry = matches_[static_cast<size_t>(chosen)];
    Close();
    main_.TakeListEntry(entry);
}
