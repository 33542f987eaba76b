#include "MainWindowFixture.h"
#include "forms/frmFieldValues.h"
#include "text/Product.h"

// The values dialog on its own, and the main window asking for fields before it inputs a text.

namespace {

// The value box of a row: a text box, or for a field with alternatives an editable combo box.
std::string ValueShown(FakeForm& box, int row) {
    const std::string index = std::to_string(row);
    try {
        return box.get<FakeTextBox>("txtField" + index).text();
    } catch (const std::out_of_range&) {
        return box.get<FakeComboBox>("cboField" + index).text();
    }
}

void Type(FakeForm& box, int row, const std::string& value) {
    const std::string index = std::to_string(row);
    try {
        box.get<FakeTextBox>("txtField" + index).setText(value);
    } catch (const std::out_of_range&) {
        box.get<FakeComboBox>("cboField" + index).type(value);
    }
}

class FieldValuesDialogTest : public ::testing::Test {
protected:
    // Opens the dialog for the names; `user` acts while it is up. The dialog, and `shown`, last
    // until the next one opens.
    std::optional<fields::Values> Ask(const std::vector<std::string>& names,
                                      const std::function<void(FakeForm&)>& user) {
        forms.whileModal = [&](FakeForm& box) {
            shown = &box;
            user(box);
        };
        dialog = std::make_unique<frmFieldValues>(forms, names, remembered);
        return dialog->ShowModal(owner);
    }
    FakeFormFactory forms;
    FakeForm owner{FormSpec{}, nullptr};
    fields::Values remembered;
    std::unique_ptr<frmFieldValues> dialog;
    FakeForm* shown = nullptr;
};

TEST_F(FieldValuesDialogTest, OneRowPerNameWithItsValueBoxInTabOrderThenTheButtons) {
    remembered = {{"dst", "D:\\控え"}, {"[/y|/-y]", "/-y"}, {"[-o|--output]", "--out=log.txt"}};
    Ask({"src", "dst", "[/y|/-y]", "[-o|--output]"}, [](FakeForm& box) {
        EXPECT_EQ(box.design.caption, "値の入力");
        EXPECT_EQ(ValueShown(box, 0), "");               // nothing given yet
        EXPECT_EQ(ValueShown(box, 1), "D:\\控え");       // the value given last
        EXPECT_EQ(ValueShown(box, 2), "/-y");            // a remembered alternative
        EXPECT_EQ(ValueShown(box, 3), "--out=log.txt");  // typed before, not an alternative
        const FakeComboBox& choices = box.get<FakeComboBox>("cboField2");
        EXPECT_TRUE(choices.editable());
        EXPECT_EQ(choices.count(), 2);
        EXPECT_EQ(choices.item(0), "/y");
        EXPECT_EQ(choices.listIndex(), 1);
    });
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->modalOwner, &owner);
    std::vector<std::string> order;
    for (const ControlSpec& control : InTabOrder(shown->design.controls))
        order.push_back(control.name + ":" + control.caption);
    EXPECT_EQ(order, (std::vector<std::string>{"fraFields:", "lblField0:src", "txtField0:",
                                               "lblField1:dst", "txtField1:", "lblField2:[/y|/-y]",
                                               "cboField2:", "lblField3:[-o|--output]",
                                               "cboField3:", "cmdOk:OK", "cmdCancel:キャンセル"}));
    EXPECT_TRUE(shown->get<FakeButton>("cmdOk").isDefault());
}

TEST_F(FieldValuesDialogTest, AlternativesStartAtTheFirstAndATypedTextIsTakenAsIs) {
    const auto values = Ask({"[-o|--output]", "file"}, [](FakeForm& box) {
        EXPECT_EQ(ValueShown(box, 0), "-o");
        Type(box, 1, "結果 1.txt");
        box.get<FakeButton>("cmdOk").click();
        EXPECT_TRUE(box.closed);
    });
    EXPECT_EQ(values, (fields::Values{{"[-o|--output]", "-o"}, {"file", "結果 1.txt"}}));
    const auto typed = Ask({"[-o|--output]"}, [](FakeForm& box) {
        Type(box, 0, "--output=x");
        box.get<FakeButton>("cmdOk").click();
    });
    EXPECT_EQ(typed, (fields::Values{{"[-o|--output]", "--output=x"}}));
}

TEST_F(FieldValuesDialogTest, CancelAndTheCloseBoxGiveNothing) {
    EXPECT_FALSE(Ask({"a"}, [](FakeForm& box) {
                     Type(box, 0, "x");
                     box.get<FakeButton>("cmdCancel").click();
                     EXPECT_TRUE(box.closed);
                 }).has_value());
    EXPECT_FALSE(Ask({"a"}, [](FakeForm& box) { box.close(); }).has_value());
}

TEST_F(FieldValuesDialogTest, ARememberedValueIsChosenWholeWhenItsBoxTakesTheFocus) {
    remembered = {{"ホスト", "server01.example.jp"}};
    Ask({"ホスト"}, [](FakeForm& box) {
        FakeTextBox& value = box.get<FakeTextBox>("txtField0");
        value.setFocus();
        EXPECT_EQ(value.selText(), "server01.example.jp");
    });
}

TEST_F(FieldValuesDialogTest, TheDialogGrowsWithItsRowsUpToTenThenTheRowsScroll) {
    struct Case {
        int rows;
        bool scrolls;
    };
    std::map<int, int> clientHeight;
    for (const Case c : {Case{1, false}, Case{10, false}, Case{11, true}, Case{40, true}}) {
        std::vector<std::string> names;
        for (int row = 0; row < c.rows; ++row) names.push_back("name" + std::to_string(row));
        Ask(names, [](FakeForm&) {});
        const FormSpec& design = shown->design;
        clientHeight[c.rows] = design.clientHeightTwips;
        const TwipsRect frame = shown->get<FakeFrame>("fraFields").rect();
        const TwipsRect last =
            shown->get<FakeTextBox>("txtField" + std::to_string(c.rows - 1)).rect();
        EXPECT_EQ(last.top + last.height > frame.height, c.scrolls) << c.rows;
        // The buttons stand below the frame, inside the window.
        const TwipsRect ok = shown->get<FakeButton>("cmdOk").rect();
        EXPECT_GT(ok.top, frame.top + frame.height) << c.rows;
        EXPECT_LE(ok.top + ok.height, design.clientHeightTwips) << c.rows;
        EXPECT_LE(ok.left + ok.width, design.clientWidthTwips) << c.rows;
    }
    EXPECT_LT(clientHeight[1], clientHeight[10]);
    EXPECT_EQ(clientHeight[10], clientHeight[11]);
    EXPECT_EQ(clientHeight[11], clientHeight[40]);
}

// The main window with the prompt running and a dialog user who gives values and presses OK.
class FieldInputTest : public MainWindowTest {
protected:
    void SetUp() override {
        fake.files.addDirectory("C:\\Tools\\ログ");
        Load();
        fake.log.clear();
    }
    // The user answers each values dialog: the values by row, then OK (or Cancel).
    void Answer(std::vector<std::string> values, bool ok = true) {
        fake.forms.whileModal = [this, values, ok](FakeForm& box) {
            ++dialogs;
            for (std::size_t row = 0; row < values.size(); ++row)
                Type(box, static_cast<int>(row), values[row]);
            box.get<FakeButton>(ok ? "cmdOk" : "cmdCancel").click();
        };
    }
    int dialogs = 0;
};

TEST_F(FieldInputTest, TheFilledTextIsTypedAndTheListKeepsItsFields) {
    chbAdd().setValue(1);
    Answer({"C:\\データ\\a.txt", "D:\\控え"});
    Execute("copy {{source}} {{target}} & dir {{target}}");
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(fake.console.typed, "copy C:\\データ\\a.txt D:\\控え & dir D:\\控え<Enter>");
    EXPECT_EQ(txtCommand().text(), "");
    ASSERT_EQ(lstCommand().count(), 1);
    EXPECT_EQ(lstCommand().item(0), "copy {{source}} {{target}} & dir {{target}}");
    EXPECT_TRUE(ButtonsEnabled());
    EXPECT_TRUE(txtCommand().hasFocus());

    // Input only, by the other button: the rows start with the values given last.
    fake.forms.whileModal = [this](FakeForm& box) {
        ++dialogs;
        EXPECT_EQ(ValueShown(box, 0), "D:\\控え");
        EXPECT_EQ(ValueShown(box, 1), "C:\\データ\\a.txt");
        box.get<FakeButton>("cmdOk").click();
    };
    Input("echo {{target}} {{source}} \\{\\{x\\}\\}");
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(fake.console.typed,
              "copy C:\\データ\\a.txt D:\\控え & dir D:\\控え<Enter>echo D:\\控え "
              "C:\\データ\\a.txt {{x}}");
    EXPECT_EQ(lstCommand().item(1), "echo {{target}} {{source}} \\{\\{x\\}\\}");
}

TEST_F(FieldInputTest, CancelTypesNothingAndKeepsTheText) {
    chbAdd().setValue(1);
    Answer({"ignored"}, false);
    for (const bool execute : {true, false}) {
        fake.log.clear();
        if (execute)
            Execute("ping {{host}}");
        else
            Input("ping {{host}}");
        EXPECT_TRUE(fake.log.lines.empty()) << execute;
        EXPECT_EQ(txtCommand().text(), "ping {{host}}");
        EXPECT_EQ(lstCommand().count(), 0);
        EXPECT_TRUE(ButtonsEnabled());
        EXPECT_TRUE(txtCommand().hasFocus());
    }
    // Nothing given, nothing remembered.
    fake.forms.whileModal = [](FakeForm& box) { EXPECT_EQ(ValueShown(box, 0), ""); };
    Execute("ping {{host}}");
}

TEST_F(FieldInputTest, TheStepsOfAnInputSeeTheFilledText) {
    // The length limit: a short text that fills to more than the prompt takes is refused.
    Answer({std::string(8200, 'x')});
    Execute("echo {{text}}");
    EXPECT_EQ(fake.console.typed, "");
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_NE(fake.messages.shown[0].text.find("8191"), std::string::npos);
    EXPECT_EQ(txtCommand().text(), "echo {{text}}");
    EXPECT_TRUE(ButtonsEnabled());
    // The directory tracking and the prompt's own words go by the filled text.
    Answer({"cd ログ"});
    Execute("{{command}}");
    EXPECT_EQ(shared.CurrentDir, "C:\\Tools\\ログ");
    Answer({"exit"});
    Execute("{{command}}");
    EXPECT_EQ(fake.console.typed, "cd ログ<Enter><Esc>exit<Enter>");
}

TEST_F(FieldInputTest, ATextWithoutFieldsIsTypedAsWrittenWithoutADialog) {
    Execute("echo \\{\\{not a field\\}\\} {{}} {x}");
    EXPECT_EQ(fake.console.typed, "echo \\{\\{not a field\\}\\} {{}} {x}<Enter>");
    EXPECT_EQ(fake.forms.created.size(), 1u);
}

TEST_F(FieldInputTest, MoreFieldsThanTheDialogHoldsAreRefused) {
    std::string many;
    for (std::size_t field = 0; field <= frmFieldValues::MostRows; ++field)
        many += "{{f" + std::to_string(field) + "}}";
    Answer({});
    Execute(many);
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(fake.console.typed, "");
    EXPECT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(txtCommand().text(), many);
    EXPECT_TRUE(ButtonsEnabled());
}

}  // namespace
