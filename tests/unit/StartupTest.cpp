#include "MainWindowFixture.h"

TEST_F(MainWindowTest, StartsCmdInTheProgramFolderWithoutTakingTheFocusFromTheWindow) {
    Load();
    ASSERT_TRUE(window->StartedOk());
    EXPECT_EQ(fake.log.lines.front(), "start cmd.exe in C:\\Tools\\");
    EXPECT_EQ(shared.CurrentDir, "C:\\Tools");
    EXPECT_EQ(shared.CurrentDrive, "C");
    EXPECT_EQ(txtCD().text(), "C:\\Tools");
    EXPECT_EQ(window->Prompt().DosPid(), 100);
    EXPECT_TRUE(form().shown);
    EXPECT_TRUE(txtCommand().hasFocus());
}

TEST_F(MainWindowTest, TheWindowShowsBeforeThePromptStartsAndAnEarlyInputStillReachesOne) {
    window = std::make_unique<frmDosLaunch>(fake.platform, shared);
    window->Form_Load();
    window->Show();
    EXPECT_EQ(StartCount(), 0u);
    EXPECT_EQ(txtCD().text(), "C:\\Tools");  // the window shows where the prompt will start
    form().runMessageLoop();
    EXPECT_EQ(fake.log.lines, (std::vector<std::string>{"start cmd.exe in C:\\Tools\\"}));

    // An input that comes before the loop's first turn starts the prompt for itself, once.
    FakePlatform local;
    mdlDos localShared;
    frmDosLaunch early(local.platform, localShared);
    early.Form_Load();
    early.Show();
    early.SendAndDo("dir");
    EXPECT_EQ(local.launcher.started.size(), 1u);
    EXPECT_EQ(local.console.typed, "dir<Enter>");
    local.forms.created.front()->runMessageLoop();
    EXPECT_EQ(local.launcher.started.size(), 1u);
    EXPECT_TRUE(early.Prompt().IsRunning());
}

TEST_F(MainWindowTest, AWindowClosedBeforeItsFirstTurnStartsNoPrompt) {
    window = std::make_unique<frmDosLaunch>(fake.platform, shared);
    window->Form_Load();
    window->Show();
    form().close();
    form().runMessageLoop();
    EXPECT_EQ(StartCount(), 0u);
}

TEST_F(MainWindowTest, ThePlatformFamilyChoosesThePrompt) {
    fake.system.platform = 1;
    Load();
    EXPECT_FALSE(window->Prompt().IsNT());
    EXPECT_EQ(fake.log.lines.front(), "start command.com in C:\\Tools\\");
}

TEST_F(MainWindowTest, AnUnsupportedPlatformEndsWithAMessageAndNoPrompt) {
    for (unsigned long id : {0ul, 3ul}) {
        FakePlatform local;
        local.system.platform = id;
        mdlDos localShared;
        frmDosLaunch main(local.platform, localShared);
        main.Form_Load();
        EXPECT_FALSE(main.StartedOk());
        ASSERT_EQ(local.messages.shown.size(), 1u);
        EXPECT_EQ(local.messages.shown[0].text, "対応していないOSです。プログラムを終了します。");
        EXPECT_EQ(local.messages.shown[0].title, "Tavimero");
        EXPECT_EQ(local.messages.shown[0].icon, MessageIcon::Exclamation);
        EXPECT_TRUE(local.launcher.started.empty());
    }
}

TEST_F(MainWindowTest, ASecondInstanceEndsSilently) {
    fake.system.otherInstanceRunning = true;
    Load();
    EXPECT_FALSE(window->StartedOk());
    EXPECT_TRUE(fake.log.lines.empty());  // no prompt, no message
    EXPECT_FALSE(form().shown);
}

TEST_F(MainWindowTest, ProgramFolderAtADriveRootGivesTheBareDrive) {
    fake.system.folder = "D:\\";
    fake.files.addDirectory("D:");
    Load();
    EXPECT_EQ(shared.CurrentDir, "D:");
    EXPECT_EQ(shared.CurrentDrive, "D");
    EXPECT_EQ(fake.log.lines.front(), "start cmd.exe in D:\\");
}

TEST_F(MainWindowTest, TheTrackedDirectoryStartsThePromptAndFallsBackWhenMissing) {
    struct Case {
        std::string currentDir;
        std::string expected;
    };
    const Case cases[] = {
        {"C:\\Work", "C:\\Work"},
        {"C:\\Work\\", "C:\\Work"},
        {"C:\\", "C:"},
        {"C:\\Gone", "C:\\Tools"},
        {"", "C:\\Tools"},
        {"\\\\server\\share", "C:\\Tools"},
    };
    for (const Case& c : cases) {
        FakePlatform local;
        local.files.addDirectory("C:\\Work");
        local.files.addDirectory("C:");
        local.files.addDirectory("\\\\server\\share");
        mdlDos localShared;
        SetIn(local, "CD", c.currentDir);
        frmDosLaunch main(local.platform, localShared);
        StartUp(main, local);
        EXPECT_EQ(localShared.CurrentDir, c.expected) << c.currentDir;
        EXPECT_EQ(local.log.lines.front(), "start cmd.exe in " + c.expected + "\\") << c.currentDir;
    }
}

TEST_F(MainWindowTest, AFolderThatCannotBeEnteredFallsBackToTheProgramFolder) {
    fake.files.addDirectory("C:\\Locked");
    fake.launcher.failFolders.insert("C:\\Locked\\");
    Setting("CD", "C:\\Locked");
    Load();
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(shared.CurrentDir, "C:\\Tools");
    EXPECT_EQ(txtCD().text(), "C:\\Tools");
    EXPECT_TRUE(window->Prompt().IsRunning());
}

TEST_F(MainWindowTest, AnInterpreterThatCannotStartIsReportedAndTriedAgainAtTheNextInput) {
    fake.launcher.failAll = true;
    Load();
    ASSERT_TRUE(window->StartedOk());
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].title, "エラー");
    EXPECT_EQ(fake.messages.shown[0].text, "cannot start cmd.exe");
    EXPECT_FALSE(window->Prompt().IsRunning());

    fake.launcher.failAll = false;
    Execute("dir");
    EXPECT_TRUE(window->Prompt().IsRunning());  // started now; this input was dropped
    EXPECT_EQ(fake.console.typed, "");
    EXPECT_EQ(txtCommand().text(), "dir");
    EXPECT_TRUE(ButtonsEnabled());
    Execute("dir");
    EXPECT_EQ(fake.console.typed, "dir<Enter>");
}

TEST_F(MainWindowTest, ActivationPutsTheFocusBackWhereItWasLast) {
    Load();
    lstCommand().setFocus();
    txtCD().setFocus();  // another control leaves the memory as it is
    form().show();
    EXPECT_TRUE(lstCommand().hasFocus());
    txtCommand().setFocus();
    txtCD().setFocus();
    form().show();
    EXPECT_TRUE(txtCommand().hasFocus());
}

TEST_F(MainWindowTest, ClosingEndsThePromptOnlyWhenAskedTo) {
    Load();
    form().close();
    EXPECT_TRUE(form().closed);
    EXPECT_EQ(fake.console.typed, "");

    FakePlatform local;
    mdlDos localShared;
    SetIn(local, "CloseDos", "Close");
    frmDosLaunch main(local.platform, localShared);
    StartUp(main, local);
    local.forms.created.front()->close();
    EXPECT_EQ(local.console.typed, "<Esc>exit<Enter>");
}
