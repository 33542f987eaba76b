#include <algorithm>

#include "MainWindowFixture.h"
#include "forms/ControlIds.h"
#include "forms/frmAbout.h"

TEST_F(MainWindowTest, ACommandLineFolderStartsThePromptThere) {
    fake.files.addDirectory("C:\\My Work");
    fake.system.arguments = "\"C:\\My Work\"";
    Load();
    EXPECT_EQ(shared.CurrentDir, "C:\\My Work");
    EXPECT_EQ(fake.log.lines.front(), "start cmd.exe in C:\\My Work\\");
}

TEST_F(MainWindowTest, ACommandLineThatNamesNothingKeepsTheTrackedDirectory) {
    fake.system.arguments = "C:\\Nowhere";
    Load();
    EXPECT_EQ(shared.CurrentDir, "C:\\Tools");
}

TEST_F(MainWindowTest, ResizingLaysTheControlsOutForTheClientAreaWhateverTheFrame) {
    Load();
    lstCommand().lineHeight = 180;
    lstCommand().borderHeight = 60;
    // Wine's default metrics, then those of Windows 10 and 11 (8 px frame, 23 px caption, 20 px
    // menu bar at 96 DPI): the same client area gives the same layout.
    for (const TwipsSize frame : {TwipsSize{120, 690}, TwipsSize{240, 885}}) {
        SCOPED_TRACE(std::to_string(frame.width) + " x " + std::to_string(frame.height));
        form().nonClient = frame;
        form().resize(4455 + frame.width, 5520 + frame.height);  // the design's client area
        EXPECT_EQ(txtCD().rect(), (TwipsRect{30, 480, 4390, 270}));
        EXPECT_EQ(lstCommand().rect(), (TwipsRect{0, 840, 4455, 2760}));
        EXPECT_EQ(txtCommand().rect(), (TwipsRect{0, 3720, 4455, 915}));
        EXPECT_EQ(form().get<FakeFrame>("fraButtons").rect(), (TwipsRect{117, 4680, 4220, 765}));

        form().resize(5880 + frame.width, 6310 + frame.height);
        EXPECT_EQ(txtCD().rect().width, 5815);
        EXPECT_EQ(lstCommand().rect(), (TwipsRect{0, 840, 5880, 3480}));  // 3550 asked
        EXPECT_EQ(txtCommand().rect(), (TwipsRect{0, 4440, 5880, 915}));
        EXPECT_EQ(form().get<FakeFrame>("fraButtons").rect(), (TwipsRect{830, 5400, 4220, 765}));
    }
}

TEST_F(MainWindowTest, TheSavedWindowSizeIsTheOuterSize) {
    Load();
    form().nonClient = {240, 885};
    form().resize(6000, 7000);
    form().close();
    const std::string ini = fake.system.folder + "\\Tavimero.ini";
    EXPECT_EQ(fake.profile.getString("Tavimero", "Width", "", ini), "6000");
    EXPECT_EQ(fake.profile.getString("Tavimero", "Height", "", ini), "7000");
}

TEST_F(MainWindowTest, HelpOpensTheHelpFileBesideTheProgram) {
    fake.files.addFile("C:\\Tools\\help.html");
    Load();
    fake.log.clear();
    form().chooseMenu(ids::mnuViewHelp);
    EXPECT_EQ(fake.log.lines, (std::vector<std::string>{"shell open C:\\Tools\\help.html"}));
}

TEST_F(MainWindowTest, HelpInADriveRootAddsNoSecondBackslash) {
    fake.system.folder = "D:\\";
    fake.files.addDirectory("D:");
    fake.files.addFile("D:\\help.html");
    Load();
    fake.log.clear();
    form().chooseMenu(ids::mnuViewHelp);
    EXPECT_EQ(fake.log.lines, (std::vector<std::string>{"shell open D:\\help.html"}));
}

TEST_F(MainWindowTest, AMissingHelpFileIsReported) {
    Load();
    form().chooseMenu(ids::mnuViewHelp);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "ヘルプファイルが見つかりません。");
    EXPECT_EQ(fake.messages.shown[0].title, "エラー");
    EXPECT_EQ(fake.messages.shown[0].icon, MessageIcon::Exclamation);
}

TEST_F(MainWindowTest, TheHomePageOpensInTheShell) {
    Load();
    fake.log.clear();
    form().chooseMenu(ids::mnuSite);
    EXPECT_EQ(fake.log.lines, (std::vector<std::string>{"shell open https://www.tavimero.example/"}));
}

TEST_F(MainWindowTest, ToolbarSeparatorsDoNothingAndButton12OpensTheBrowser) {
    Load();
    fake.log.clear();
    for (int index : {0, 4, 8, 11, 14}) form().clickToolbar(index);
    EXPECT_TRUE(fake.log.lines.empty());
    EXPECT_FALSE(shared.DirectoryShown);
    form().clickToolbar(12);
    EXPECT_TRUE(shared.DirectoryShown);
}

TEST_F(MainWindowTest, ExitClosesTheWindowThroughTheCloseSequence) {
    Setting("CloseDos", "Close");
    Load();
    form().chooseMenu(ids::mnuExit);
    EXPECT_TRUE(form().closed);
    EXPECT_EQ(fake.console.typed, "<Esc>exit<Enter>");
    EXPECT_EQ(fake.console.attachmentsNow, 0);  // a prompt just started is waited for here
}

TEST_F(MainWindowTest, TheEndOfTheSessionAsksOnceAndThenRunsTheCloseSequence) {
    struct Case {
        const char* name;
        MessageResult answer;
        bool sessionMayEnd;
        bool ends;  // the system ends the session after all
        bool settingsWritten;
    };
    const Case cases[] = {
        {"cancel keeps the session", MessageResult::Cancel, false, false, false},
        {"no lets it end", MessageResult::No, true, true, true},
        {"another program kept it", MessageResult::No, true, false, false},
    };
    for (const Case& c : cases) {
        FakePlatform local;
        SetIn(local, "CloseDos", "Close");
        local.profile.log = &local.log;
        mdlDos localShared;
        frmDosLaunch main(local.platform, localShared);
        StartUp(main, local);
        FakeForm& f = *local.forms.created.front();
        main.AddToList("dir");  // a changed list
        local.messages.answers.push_back(c.answer);
        EXPECT_EQ(f.queryEndSession(), c.sessionMayEnd) << c.name;
        EXPECT_EQ(local.messages.shown.size(), 1u) << c.name;
        if (c.sessionMayEnd) f.endSession(c.ends);
        EXPECT_EQ(local.messages.shown.size(), 1u) << c.name << ": asked once";
        const bool written = !local.profile.entries.empty() &&
                             local.profile.getString("Tavimero", "CD", "", local.system.folder + "\\Tavimero.ini") != "";
        EXPECT_EQ(written, c.settingsWritten) << c.name;
        EXPECT_EQ(local.console.typed, c.settingsWritten ? "<Esc>exit<Enter>" : "") << c.name;
        EXPECT_FALSE(f.closed) << c.name;
        if (!c.settingsWritten) continue;
        // The settings first, then the prompt, whose console is not waited for.
        const auto& lines = local.log.lines;
        const auto settings = std::find(lines.begin(), lines.end(), "settings Height");
        const auto exit = std::find_if(lines.begin(), lines.end(),
                                       [](const std::string& line) { return line.ends_with("<Esc>exit<Enter>"); });
        EXPECT_LT(settings, exit) << c.name;
        EXPECT_EQ(local.console.attachmentsNow, 1) << c.name;
    }
}

TEST_F(MainWindowTest, AboutShowsTheVersionModalOverTheMainWindow) {
    Load();
    frmAbout about(fake.forms);
    about.ShowModal(form());
    FakeForm& box = *fake.forms.created.back();
    EXPECT_EQ(box.modalOwner, &form());
    EXPECT_FALSE(box.design.sizable);
    EXPECT_EQ(box.get<FakeLabel>("lblAbout").caption(), "Tavimero Ver. 1.01");
    const std::vector<std::string> lines = text::Split(box.get<FakeLabel>("lblInfo").caption(), "\r\n");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "種別： フリーウェア");
    EXPECT_EQ(lines[1], "配布開始日： 2002年5月1日");
    EXPECT_NE(lines[2].find("https://www.tavimero.example/"), std::string::npos);
    EXPECT_EQ(lines[3], "");
    EXPECT_NE(lines[4].find("2002"), std::string::npos);
    EXPECT_TRUE(box.get<FakeButton>("cmdOk").isDefault());
    box.get<FakeButton>("cmdOk").click();
    EXPECT_TRUE(box.closed);
}
