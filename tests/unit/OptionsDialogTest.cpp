#include "MainWindowFixture.h"
#include "forms/frmOption.h"

class OptionsDialogTest : public MainWindowTest {
protected:
    void SetUp() override { Load(); }
    // Opens the dialog; the fake's modal show returns at once, so the test works the open box.
    FakeForm& Open() {
        dialog = std::make_unique<frmOption>(
            frmOption::Services{fake.forms, fake.profile, fake.dialogs, fake.system, fake.messages}, shared,
            [this] { window->ApplyEnterKey(); });
        dialog->ShowModal(form());
        return *fake.forms.created.back();
    }
    std::string Stored(const std::string& key) {
        return fake.profile.getString("Tavimero", key, "<none>", "C:\\Tools\\Tavimero.ini");
    }
    std::unique_ptr<frmOption> dialog;
};

TEST_F(OptionsDialogTest, WithoutSettingsTheListChoiceIsOffAndDisabled) {
    FakeForm& box = Open();
    EXPECT_EQ(box.modalOwner, &form());
    EXPECT_EQ(box.get<FakeCheckBox>("chbLoad").value(), 0);
    EXPECT_EQ(box.get<FakeTextBox>("txtPath").text(), "");
    EXPECT_FALSE(box.get<FakeTextBox>("txtPath").enabled());
    EXPECT_FALSE(box.get<FakeButton>("cmdOpen").enabled());
    EXPECT_EQ(box.get<FakeCheckBox>("optSend").value(), 1);
    EXPECT_EQ(box.get<FakeCheckBox>("optDo").value(), 0);
    box.get<FakeCheckBox>("chbLoad").click();
    EXPECT_TRUE(box.get<FakeTextBox>("txtPath").enabled());
    EXPECT_TRUE(box.get<FakeButton>("cmdOpen").enabled());
}

TEST_F(OptionsDialogTest, OkAppliesTheEnterKeyAtOnceAndStoresTheListChoice) {
    FakeForm& box = Open();
    box.get<FakeCheckBox>("chbLoad").click();
    box.get<FakeTextBox>("txtPath").setText("C:\\Lists\\my.txt");
    box.get<FakeCheckBox>("chbClose").click();
    box.get<FakeCheckBox>("optDo").click();
    EXPECT_EQ(box.get<FakeCheckBox>("optSend").value(), 0);
    box.get<FakeButton>("cmdOk").click();
    EXPECT_TRUE(box.closed);
    EXPECT_TRUE(shared.CloseDos);
    EXPECT_EQ(shared.EnterKey, 1);
    EXPECT_TRUE(cmdSendAndDo().isDefault());
    EXPECT_FALSE(cmdSend().isDefault());
    EXPECT_EQ(Stored("LoadList"), "Yes");
    EXPECT_EQ(Stored("PathOfList"), "C:\\Lists\\my.txt");
    EXPECT_EQ(Stored("EnterKey"), "<none>");  // the rest waits for the close

    FakeForm& again = Open();  // unticking keeps the path
    again.get<FakeCheckBox>("chbLoad").click();
    again.get<FakeButton>("cmdOk").click();
    EXPECT_EQ(Stored("LoadList"), "No");
    EXPECT_EQ(Stored("PathOfList"), "C:\\Lists\\my.txt");
    EXPECT_EQ(Open().get<FakeTextBox>("txtPath").text(), "C:\\Lists\\my.txt");
}

TEST_F(OptionsDialogTest, CancelChangesNothing) {
    shared.EnterKey = 5;
    window->ApplyEnterKey();
    FakeForm& box = Open();
    EXPECT_EQ(box.get<FakeCheckBox>("optDo").value(), 1);
    box.get<FakeCheckBox>("chbLoad").click();
    box.get<FakeCheckBox>("chbClose").click();
    box.get<FakeCheckBox>("optSend").click();
    box.get<FakeButton>("cmdCancel").click();
    EXPECT_TRUE(box.closed);
    EXPECT_EQ(shared.EnterKey, 5);
    EXPECT_FALSE(shared.CloseDos);
    EXPECT_TRUE(cmdSendAndDo().isDefault());
    EXPECT_EQ(Stored("LoadList"), "<none>");
}

TEST_F(OptionsDialogTest, BrowsingFillsThePathAndCancellingKeepsIt) {
    FakeForm& box = Open();
    box.get<FakeCheckBox>("chbLoad").click();
    box.get<FakeTextBox>("txtPath").setText("typed.txt");
    fake.dialogs.answers.push_back(std::nullopt);
    box.get<FakeButton>("cmdOpen").click();
    EXPECT_EQ(box.get<FakeTextBox>("txtPath").text(), "typed.txt");
    EXPECT_EQ(fake.dialogs.shown.at(0).title, "リストを選択");
    EXPECT_FALSE(fake.dialogs.shown.at(0).askBeforeOverwrite);
    fake.dialogs.answers.push_back("C:\\Lists\\b.txt");
    box.get<FakeButton>("cmdOpen").click();
    EXPECT_EQ(box.get<FakeTextBox>("txtPath").text(), "C:\\Lists\\b.txt");
}
