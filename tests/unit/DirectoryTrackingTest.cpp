#include "MainWindowFixture.h"

// The main window on drives C and D, started in C:\Tools, with folders to move between.
class DirectoryTrackingTest : public MainWindowTest {
protected:
    void SetUp() override {
        for (const char* folder : {"C:", "C:\\Tools\\sub", "C:\\Temp", "D:", "D:\\Work", "D:\\Work Area"}) {
            fake.files.addDirectory(folder);
        }
        fake.files.addFile("C:\\Tools\\sub\\a.bat");
        fake.files.addFile("C:\\autoexec.bat");
        Load();
        fake.log.clear();
    }
    FakeTimer& tmrCD() { return form().get<FakeTimer>("tmrCD"); }
};

TEST_F(DirectoryTrackingTest, ExecutedDirectoryChangesAreFollowed) {
    struct Step {
        const char* inputOnly;
        const char* executed;
        const char* currentDir;
    };
    const Step steps[] = {
        {"", "cd sub", "C:\\Tools\\sub"},
        {"", "cd ..", "C:\\Tools"},
        {"", "CHDIR SUB", "C:\\Tools\\SUB"},
        {"", "cd \\", "C:"},
        {"", "d:", "D:"},
        {"", "cd work", "D:\\work"},
        {"", "c:", "C:"},                      // the prompt is back in the root of C
        {"cd \\temp", "", "C:\\temp"},          // assembled from the waiting text, in lower case
        {"", "cd /d d:\\work", "C:\\temp"},    // not followed
        {"", "D:", "D:\\work"},                // the directory the prompt left on D
    };
    for (const Step& step : steps) {
        if (*step.inputOnly) Input(step.inputOnly);
        Execute(step.executed);
        EXPECT_EQ(shared.CurrentDir, step.currentDir) << step.inputOnly << step.executed;
    }
    EXPECT_EQ(shared.CurrentDrive, "D");
}

TEST_F(DirectoryTrackingTest, EachDriveRemembersWhereThePromptLeftIt) {
    Execute("cd sub");
    Execute("d:");
    Execute("c:");
    EXPECT_EQ(shared.CurrentDir, "C:\\Tools\\sub");
    Execute("cd d:\\Work Area");  // changes D's directory only; unquoted space: not followed
    Execute("cd \"d:\\Work Area\"");
    EXPECT_EQ(shared.CurrentDir, "C:\\Tools\\sub");
    Execute("d:");
    EXPECT_EQ(shared.CurrentDir, "d:\\Work Area");
}

TEST_F(DirectoryTrackingTest, ChangeDirectoryTypesTheDriveAndTheQuotedCdLine) {
    window->ChangeDirectory("D", "D:\\Work", true);
    EXPECT_EQ(fake.log.lines, (std::vector<std::string>{
                                  "console processes 100",
                                  "activate console 100",
                                  "type 100: D:<Enter>",
                                  "console processes 100",
                                  "activate console 100",
                                  "type 100: cd \"D:\\Work\"<Enter>",
                                  "activate window Tavimero",
                              }));
    EXPECT_EQ(shared.CurrentDir, "D:\\Work");
    EXPECT_EQ(shared.CurrentDrive, "D");
    EXPECT_EQ(txtCD().text(), "D:\\Work");
    EXPECT_EQ(lstCommand().items(), (std::vector<std::string>{"cd \"D:\\Work\"", "D:"}));
    EXPECT_EQ(window->Drives().DriveDirs()[1], (DriveDir{"D", "D:\\Work"}));
}

TEST_F(DirectoryTrackingTest, ChangeDirectoryOnTheCurrentDriveTypesOnlyTheCdLine) {
    txtCommand().setText("dir ");
    window->ChangeDirectory("", "C:\\Temp", false);
    EXPECT_EQ(fake.console.typed, "cd \"C:\\Temp\"<Enter>");
    EXPECT_EQ(shared.CurrentDir, "C:\\Temp");
    EXPECT_EQ(lstCommand().count(), 0);
    EXPECT_EQ(txtCommand().selStart(), 4);
    EXPECT_EQ(window->Drives().DriveDirs()[0], (DriveDir{"C", "C:\\Temp"}));
}

TEST_F(DirectoryTrackingTest, ChangeDirectoryToADeadPromptOnlyRestartsIt) {
    fake.launcher.last().running = false;
    window->ChangeDirectory("D", "D:\\Work", true);
    EXPECT_EQ(fake.console.typed, "");
    EXPECT_EQ(shared.CurrentDir, "C:\\Tools");
    EXPECT_EQ(StartCount(), 2u);
}

TEST_F(DirectoryTrackingTest, ChangeDirectoryStopsQuietlyAtAFailedDelivery) {
    fake.console.failType = true;
    window->ChangeDirectory("D", "D:\\Work", true);
    EXPECT_EQ(shared.CurrentDir, "C:\\Tools");
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(lstCommand().count(), 0);
}

TEST_F(DirectoryTrackingTest, ChangeDirectoryWhileAnotherProgramHoldsTheConsoleIsRefused) {
    fake.console.attached[100] = {100, 4711};  // an editor started from the prompt
    const auto drivesBefore = window->Drives().DriveDirs();
    window->ChangeDirectory("D", "D:\\Work", true);
    lstCommand().drop({"C:\\Temp"});
    window->ChangeDirectory("", "C:\\Temp", true);
    EXPECT_EQ(fake.console.typed, "");
    ASSERT_EQ(fake.messages.shown.size(), 3u);
    EXPECT_NE(fake.messages.shown[0].text.find("別のプログラム"), std::string::npos) << fake.messages.shown[0].text;
    EXPECT_EQ(fake.messages.shown[0].title, "Tavimero");
    EXPECT_EQ(shared.CurrentDir, "C:\\Tools");
    EXPECT_EQ(shared.CurrentDrive, "C");
    EXPECT_EQ(txtCD().text(), "C:\\Tools");
    EXPECT_EQ(window->Drives().DriveDirs(), drivesBefore);
    EXPECT_EQ(lstCommand().count(), 0);

    fake.console.attached.clear();  // the editor ended
    window->ChangeDirectory("D", "D:\\Work", false);
    EXPECT_EQ(fake.console.typed, "D:<Enter>cd \"D:\\Work\"<Enter>");
}

TEST_F(DirectoryTrackingTest, ChangeDirectoryTypesPercentAndExclamationMarksForThePrompt) {
    for (const char* folder : {"C:\\x%OS%y", "C:\\Hi!"}) fake.files.addDirectory(folder);
    window->ChangeDirectory("", "C:\\x%OS%y", true);
    fake.system.delayedExpansion = true;
    window->ChangeDirectory("", "C:\\Hi!", true);
    EXPECT_EQ(fake.console.typed, "cd \"C:\\x\"%\"OS\"%\"y\"<Enter>cd \"C:\\Hi^!\"<Enter>");
    EXPECT_EQ(lstCommand().items(), (std::vector<std::string>{"cd \"C:\\Hi^!\"", "cd \"C:\\x\"%\"OS\"%\"y\""}));
    EXPECT_EQ(shared.CurrentDir, "C:\\Hi!");
}

TEST(DirectoryTracking9x, ChangeDirectoryKeepsTheClipboardAcrossBothPastes) {
    FakePlatform fake;
    fake.system.platform = 1;
    fake.files.addDirectory("D:\\Work");
    mdlDos shared;
    frmDosLaunch window(fake.platform, shared);
    StartUp(window, fake);
    fake.clipboard.text = "kept";
    fake.log.clear();
    window.ChangeDirectory("D", "D:\\Work", false);
    EXPECT_EQ(fake.log.lines, (std::vector<std::string>{
                                  "clipboard get",
                                  "clipboard clear", "clipboard set D:\r", "activate process 100", "send keys % ep",
                                  "clipboard clear", "clipboard set cd \"D:\\Work\"\r", "activate process 100",
                                  "send keys % ep",
                                  "clipboard clear", "clipboard set kept",
                                  "activate window Tavimero",
                              }));
}

TEST_F(DirectoryTrackingTest, TheBoxShowsARootWithItsBackslashAndHighlightsEveryChange) {
    Execute("cd \\");
    EXPECT_EQ(shared.CurrentDir, "C:");
    EXPECT_EQ(txtCD().text(), "C:\\");
    EXPECT_EQ(txtCD().foreColour, SystemColour::ActiveCaption);
    tmrCD().advance(1000);
    Execute("cd Temp");
    tmrCD().advance(1000);  // 2 s after the first change, 1 s after the second
    EXPECT_EQ(txtCD().foreColour, SystemColour::ActiveCaption);
    tmrCD().advance(499);
    EXPECT_EQ(txtCD().foreColour, SystemColour::ActiveCaption);
    tmrCD().advance(1);
    EXPECT_EQ(txtCD().foreColour, SystemColour::WindowText);
    EXPECT_EQ(tmrCD().interval(), 0);
}

TEST_F(DirectoryTrackingTest, DroppingAFolderOrFileChangesToItsFolder) {
    struct Case {
        std::vector<std::string> paths;
        const char* typed;
    };
    const Case cases[] = {
        {{"C:\\Tools\\sub\\a.bat"}, "cd \"C:\\Tools\\sub\"<Enter>"},
        {{"C:\\Temp\\"}, "cd \"C:\\Temp\"<Enter>"},
        {{"C:\\Temp", "D:\\Work", "C:\\Tools\\sub"}, "cd \"C:\\Tools\\sub\"<Enter>"},
        {{"C:\\autoexec.bat"}, "cd \"C:\\\"<Enter>"},  // a root with its backslash: cd "C:" stays
        {{"D:\\Work"}, "D:<Enter>cd \"D:\\Work\"<Enter>"},
        {{"c:\\Temp"}, "c:<Enter>cd \"c:\\Temp\"<Enter>"},  // the drive compares with its case
        {{"C:\\nothing.txt"}, ""},
        {{"\\\\server\\share"}, ""},
        {{""}, ""},
        {{}, ""},
    };
    for (const Case& c : cases) {
        FakePlatform local;
        for (const char* folder : {"C:", "C:\\Tools\\sub", "C:\\Temp", "D:\\Work", "\\\\server\\share"}) {
            local.files.addDirectory(folder);
        }
        local.files.addFile("C:\\Tools\\sub\\a.bat");
        local.files.addFile("C:\\autoexec.bat");
        mdlDos localShared;
        frmDosLaunch main(local.platform, localShared);
        StartUp(main, local);
        local.forms.created.front()->get<FakeListBox>("lstCommand").drop(c.paths);
        EXPECT_EQ(local.console.typed, c.typed) << (c.paths.empty() ? "none" : c.paths.back());
        EXPECT_EQ(local.forms.created.front()->get<FakeListBox>("lstCommand").count(), 0);
    }
}
