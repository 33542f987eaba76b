#include "MainWindowFixture.h"
#include "forms/ControlIds.h"
#include "forms/frmDosLaunchLayout.h"

class EditCommandsTest : public MainWindowTest {
protected:
    void SetUp() override {
        Load();
        for (const char* entry : {"a.txt", "dir", "ver"}) window->AddToList(entry);
    }
    void Select(int start, int length) {
        txtCommand().setSelStart(start);
        txtCommand().setSelLength(length);
    }
    void Choose(int id) { form().chooseMenu(id); }
};

TEST_F(EditCommandsTest, CutAndCopyWorkOnTheActiveControl) {
    txtCommand().setText("echo hello");
    txtCommand().setFocus();
    Select(5, 5);
    Choose(ids::mnuCopy);
    EXPECT_EQ(fake.clipboard.text, "hello");
    Choose(ids::mnuCut);
    EXPECT_EQ(txtCommand().text(), "echo ");
    Select(0, 0);
    fake.clipboard.text = "kept";
    Choose(ids::mnuCut);  // nothing selected: nothing happens
    EXPECT_EQ(fake.clipboard.text, "kept");

    lstCommand().setFocus();
    lstCommand().setListIndex(1);
    Choose(ids::mnuCopy);
    EXPECT_EQ(fake.clipboard.text, "dir");
    Choose(ids::mnuCut);
    EXPECT_EQ(lstCommand().items(), (std::vector<std::string>{"a.txt", "ver"}));

    chbAdd().setFocus();  // any other control: nothing
    lstCommand().setListIndex(0);
    fake.clipboard.text = "kept";
    Choose(ids::mnuCut);
    Choose(ids::mnuCopy);
    EXPECT_EQ(fake.clipboard.text, "kept");
    EXPECT_EQ(lstCommand().count(), 2);
}

TEST_F(EditCommandsTest, PasteAlwaysGoesIntoTheTextBox) {
    txtCommand().setText("type ");
    Select(5, 0);
    lstCommand().setFocus();
    lstCommand().setListIndex(0);
    Choose(ids::mnuCut);  // the list's entry, onto the clipboard
    Choose(ids::mnuPaste);
    EXPECT_EQ(txtCommand().text(), "type a.txt");
    fake.clipboard.text = "";
    Choose(ids::mnuPaste);
    EXPECT_EQ(txtCommand().text(), "type a.txt");
}

TEST_F(EditCommandsTest, DeleteRemovesTheSelectedEntryWhateverHasTheFocus) {
    txtCommand().setFocus();
    lstCommand().setListIndex(2);
    form().clickToolbar(13);
    EXPECT_EQ(lstCommand().items(), (std::vector<std::string>{"a.txt", "dir"}));
    form().clickToolbar(13);  // no entry selected any more
    EXPECT_EQ(lstCommand().count(), 2);
}

TEST_F(EditCommandsTest, DoubleClickAndCtrlLTakeTheSelectedEntry) {
    txtCommand().setText("copy ");
    lstCommand().setListIndex(0);
    lstCommand().onDblClick();
    EXPECT_EQ(txtCommand().text(), "copy a.txt");
    txtCommand().onKeyDown('L', static_cast<int>(ShiftState::Ctrl));
    EXPECT_EQ(txtCommand().text(), "copy a.txta.txt");
    txtCommand().onKeyDown('L', static_cast<int>(ShiftState::Ctrl) | static_cast<int>(ShiftState::Shift));
    EXPECT_EQ(txtCommand().text(), "copy a.txta.txt");
    lstCommand().setListIndex(-1);
    lstCommand().onDblClick();
    EXPECT_EQ(txtCommand().text(), "copy a.txta.txt");
}

TEST_F(EditCommandsTest, CtrlKMovesBetweenTheListAndTheTextBox) {
    lstCommand().setFocus();
    lstCommand().onKeyDown('K', static_cast<int>(ShiftState::Ctrl));
    EXPECT_TRUE(txtCommand().hasFocus());
    txtCommand().onKeyDown('K', static_cast<int>(ShiftState::Ctrl));
    EXPECT_TRUE(lstCommand().hasFocus());
    chbAdd().setFocus();
    chbAdd().onKeyDown('K', static_cast<int>(ShiftState::Ctrl));
    EXPECT_TRUE(lstCommand().hasFocus());
}

TEST_F(EditCommandsTest, UndoAndRedoRestoreTextsAndCarets) {
    txtCommand().type("a");
    txtCommand().type("b");
    Choose(ids::mnuUndo);
    EXPECT_EQ(txtCommand().text(), "a");
    EXPECT_EQ(txtCommand().selStart(), 1);
    Choose(ids::mnuUndo);
    EXPECT_EQ(txtCommand().text(), "");
    Choose(ids::mnuUndo);
    EXPECT_EQ(txtCommand().text(), "");
    form().clickToolbar(10);
    form().clickToolbar(10);
    EXPECT_EQ(txtCommand().text(), "ab");
    EXPECT_EQ(txtCommand().selStart(), 2);
}

TEST_F(EditCommandsTest, ClearingAfterAnInputIsAnUndoableChange) {
    Execute("dir");
    Choose(ids::mnuUndo);
    EXPECT_EQ(txtCommand().text(), "dir");
}

TEST_F(EditCommandsTest, EmptyingTheEmptyBoxLeavesNoStepToUndo) {
    txtCommand().type("dir");
    cmdCleaer().click();
    cmdCleaer().click();
    Execute("");  // executing the empty box empties it once more
    Choose(ids::mnuUndo);
    EXPECT_EQ(txtCommand().text(), "dir");
}

TEST_F(EditCommandsTest, RightClickShowsTheEditMenu) {
    txtCommand().onMouseDown(1);
    EXPECT_TRUE(form().poppedUp.empty());
    txtCommand().onMouseDown(2);
    EXPECT_EQ(form().poppedUp, (std::vector<std::string>{"mnuEdit"}));
    EXPECT_TRUE(txtCommand().enabled());
}

TEST_F(EditCommandsTest, ADroppedFileNameIsAppendedQuotedWhenItHasASpace) {
    txtCommand().setText("type ");
    ASSERT_TRUE(txtCommand().drop({"C:\\a.txt", "C:\\Program Files\\b.txt"}));
    EXPECT_EQ(txtCommand().text(), "type \"C:\\Program Files\\b.txt\"");
    txtCommand().drop({"C:\\c.txt"});
    EXPECT_EQ(txtCommand().text(), "type \"C:\\Program Files\\b.txt\"C:\\c.txt");
}

TEST(MainWindowTable, FilesCanBeDroppedOnTheCommandBoxAndTheListOnly) {
    FakeForm form(frmDosLaunchForm(), nullptr);
    std::vector<std::string> taking;
    for (const ControlSpec& control : form.design.controls) {
        const std::vector<std::string> paths{"C:\\a.txt"};
        if ((control.kind == ControlKind::TextBox &&
             form.get<FakeTextBox>(control.name).drop(paths)) ||
            (control.kind == ControlKind::ListBox &&
             form.get<FakeListBox>(control.name).drop(paths))) {
            taking.push_back(control.name);
        }
    }
    EXPECT_EQ(taking, (std::vector<std::string>{"txtCommand", "lstCommand"}));
}

// The box counts UTF-16 units: 日 and 本 take one each (three UTF-8 bytes), 𠀋 (U+2000B) two
// (four bytes), so "echo 日本 " is 8 units and "C:\日本\𠀋.txt" 12. Wherever the program puts the
// caret after the text, it lands after the last unit, as the real control puts it.
TEST_F(EditCommandsTest, TheCaretGoesAfterTheTextInTheUnitsTheBoxCounts) {
    fake.files.addDirectory("C:\\日本\\𠀋");
    struct Case {
        const char* what;
        std::function<void()> act;
        std::string text;
        int caret;
    };
    const Case cases[] = {
        {"a file dropped on the box", [&] { txtCommand().drop({"C:\\日本\\𠀋.txt"}); },
         "echo 日本 C:\\日本\\𠀋.txt", 8 + 12},
        {"a folder dropped on the list", [&] { lstCommand().drop({"C:\\日本\\𠀋"}); }, "echo 日本 ",
         8},
        {"the browser handing the box back", [&] { window->ReturnToCommand(); }, "echo 日本 ", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        txtCommand().setText("echo 日本 ");
        c.act();
        EXPECT_EQ(txtCommand().text(), c.text);
        EXPECT_EQ(txtCommand().selStart(), c.caret);
        txtCommand().type("x");
        EXPECT_EQ(txtCommand().text(), c.text + "x");
    }
}

TEST_F(EditCommandsTest, ClosingAsksToSaveAndCancelKeepsTheWindowAndPrompt) {
    shared.CloseDos = true;
    fake.messages.answers.push_back(MessageResult::Cancel);
    form().close();
    EXPECT_FALSE(form().closed);
    EXPECT_EQ(fake.console.typed, "");
    fake.messages.answers.push_back(MessageResult::No);
    form().close();
    EXPECT_TRUE(form().closed);
    EXPECT_EQ(fake.console.typed, "<Esc>exit<Enter>");
}
