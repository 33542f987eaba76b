#include "MainWindowFixture.h"
#include "forms/ControlIds.h"
#include "forms/frmFieldValues.h"
#include "forms/frmOption.h"

namespace {

// Every box and list of a window has a name a screen reader reads: its own accessible name or,
// for one that a label names, the label right before it in the tab order.
void ExpectEveryBoxNamed(const FormSpec& design) {
    const std::vector<ControlSpec> controls = InTabOrder(design.controls);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlSpec& control = controls[i];
        if (control.kind != ControlKind::TextBox && control.kind != ControlKind::ListBox &&
            control.kind != ControlKind::ComboBox)
            continue;
        const bool labelled = i > 0 && controls[i - 1].kind == ControlKind::Label &&
                              !controls[i - 1].caption.empty();
        EXPECT_TRUE(labelled || !control.accessibleName.empty())
            << design.name << "." << control.name;
    }
}

}  // namespace

TEST_F(MainWindowTest, EveryBoxAndListOfEveryWindowHasANameForScreenReaders) {
    Load();
    form().chooseMenu(ids::cmdMove);
    form().chooseMenu(ids::mnuFind);
    frmOption options(
        frmOption::Services{fake.forms, fake.profile, fake.dialogs, fake.system, fake.messages},
        shared, [] {});
    options.ShowModal(form());
    frmFieldValues values(fake.forms, {"name", "[a|b]"}, {});
    values.ShowModal(form());
    ASSERT_GE(fake.forms.created.size(), 5u);
    for (const FakeForm* window : fake.forms.created) ExpectEveryBoxNamed(window->design);
}
