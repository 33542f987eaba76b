// The search window with the main window on the fake platform: how it opens, follows the command
// list and ends. Matching itself is CommandSearchTest's; the keys through the real windows are
// the end-to-end tests'.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/ControlIds.h"
#include "forms/frmSearch.h"
#include "tests/unit/MainWindowFixture.h"

namespace {

constexpr int KeyPageDown = 34;
constexpr int KeyUp = 38;
constexpr int KeyDown = 40;

class SearchWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        Load();
        for (const char* entry : {"copy a.txt b.txt", "dir /s", "echo コピー", "xcopy /e src dst"})
            window->AddToList(entry);
    }
    // Ctrl+F, and the window it opened.
    FakeForm& Open() {
        form().chooseMenu(ids::mnuFind);
        FakeForm& opened = *fake.forms.created.back();
        EXPECT_EQ(opened.design.name, "frmSearch");
        return opened;
    }
    static FakeTextBox& Text(FakeForm& search) { return search.get<FakeTextBox>("txtSearch"); }
    static FakeListBox& Matches(FakeForm& search) { return search.get<FakeListBox>("lstSearch"); }
    static std::string Count(FakeForm& search) {
        return search.get<FakeLabel>("lblSearchCount").caption();
    }
    static std::string Chosen(FakeForm& search) {
        const int index = Matches(search).listIndex();
        return index < 0 ? "(none)" : Matches(search).item(index);
    }
};

TEST_F(SearchWindowTest, OpensOverTheListWithThisRunsLastTextSelected) {
    FakeForm& first = Open();
    EXPECT_EQ(first.design.caption, "コマンドの検索");
    EXPECT_EQ(first.owner, &form());
    const TwipsRect list = lstCommand().rect();
    EXPECT_EQ(first.ownedAt.left, list.left + 120);
    EXPECT_EQ(first.ownedAt.top, list.top + 120);
    EXPECT_TRUE(Text(first).hasFocus());
    EXPECT_EQ(Matches(first).items(), lstCommand().items()) << "an empty text matches everything";
    EXPECT_EQ(Count(first), "4 件");
    Text(first).type("COPY");
    EXPECT_EQ(Matches(first).items(),
              (std::vector<std::string>{"copy a.txt b.txt", "xcopy /e src dst"}));
    EXPECT_EQ(Chosen(first), "copy a.txt b.txt");
    first.pressEscape();
    EXPECT_TRUE(first.closed);
    EXPECT_EQ(txtCommand().text(), "") << "Esc takes nothing";

    FakeForm& again = Open();
    ASSERT_NE(&again, &first);
    EXPECT_EQ(Text(again).text(), "COPY");
    EXPECT_EQ(Text(again).selStart(), 0);
    EXPECT_EQ(Text(again).selLength(), 4) << "the text selected, to be typed over";
    EXPECT_EQ(Count(again), "2 件");
    const size_t windows = fake.forms.created.size();
    form().chooseMenu(ids::mnuFind);
    EXPECT_EQ(fake.forms.created.size(), windows) << "Ctrl+F again brings the open window forward";
}

TEST_F(SearchWindowTest, FollowsTheCommandListWhileOpen) {
    FakeForm& search = Open();
    Text(search).type("copy");
    Text(search).pressKey(KeyDown);
    ASSERT_EQ(Chosen(search), "xcopy /e src dst");
    window->AddToList("copy 0.txt");  // sorts first, and matches
    EXPECT_EQ(Matches(search).items(),
              (std::vector<std::string>{"copy 0.txt", "copy a.txt b.txt", "xcopy /e src dst"}));
    EXPECT_EQ(Chosen(search), "xcopy /e src dst") << "the choice stays on its entry";
    lstCommand().setListIndex(lstCommand().count() - 1);
    form().chooseMenu(ids::mnuDelete);  // the chosen entry goes
    EXPECT_EQ(Matches(search).items(),
              (std::vector<std::string>{"copy 0.txt", "copy a.txt b.txt"}));
    EXPECT_EQ(Chosen(search), "copy 0.txt");
    EXPECT_EQ(Count(search), "2 件");

    // A double-click takes the entry as it now stands in the list.
    Matches(search).setListIndex(1);
    txtCommand().setText("rem ");
    Matches(search).onDblClick();
    EXPECT_TRUE(search.closed);
    EXPECT_EQ(lstCommand().listIndex(), 1);
    EXPECT_EQ(txtCommand().text(), "rem copy a.txt b.txt");
    EXPECT_TRUE(txtCommand().hasFocus());
    form().chooseMenu(ids::mnuUndo);
    EXPECT_EQ(txtCommand().text(), "rem ") << "one step to undo";
}

TEST_F(SearchWindowTest, ShowsTheFirstThousandMatchesAndCountsThemAll) {
    for (int i = 0; i < 1500; ++i) window->AddToList("ping -n 1 host" + std::to_string(10000 + i));
    FakeForm& search = Open();
    Text(search).type("ping");
    EXPECT_EQ(Count(search), "1,500 件（先頭の 1,000 件を表示）");
    ASSERT_EQ(Matches(search).count(), 1000);
    EXPECT_EQ(Matches(search).item(999), "ping -n 1 host10999");
    Text(search).pressKey(KeyUp);
    EXPECT_EQ(Matches(search).listIndex(), 0) << "Up at the first match stays there";
    Text(search).pressKey(KeyPageDown);
    EXPECT_EQ(Matches(search).listIndex(), Matches(search).pageLines - 1);
    EXPECT_EQ(Text(search).text(), "ping") << "the keys move the choice, not the text";

    Text(search).type(" zzz");
    EXPECT_EQ(Count(search), "0 件");
    search.pressEnter();
    EXPECT_FALSE(search.closed) << "Enter without a match does nothing";
    EXPECT_EQ(txtCommand().text(), "");
}

TEST_F(SearchWindowTest, ClosesWithTheMainWindow) {
    FakeForm& search = Open();
    fake.messages.answers.push_back(MessageResult::No);  // the list is not to be saved
    form().close();
    EXPECT_TRUE(form().closed);
    EXPECT_TRUE(search.closed);
}

}  // namespace
