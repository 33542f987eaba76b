#include "MainWindowFixture.h"
#include "forms/ControlIds.h"

class DirectoryBrowserTest : public MainWindowTest {
protected:
    void SetUp() override {
        for (const char* folder : {"C:", "C:\\Program Files", "C:\\Tools\\sub", "D:", "D:\\Work"}) {
            fake.files.addDirectory(folder);
        }
        fake.files.addFile("C:\\Tools\\a.txt");
        fake.files.addFile("C:\\Tools\\my file.txt");
        fake.files.addFile("C:\\Tools\\secret.txt");
        fake.files.hiddenFiles.insert("C:\\TOOLS\\SECRET.TXT");
        fake.files.labels["C"] = "SYSTEM";
        Load();
        form().chooseMenu(ids::cmdMove);
        fake.log.clear();
    }
    FakeForm& browser() { return *fake.forms.created.back(); }
    FakeListBox& folders() { return browser().get<FakeListBox>("dirChange"); }
    FakeListBox& files() { return browser().get<FakeListBox>("filChange"); }
    void Option(const char* name) { browser().get<FakeCheckBox>(name).click(); }
    void Ok() { browser().get<FakeButton>("cmdOk").click(); }
    // Double-clicks the folder list's entry that shows name.
    void OpenFolder(const std::string& name) {
        for (int i = 0; i < folders().count(); ++i) {
            if (text::Trim(folders().item(i)) == name) folders().setListIndex(i);
        }
        folders().onDblClick();
    }
};

TEST_F(DirectoryBrowserTest, OpensOnTheTrackedFolderWithLinkedLists) {
    EXPECT_TRUE(shared.DirectoryShown);
    EXPECT_EQ(browser().design.caption, "ディレクトリ　ブラウザ - Tavimero");
    const FakeComboBox& drives = browser().get<FakeComboBox>("drvChange");
    EXPECT_EQ(drives.item(0), "c: [SYSTEM]");
    EXPECT_EQ(drives.item(1), "d:");
    EXPECT_EQ(drives.listIndex(), 0);
    EXPECT_EQ(folders().items(), (std::vector<std::string>{"C:\\", "  Tools", "    sub"}));
    EXPECT_EQ(folders().listIndex(), 1);
    EXPECT_EQ(files().items(), (std::vector<std::string>{"a.txt", "my file.txt"}));
    EXPECT_EQ(browser().get<FakeCheckBox>("optCD").value(), 1);
}

TEST_F(DirectoryBrowserTest, EnterInTheFolderListOpensTheSelectedFolderInsteadOfPressingOk) {
    using enum ItemImage;
    Option("optPath");
    txtCommand().setText("dir ");
    EXPECT_EQ(folders().images(), (std::vector<ItemImage>{OpenFolder, OpenFolder, ClosedFolder}));
    folders().setFocus();
    folders().setListIndex(2);
    browser().pressEnter();
    EXPECT_EQ(folders().items(), (std::vector<std::string>{"C:\\", "  Tools", "    sub"}));
    EXPECT_EQ(folders().images(), (std::vector<ItemImage>{OpenFolder, OpenFolder, OpenFolder}));
    EXPECT_EQ(folders().listIndex(), 2);
    EXPECT_TRUE(files().items().empty());
    EXPECT_EQ(txtCommand().text(), "dir ") << "Enter pressed OK";
    // Elsewhere Enter presses OK.
    files().setFocus();
    browser().pressEnter();
    EXPECT_EQ(txtCommand().text(), "dir C:\\Tools\\sub");
}

TEST_F(DirectoryBrowserTest, OkActsOnTheOpenFolderNotTheSelectedEntry) {
    folders().setListIndex(0);  // moved to with the arrow keys, not opened
    Ok();
    EXPECT_EQ(fake.console.typed, "cd \"C:\\Tools\"<Enter>");
    Option("optPath");
    Ok();
    EXPECT_EQ(txtCommand().text(), "C:\\Tools");
    EXPECT_EQ(folders().listIndex(), 0);
    EXPECT_EQ(folders().images()[1], ItemImage::OpenFolder) << "the open folder keeps its mark";
}

TEST_F(DirectoryBrowserTest, OpeningTwiceBringsTheSameBrowserForward) {
    const std::size_t windows = fake.forms.created.size();
    form().clickToolbar(12);
    EXPECT_EQ(fake.forms.created.size(), windows);
    EXPECT_EQ(browser().activations, 1);
    browser().get<FakeButton>("cmdCancel").click();
    EXPECT_FALSE(shared.DirectoryShown);
    form().chooseMenu(ids::cmdMove);
    EXPECT_EQ(fake.forms.created.size(), windows + 1);
}

TEST_F(DirectoryBrowserTest, InputPathAppendsTheFolderOrTheSelectedFile) {
    Option("optPath");
    txtCommand().setText("type ");
    files().setListIndex(0);
    Ok();
    EXPECT_EQ(txtCommand().text(), "type C:\\Tools\\a.txt");
    EXPECT_EQ(shared.DoDirectory, 1);
    files().onDblClick();  // deselects: the folder is input
    Ok();
    EXPECT_EQ(txtCommand().text(), "type C:\\Tools\\a.txtC:\\Tools");
    OpenFolder("C:\\");
    Ok();
    EXPECT_EQ(txtCommand().text(), "type C:\\Tools\\a.txtC:\\ToolsC:\\");
    EXPECT_EQ(txtCommand().selStart(), static_cast<int>(txtCommand().text().size()));
}

TEST_F(DirectoryBrowserTest, APathWithASpaceIsQuotedAndAddedToTheListAsInput) {
    Option("optPath");
    browser().get<FakeCheckBox>("chbAdd").click();
    txtCommand().setText("cd ");
    OpenFolder("C:\\");
    OpenFolder("Program Files");
    Ok();
    EXPECT_EQ(txtCommand().text(), "cd \"C:\\Program Files\"");
    EXPECT_EQ(lstCommand().items(), (std::vector<std::string>{"\"C:\\Program Files\""}));
    EXPECT_TRUE(shared.AddListDirectory);
}

TEST_F(DirectoryBrowserTest, InputFileNameNeedsASelectedFile) {
    Option("OptFileName");
    txtCommand().setText("copy");
    Ok();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "ファイルが選択されていません");
    EXPECT_EQ(fake.messages.shown[0].title, "Tavimero");
    EXPECT_EQ(txtCommand().text(), "copy");
    files().setListIndex(1);
    Ok();
    EXPECT_EQ(txtCommand().text(), "copy\"my file.txt\"");
    EXPECT_EQ(shared.DoDirectory, 2);
}

TEST_F(DirectoryBrowserTest, MoveTypesADriveChangeOnlyForAnotherDrive) {
    OpenFolder("sub");
    Ok();
    EXPECT_EQ(fake.console.typed, "cd \"C:\\Tools\\sub\"<Enter>");
    browser().get<FakeComboBox>("drvChange").choose(1);
    OpenFolder("Work");
    Ok();
    EXPECT_EQ(fake.console.typed, "cd \"C:\\Tools\\sub\"<Enter>d:<Enter>cd \"d:\\Work\"<Enter>");
    EXPECT_EQ(shared.CurrentDir, "d:\\Work");
}

TEST_F(DirectoryBrowserTest, TheTrackedDriveChosenInTheDriveListTypesNoDriveChange) {
    browser().get<FakeCheckBox>("chbAdd").click();
    FakeComboBox& drives = browser().get<FakeComboBox>("drvChange");
    drives.choose(0);  // "c:", while the tracking holds C
    OpenFolder("Tools");
    Ok();
    drives.choose(1);
    OpenFolder("Work");
    Ok();  // a drive change to D
    drives.choose(1);  // "d:", while the tracking holds D
    Ok();
    EXPECT_EQ(fake.console.typed, "cd \"c:\\Tools\"<Enter>d:<Enter>cd \"d:\\Work\"<Enter>cd \"d:\\\"<Enter>");
    EXPECT_EQ(lstCommand().items(),
              (std::vector<std::string>{"cd \"c:\\Tools\"", "cd \"d:\\\"", "cd \"d:\\Work\"", "d:"}));
    EXPECT_EQ(shared.CurrentDrive, "D");
}

TEST_F(DirectoryBrowserTest, APathWithAPercentSignIsTypedSoThatThePromptKeepsIt) {
    fake.files.addFile("C:\\Tools\\x%OS%y.txt");
    OpenFolder("Tools");  // read the folder again
    Option("optPath");
    const std::vector<std::string> names = files().items();
    const auto file = std::find(names.begin(), names.end(), "x%OS%y.txt");
    ASSERT_NE(file, names.end());
    files().setListIndex(static_cast<int>(file - names.begin()));
    Ok();
    Option("OptFileName");
    Ok();
    EXPECT_EQ(txtCommand().text(), "\"C:\\Tools\\x\"%\"OS\"%\"y.txt\"\"x\"%\"OS\"%\"y.txt\"");
}

TEST_F(DirectoryBrowserTest, ADriveThatIsNotReadyIsReportedAndTheFolderKept) {
    fake.files.notReady.insert("D");
    fake.files.directories.erase("D:");
    browser().get<FakeComboBox>("drvChange").choose(1);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "デバイスの準備ができていません");
    EXPECT_EQ(fake.messages.shown[0].title, "エラー");
    EXPECT_EQ(folders().items(), (std::vector<std::string>{"C:\\", "  Tools", "    sub"}));
}

TEST_F(DirectoryBrowserTest, ClosingTheMainWindowClosesTheBrowserFirst) {
    Setting("CloseDos", "Close");
    form().close();
    EXPECT_TRUE(browser().closed);
    EXPECT_FALSE(shared.DirectoryShown);
}

TEST_F(MainWindowTest, TheBrowserResetsAMissingTrackedFolderToTheProgramFolder) {
    Load();
    shared.CurrentDir = "C:\\Gone";
    form().chooseMenu(ids::cmdMove);
    EXPECT_EQ(shared.CurrentDir, "C:\\Tools");
}
