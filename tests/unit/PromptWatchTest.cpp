#include "MainWindowFixture.h"

// The main window reading where its prompt really stands, and what it does while another
// program holds the prompt's console.
class PromptWatchTest : public MainWindowTest {
protected:
    void SetUp() override {
        for (const char* folder : {"C:", "C:\\Tools\\sub", "C:\\Temp", "D:", "D:\\Work"}) {
            fake.files.addDirectory(folder);
        }
        Load();
        Tick(1500);  // the first highlight is over
    }
    FakeTimer& watch() { return form().get<FakeTimer>("tmrDosDirectory"); }
    FakeTimer& tmrCD() { return form().get<FakeTimer>("tmrCD"); }
    FakePromptProcess& prompt() { return fake.launcher.last(); }
    // The prompt's own state, as its process holds it.
    void PromptIsIn(const std::string& current,
                    std::vector<std::pair<std::string, std::string>> drives = {}) {
        prompt().directories = PromptDirectories{current, std::move(drives)};
    }
    void Tick(int milliseconds) {
        watch().advance(milliseconds);
        tmrCD().advance(milliseconds);
    }
    bool Highlighted() { return txtCD().foreColour == SystemColour::ActiveCaption; }
};

TEST_F(PromptWatchTest, TheBoxFollowsThePromptAndStaysStillWhileNothingChanges) {
    EXPECT_EQ(watch().interval(), 300);
    PromptIsIn("C:\\Tools\\");
    Tick(600);
    EXPECT_FALSE(Highlighted());                    // no change: no highlight
    PromptIsIn("C:\\Temp\\", {{"D", "D:\\Work"}});  // the user typed cd into the prompt window
    Tick(300);
    EXPECT_EQ(txtCD().text(), "C:\\Temp");
    EXPECT_TRUE(Highlighted());
    Execute("d:");
    EXPECT_EQ(shared.CurrentDir, "D:\\Work");  // the drive's directory the prompt reported
    EXPECT_EQ(shared.CurrentDrive, "D");
}

TEST_F(PromptWatchTest, AfterAnExecuteTheGuessShowsUntilThePromptHasRunTheLine) {
    PromptIsIn("C:\\Tools\\");
    Tick(300);
    Execute("cd sub");
    EXPECT_EQ(txtCD().text(), "C:\\Tools\\sub");  // worked out at once
    EXPECT_EQ(watch().interval(), 50);
    Tick(100);  // the prompt has not run the line yet: its old directory is no news
    EXPECT_EQ(txtCD().text(), "C:\\Tools\\sub");
    PromptIsIn("C:\\Tools\\sub\\");
    Tick(50);
    EXPECT_EQ(txtCD().text(), "C:\\Tools\\sub");
    EXPECT_EQ(watch().interval(), 300);
}

TEST_F(PromptWatchTest, ALineTheInterpreterCannotFollowIsCaughtUpWith) {
    PromptIsIn("C:\\Tools\\");
    Tick(300);
    Execute("call go.bat");  // a batch file that changes the directory
    EXPECT_EQ(txtCD().text(), "C:\\Tools");
    PromptIsIn("C:\\Temp\\");
    Tick(50);
    EXPECT_EQ(txtCD().text(), "C:\\Temp");
}

TEST_F(PromptWatchTest, AWrongGuessGivesWayToThePromptOnceItHasSettled) {
    PromptIsIn("C:\\Tools\\");
    Tick(300);
    Execute("cd sub");  // the prompt refuses it (say, access denied) and stays
    EXPECT_EQ(txtCD().text(), "C:\\Tools\\sub");
    Tick(20 * 50 + 300);
    EXPECT_EQ(txtCD().text(), "C:\\Tools");
}

TEST_F(PromptWatchTest, APromptThatCannotBeReadLeavesTheGuesses) {
    prompt().directories.reset();
    Execute("cd sub");
    Tick(3000);
    EXPECT_EQ(txtCD().text(), "C:\\Tools\\sub");
}

TEST_F(PromptWatchTest, NothingIsReadWhileTheWindowIsMinimised) {
    form().minimise();
    EXPECT_EQ(watch().interval(), 0);
    PromptIsIn("C:\\Temp\\");
    Tick(3000);
    EXPECT_EQ(txtCD().text(), "C:\\Tools");
    form().restore();
    Tick(300);
    EXPECT_EQ(txtCD().text(), "C:\\Temp");
}

TEST_F(PromptWatchTest, ANewPromptStartsWithNothingPendingAndForgetsTheDrives) {
    PromptIsIn("C:\\Tools\\", {{"D", "D:\\Work"}});
    Tick(300);
    Input("cd \\temp");  // waits on the old prompt's line
    prompt().running = false;
    Execute("");  // the prompt is gone: a new one starts, this input is dropped
    Execute("");
    EXPECT_EQ(shared.CurrentDir, "C:\\Tools");  // the old waiting line is not followed
    Execute("d:");
    EXPECT_EQ(shared.CurrentDir, "D:");
}

TEST_F(PromptWatchTest, WhileAnotherProgramHoldsTheConsoleLinesAreNotFollowedAndExitIsNotTyped) {
    const std::uint32_t id = prompt().id();
    fake.console.attached[id] = {id, 900};  // python, started from the prompt
    Execute("cd sub");
    EXPECT_EQ(txtCD().text(), "C:\\Tools");
    EXPECT_EQ(fake.console.typed, "cd sub<Enter>");  // typing still reaches the console

    shared.CloseDos = true;
    form().close();
    EXPECT_TRUE(form().closed);
    EXPECT_EQ(fake.console.typed, "cd sub<Enter>");  // no exit for that program
    EXPECT_TRUE(prompt().running);
}

TEST_F(PromptWatchTest, ACommandLongerThanThePromptTakesIsNotTyped) {
    Execute("echo " + std::string(8190, 'y'));
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text,
              "コマンドが長すぎるため入力できません。\r\nコマンドプロンプトに入力できるのは 8191 "
              "文字までです。");
    EXPECT_EQ(fake.console.typed, "");
    EXPECT_EQ(txtCommand().text(), "echo " + std::string(8190, 'y'));  // kept for the user
    Input(std::string(8190, 'z') + "日");  // exactly 8191 characters is fine
    EXPECT_EQ(fake.messages.shown.size(), 1u);
    Input(std::string(8190, 'z') + "\xF0\x9F\x98\x80");  // a character beyond U+FFFF counts two
    EXPECT_EQ(fake.messages.shown.size(), 2u);
}

// A prompt whose window opens late and takes the activation (a terminal's new window): the main
// window takes it back, each time, until the prompt's window stands beside; after that the
// prompt's window is not looked at any more, and a switch the user makes stays.
TEST(PromptWindowActivationTest, TheMainWindowTakesTheActivationBackFromANewPromptsWindow) {
    FakePlatform fake;
    mdlDos shared;
    fake.console.windowStates[100] = PromptWindowState::NotShown;
    frmDosLaunch window(fake.platform, shared);
    StartUp(window, fake);
    FakeForm& form = *fake.forms.created.front();
    FakeTimer& watch = form.get<FakeTimer>("tmrDosDirectory");
    const int atStart = form.activations;
    watch.advance(600);
    EXPECT_EQ(form.activations, atStart);  // nothing shown, nothing to take back
    fake.console.windowStates[100] = PromptWindowState::Active;
    watch.advance(300);
    EXPECT_EQ(form.activations, atStart + 1);
    fake.console.windowStates[100] = PromptWindowState::Beside;
    watch.advance(600);
    const int looks = fake.console.attachments;
    fake.console.windowStates[100] = PromptWindowState::Active;  // the user switched to it
    watch.advance(3000);
    EXPECT_EQ(form.activations, atStart + 1);
    EXPECT_EQ(fake.console.attachments, looks);

    // A prompt started again (it ended, an input starts a new one) is watched again.
    fake.launcher.last().running = false;
    window.SendAndDo("dir");
    fake.console.windowStates[104] = PromptWindowState::Active;
    watch.advance(300);
    EXPECT_EQ(form.activations, atStart + 2);
}
