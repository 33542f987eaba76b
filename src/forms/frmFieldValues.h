#pragma once
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commandlist/Fields.h"
#include "forms/ControlIds.h"
#include "platform/Form.h"

// The values dialog: before a command with fields is input, it asks for each field's value,
// one row per NAME. Shown modal over the main window.
class frmFieldValues {
public:
    // The most rows the dialog holds; a text with more fields is not input.
    static constexpr std::size_t MostRows = ids::MostFieldRows;
    // The dialog shows this many rows at once; further rows scroll.
    static constexpr int RowsInView = 10;

    // names: the fields in order of first appearance (at most MostRows). remembered: the values
    // given last in this run, which the rows start with.
    frmFieldValues(FormFactory& forms, std::vector<std::string> names,
                   const fields::Values& remembered);
    ~frmFieldValues();

    // Shows the dialog modal over owner and returns when it has closed: every field's value
    // after OK, nothing after Cancel, Esc or the close box.
    std::optional<fields::Values> ShowModal(Form& owner);

private:
    struct Row {
        std::string name;
        TextBox* text = nullptr;      // a value typed in full
        ComboBox* choices = nullptr;  // or one of the field's alternatives, also editable
    };

    void Form_Load();
    void cmdOk_Click();
    void cmdCancel_Click();

    std::vector<std::string> names_;
    fields::Values remembered_;
    std::unique_ptr<Form> form_;
    std::vector<Row> rows_;
    Button& cmdOk;
    Button& cmdCancel;
    std::optional<fields::Values> result_;
};
