#include "MainWindowFixture.h"

class CommandInputTest : public MainWindowTest {
protected:
    void SetUp() override {
        Load();
        fake.log.clear();
    }
};

TEST_F(CommandInputTest, ExecuteTypesTheLineAndEnterThenReturnsToTheWindow) {
    Execute("echo one> a.txt");
    EXPECT_EQ(fake.log.lines, (std::vector<std::string>{
                                  "console processes 100",  // no other program holds the console
                                  "activate console 100",
                                  "type 100: echo one> a.txt<Enter>",
                                  "activate window Tavimero",
                              }));
    EXPECT_EQ(txtCommand().text(), "");
    EXPECT_TRUE(txtCommand().hasFocus());
    EXPECT_TRUE(ButtonsEnabled());
}

TEST_F(CommandInputTest, EachInputAttachesToThePromptsConsoleOnce) {
    Execute("echo one> a.txt");
    EXPECT_EQ(fake.console.attachments, 1);
    Input("echo two");
    EXPECT_EQ(fake.console.attachments, 2);
}

TEST_F(CommandInputTest, InputOnlyLeavesTheLineWaitingUntilAnEmptyExecute) {
    Input("echo two> b.txt");
    EXPECT_EQ(fake.console.typed, "echo two> b.txt");
    EXPECT_EQ(txtCommand().text(), "");
    Execute("");
    EXPECT_EQ(fake.console.typed, "echo two> b.txt<Enter>");
    EXPECT_TRUE(ButtonsEnabled());
}

TEST_F(CommandInputTest, InputOnlyOfAnEmptyBoxTypesNothingAndLeavesTheButtons) {
    lstCommand().setFocus();
    cmdSendAndDo().setEnabled(false);  // a state only this path would keep
    cmdSend().click();
    EXPECT_TRUE(fake.log.lines.empty());
    EXPECT_FALSE(cmdSendAndDo().enabled());
    EXPECT_TRUE(lstCommand().hasFocus());
}

TEST_F(CommandInputTest, LineBreaksAreDeliveredUnchanged) {
    Execute("echo a\r\necho b");
    EXPECT_EQ(fake.console.typed, "echo a<Enter>echo b<Enter>");
}

TEST_F(CommandInputTest, TheExitCommandClosesThePromptInsteadOfBeingTyped) {
    for (const std::string exit : {"exit", " EXIT ", "Exit"}) {
        FakePlatform local;
        mdlDos localShared;
        frmDosLaunch main(local.platform, localShared);
        StartUp(main, local);
        FakeForm& f = *local.forms.created.front();
        f.get<FakeCheckBox>("chbAdd").setValue(1);
        f.get<FakeTextBox>("txtCommand").setText(exit);
        local.log.clear();
        f.get<FakeButton>("cmdSendAndDo").click();
        EXPECT_EQ(local.log.lines,
                  (std::vector<std::string>{"console processes 100", "activate console 100",
                                            "type 100: <Esc>exit<Enter>"}))
            << exit;
        EXPECT_EQ(f.get<FakeTextBox>("txtCommand").text(), exit);
        EXPECT_EQ(f.get<FakeListBox>("lstCommand").count(), 0);
        EXPECT_TRUE(f.get<FakeButton>("cmdSend").enabled() &&
                    f.get<FakeButton>("cmdSendAndDo").enabled());
    }
}

TEST_F(CommandInputTest, ALongerLineThatBeginsWithExitIsAnOrdinaryCommand) {
    Execute("exit now");
    EXPECT_EQ(fake.console.typed, "exit now<Enter>");
    EXPECT_EQ(txtCommand().text(), "");
}

TEST_F(CommandInputTest, InputOnlyExitThenAnEmptyExecuteClosesThePrompt) {
    Input("exit");
    EXPECT_EQ(fake.console.typed, "exit");
    Execute("");
    // The waiting "exit" is cleared first, so the prompt reads one clean exit line.
    EXPECT_EQ(fake.console.typed, "exit<Esc>exit<Enter>");
    fake.launcher.last().running = false;
    Execute("");  // the pending exit was consumed: this only finds the prompt gone
    EXPECT_EQ(StartCount(), 2u);
}

TEST_F(CommandInputTest, AnEndedPromptIsRestartedAndTheInputDropped) {
    fake.launcher.last().running = false;
    Execute("echo dropped> c.txt");
    EXPECT_EQ(StartCount(), 2u);
    EXPECT_EQ(window->Prompt().DosPid(), 104);
    EXPECT_EQ(fake.console.typed, "");
    EXPECT_EQ(txtCommand().text(), "echo dropped> c.txt");
    EXPECT_TRUE(ButtonsEnabled());

    fake.launcher.last().running = false;
    Input("echo dropped too");
    EXPECT_EQ(StartCount(), 3u);
    EXPECT_EQ(fake.console.typed, "");
    EXPECT_TRUE(ButtonsEnabled());

    cmdSend().click();
    EXPECT_EQ(fake.console.typed, "echo dropped too");
}

TEST_F(CommandInputTest, ExitAfterTheUserClosedThePromptDoesNothing) {
    fake.launcher.last().running = false;
    shared.CloseDos = true;
    form().close();
    EXPECT_EQ(fake.console.typed, "");
    EXPECT_EQ(StartCount(), 1u);
}

TEST_F(CommandInputTest, ADeliveryFailureEndsTheInputQuietly) {
    chbAdd().setValue(1);
    fake.console.failType = true;
    Execute("dir");
    EXPECT_TRUE(ButtonsEnabled());
    EXPECT_EQ(txtCommand().text(), "dir");
    EXPECT_EQ(lstCommand().count(), 0);
    EXPECT_TRUE(fake.messages.shown.empty());

    Input("dir");
    EXPECT_TRUE(ButtonsEnabled());
    EXPECT_EQ(txtCommand().text(), "dir");
}

TEST_F(CommandInputTest, TickedLinesAreAddedToTheListOnce) {
    chbAdd().setValue(1);
    Execute("dir");
    Execute("dir");
    Input("Dir");
    Execute("");  // an empty execute is never added
    EXPECT_EQ(lstCommand().items(), (std::vector<std::string>{"dir", "Dir"}));
    EXPECT_TRUE(window->ListModified());
}

TEST_F(CommandInputTest, UntickedLinesAreNotAdded) {
    Execute("dir");
    EXPECT_EQ(lstCommand().count(), 0);
    EXPECT_FALSE(window->ListModified());
}

TEST_F(CommandInputTest, ClearEmptiesTheBoxAndPutsTheFocusBack) {
    txtCommand().setText("dir");
    lstCommand().setFocus();
    cmdCleaer().click();
    EXPECT_EQ(txtCommand().text(), "");
    EXPECT_TRUE(lstCommand().hasFocus());
    EXPECT_TRUE(fake.log.lines.empty());
}

TEST_F(CommandInputTest, TheFocusGoesBackToTheListWhenItWasThere) {
    lstCommand().setFocus();
    txtCommand().setText("dir");
    cmdSendAndDo().setFocus();
    cmdSendAndDo().click();
    EXPECT_TRUE(lstCommand().hasFocus());
}

TEST_F(CommandInputTest, OnThe9xFamilyTextIsPastedAndTheClipboardKept) {
    FakePlatform local;
    local.system.platform = 1;
    mdlDos localShared;
    frmDosLaunch main(local.platform, localShared);
    StartUp(main, local);
    local.clipboard.text = "kept";
    local.log.clear();
    main.SendAndDo("dir");
    EXPECT_EQ(local.log.lines, (std::vector<std::string>{
                                   "clipboard get",
                                   "clipboard clear",
                                   "clipboard set dir\r",
                                   "activate process 100",
                                   "send keys % ep",
                                   "activate window Tavimero",
                                   "clipboard clear",
                                   "clipboard set kept",
                               }));
    EXPECT_EQ(local.clipboard.text, "kept");
}

TEST_F(CommandInputTest, OnThe9xFamilyExitTerminatesThePromptThroughItsHandle) {
    FakePlatform local;
    local.system.platform = 1;
    mdlDos localShared;
    frmDosLaunch main(local.platform, localShared);
    StartUp(main, local);
    local.log.clear();
    main.SendAndDo("exit");
    EXPECT_EQ(local.log.lines, (std::vector<std::string>{"terminate 100"}));
    EXPECT_FALSE(main.Prompt().IsRunning());
}

TEST_F(CommandInputTest, OnThe9xFamilyAFailedPasteLeavesTheButtonsUsable) {
    FakePlatform local;
    local.system.platform = 1;
    local.desktop.failActivateProcess = true;
    mdlDos localShared;
    frmDosLaunch main(local.platform, localShared);
    StartUp(main, local);
    local.clipboard.text = "kept";
    main.SendAndDo("dir");
    FakeForm& f = *local.forms.created.front();
    EXPECT_TRUE(f.get<FakeButton>("cmdSend").enabled() &&
                f.get<FakeButton>("cmdSendAndDo").enabled());
    EXPECT_EQ(local.clipboard.text, "dir\r");  // as documented: the clipboard may keep the text
}
