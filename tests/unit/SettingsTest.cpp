#include "MainWindowFixture.h"
#include "settings/Settings.h"
#include "forms/WindowSize.h"
#include "forms/frmOption.h"

namespace {
const std::string IniPath = "C:\\Tools\\Tavimero.ini";

std::vector<std::string> WrittenKeys(const FakeProfile& profile) {
    std::vector<std::string> lines;
    for (const auto& entry : profile.entries) lines.push_back(entry.key + "=" + entry.value);
    return lines;
}
}  // namespace

TEST(Settings, TheFileLivesBesideTheProgram) {
    EXPECT_EQ(settings::SettingsFilePath("C:\\Tools"), "C:\\Tools\\Tavimero.ini");
    EXPECT_EQ(settings::SettingsFilePath("D:\\"), "D:\\Tavimero.ini");
}

TEST_F(MainWindowTest, WithoutASettingsFileEveryKeyHasItsDefault) {
    Load();
    EXPECT_EQ(chbAdd().value(), 0);
    EXPECT_FALSE(shared.AddListDirectory);
    EXPECT_EQ(shared.DoDirectory, 0);
    EXPECT_FALSE(shared.CloseDos);
    EXPECT_EQ(shared.EnterKey, 0);
    EXPECT_TRUE(cmdSend().isDefault());
    EXPECT_FALSE(cmdSendAndDo().isDefault());
    EXPECT_EQ(form().widthTwips(), 4575);
    EXPECT_EQ(form().heightTwips(), 6210);
    EXPECT_EQ(lstCommand().count(), 0);

    form().close();
    EXPECT_EQ(WrittenKeys(fake.profile), (std::vector<std::string>{
                                             "AddListMain=No", "AddListDirectory=No", "DoDirectory=0", "CloseDos=No",
                                             "CD=C:\\Tools", "EnterKey=0", "Width=4575", "Height=6210",
                                             "Placeholders=1"}));
}

TEST_F(MainWindowTest, ValuesAreReadExactlyAndWrittenBackInTheirOwnForm) {
    Setting("AddListMain", "yes");
    Setting("AddListDirectory", "Yes");
    Setting("DoDirectory", "7");
    Setting("CloseDos", "Yes");
    Setting("EnterKey", "007");
    Setting("Width", "6000.7");
    Setting("Height", "7000");
    Setting("Placeholders", "No");  // only "0" turns the fields off
    Load();
    EXPECT_EQ(chbAdd().value(), 0);  // only "Yes" counts
    EXPECT_TRUE(shared.AddListDirectory);
    EXPECT_EQ(shared.DoDirectory, 7);
    EXPECT_FALSE(shared.CloseDos);  // only "Close" counts
    EXPECT_EQ(shared.EnterKey, 7);
    EXPECT_TRUE(cmdSendAndDo().isDefault());
    EXPECT_FALSE(cmdSend().isDefault());
    EXPECT_EQ(form().widthTwips(), 6001);
    form().close();
    EXPECT_EQ(WrittenKeys(fake.profile), (std::vector<std::string>{
                                             "AddListMain=No", "AddListDirectory=Yes", "DoDirectory=2", "CloseDos=No",
                                             "EnterKey=7", "Width=6001", "Height=7000", "Placeholders=1",
                                             "CD=C:\\Tools"}));
}

TEST_F(MainWindowTest, TheStartFolderMustExistAsAFolderOrFile) {
    struct Case {
        const char* cd;
        const char* currentDir;
    };
    const Case cases[] = {
        {"C:\\NoSuchDir", "C:\\Tools"},
        {"", "C:\\Tools"},
        {"C:\\Work", "C:\\Work"},
        {"C:\\Work\\", "C:\\Work"},
        {"C:\\Work\\a.bat", "C:\\Tools"},  // kept as read, then missing as a folder when the prompt starts
    };
    for (const Case& c : cases) {
        FakePlatform local;
        local.files.addDirectory("C:\\Work");
        local.files.addFile("C:\\Work\\a.bat");
        SetIn(local, "CD", c.cd);
        mdlDos localShared;
        frmDosLaunch main(local.platform, localShared);
        StartUp(main, local);
        EXPECT_EQ(localShared.CurrentDir, c.currentDir) << c.cd;
    }
}

TEST_F(MainWindowTest, NumbersOutsideSixteenBitsAreLimited) {
    Setting("DoDirectory", "70000");
    Setting("EnterKey", "-99999");
    Load();
    EXPECT_EQ(shared.DoDirectory, 32767);
    EXPECT_EQ(shared.EnterKey, -32768);
}

TEST_F(MainWindowTest, TheWindowSizeIsKeptWhereItCanBeSeen) {
    Setting("Width", "0");
    Setting("Height", "99999999");
    Load();
    EXPECT_EQ(form().widthTwips(), 1800);   // the system's smallest window
    EXPECT_EQ(form().heightTwips(), 14400);  // the monitor's work area
}

TEST(WindowSize, FitsBetweenTheSmallestWindowAndTheWorkArea) {
    const TwipsSize work{19200, 14400};
    const TwipsSize minimum{1800, 500};
    EXPECT_EQ(FitWindowSize(4575, 6210, work, minimum), (TwipsSize{4575, 6210}));
    EXPECT_EQ(FitWindowSize(-5, 0, work, minimum), (TwipsSize{1800, 500}));
    EXPECT_EQ(FitWindowSize(1e30, 1e30, work, minimum), (TwipsSize{19200, 14400}));
    EXPECT_EQ(FitWindowSize(4575, 6210, {1000, 1000}, minimum), (TwipsSize{1800, 1000}));  // a tiny screen
}

TEST_F(MainWindowTest, AStartupListIsOpenedOnlyWhenAskedFor) {
    fake.files.addFile("C:\\Tools\\list.txt", "dir\r\nver");
    Setting("LoadList", "No");
    Setting("PathOfList", "C:\\Tools\\list.txt");
    Load();
    EXPECT_EQ(lstCommand().count(), 0);

    FakePlatform local;
    local.files.addFile("C:\\Tools\\list.txt", "dir\r\nver");
    SetIn(local, "LoadList", "Yes");
    SetIn(local, "PathOfList", "C:\\Tools\\list.txt");
    mdlDos localShared;
    frmDosLaunch main(local.platform, localShared);
    StartUp(main, local);
    EXPECT_EQ(local.forms.created.front()->get<FakeListBox>("lstCommand").count(), 2);
    EXPECT_FALSE(main.ListModified());
}

TEST_F(MainWindowTest, ALongListPathIsReadAsItsFirst1023Characters) {
    const std::string longPath = "C:\\" + std::string(1497, 'a');
    Setting("LoadList", "Yes");
    Setting("PathOfList", longPath);
    Load();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text.substr(0, 1023), longPath.substr(0, 1023));
    EXPECT_EQ(fake.messages.shown[0].text.find("は開けません。"), 1023u);
}

TEST_F(MainWindowTest, ClosingWithCancelWritesNoSettings) {
    Load();
    window->AddToList("dir");
    fake.messages.answers.push_back(MessageResult::Cancel);
    form().close();
    EXPECT_TRUE(fake.profile.entries.empty());
}

// A settings file that cannot be written is reported once, with its path and the system's
// reason; the close goes on, and the options dialog stays open with the user's choices.
TEST_F(MainWindowTest, ASettingsFileThatCannotBeWrittenIsReportedOnce) {
    const std::string failed = "C:\\Tools\\Tavimero.ini" +
                               std::string("に設定を保存できませんでした。\r\n") +
                               "アクセスが拒否されました。";
    Load();
    fake.profile.failWrites = true;
    form().close();
    EXPECT_TRUE(form().closed);
    EXPECT_EQ(fake.profile.writes, 1);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, failed);
    EXPECT_EQ(fake.messages.shown[0].title, "エラー");
}

TEST_F(MainWindowTest, TheOptionsDialogStaysOpenWhenItsKeysCannotBeWritten) {
    Load();
    frmOption dialog({fake.forms, fake.profile, fake.dialogs, fake.system, fake.messages}, shared,
                     [this] { window->ApplyEnterKey(); });
    dialog.ShowModal(form());
    FakeForm& box = *fake.forms.created.back();
    box.get<FakeCheckBox>("chbLoad").click();
    box.get<FakeCheckBox>("chbClose").click();
    box.get<FakeCheckBox>("optDo").click();
    fake.profile.failWrites = true;
    box.get<FakeButton>("cmdOk").click();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(
        fake.messages.shown[0].text.find("C:\\Tools\\Tavimero.iniに設定を保存できませんでした。"),
        0u);
    EXPECT_EQ(fake.profile.writes, 1);
    EXPECT_FALSE(box.closed);
    EXPECT_EQ(box.get<FakeCheckBox>("chbClose").value(), 1);  // the choices stay
    EXPECT_FALSE(shared.CloseDos);                            // and nothing was applied
    EXPECT_EQ(shared.EnterKey, 0);
    fake.profile.failWrites = false;
    box.get<FakeButton>("cmdOk").click();
    EXPECT_TRUE(box.closed);
    EXPECT_TRUE(shared.CloseDos);
}
