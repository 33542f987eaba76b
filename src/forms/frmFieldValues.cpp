#include "forms/frmFieldValues.h"

#include <algorithm>

#include "text/Product.h"
#include "text/Text.h"

namespace {

// Twips. A row is a label and its value box; the rows stand in a frame that scrolls once they
// are more than RowsInView, and the buttons stay below it.
constexpr int Margin = 120;
constexpr int RowHeight = 390;
constexpr int LabelWidth = 3000;
constexpr int ValueLeft = Margin + LabelWidth + 120;
// Room is left on the right for the frame's scroll bar.
constexpr int ValueWidth = 3360;
constexpr int FrameWidth = ValueLeft + ValueWidth + 360;
constexpr int ButtonWidth = 1215;
constexpr int ButtonHeight = 375;

std::string RowName(const char* kind, std::size_t row) { return kind + std::to_string(row); }

FormSpec frmFieldValuesForm(const std::vector<std::string>& names) {
    const int rows = static_cast<int>(names.size());
    const int frameHeight = std::min(rows, frmFieldValues::RowsInView) * RowHeight;
    const int buttonTop = Margin + frameHeight + 2 * Margin;
    FormSpec form;
    form.name = "frmFieldValues";
    form.caption = captions::FieldValues;
    form.clientWidthTwips = FrameWidth;
    form.clientHeightTwips = buttonTop + ButtonHeight + Margin;
    form.font = {"ＭＳ Ｐゴシック", 900};
    form.sizable = false;
    form.controls.push_back({"fraFields",
                             ControlKind::Frame,
                             "",
                             {0, Margin, FrameWidth, frameHeight},
                             "",
                             0,
                             {},
                             ids::fraFieldRows,
                             StyleScrolls});
    for (int row = 0; row < rows; ++row) {
        const std::string& name = names[static_cast<std::size_t>(row)];
        const int top = row * RowHeight;
        const bool offersChoices = !fields::Alternatives(name).empty();
        form.controls.push_back({RowName("lblField", row),
                                 ControlKind::Label,
                                 name,
                                 {Margin, top + 75, LabelWidth, 255},
                                 "fraFields",
                                 1 + 2 * row,
                                 {},
                                 ids::lblFieldFirst + row});
        form.controls.push_back({RowName(offersChoices ? "cboField" : "txtField", row),
                                 offersChoices ? ControlKind::ComboBox : ControlKind::TextBox,
                                 "",
                                 {ValueLeft, top + 45, ValueWidth, 300},
                                 "fraFields",
                                 2 + 2 * row,
                                 FontSpec{},
                                 ids::txtFieldFirst + row,
                                 offersChoices ? StyleEditable : StyleNone,
                                 name});
    }
    const int cancelLeft = FrameWidth - Margin - ButtonWidth;
    form.controls.push_back(
        {"cmdOk",
         ControlKind::Button,
         "OK",
         {cancelLeft - Margin - ButtonWidth, buttonTop, ButtonWidth, ButtonHeight},
         "",
         1 + 2 * rows,
         {},
         ids::cmdFieldsOk,
         StyleDefaultButton});
    form.controls.push_back({"cmdCancel",
                             ControlKind::Button,
                             "キャンセル",
                             {cancelLeft, buttonTop, ButtonWidth, ButtonHeight},
                             "",
                             2 + 2 * rows,
                             {},
                             ids::cmdFieldsCancel,
                             StyleCancelButton});
    return form;
}

}  // namespace

frmFieldValues::frmFieldValues(FormFactory& forms, std::vector<std::string> names,
                               const fields::Values& remembered)
    : names_(std::move(names)),
      remembered_(remembered),
      form_(forms.create(frmFieldValuesForm(names_))),
      cmdOk(form_->button("cmdOk")),
      cmdCancel(form_->button("cmdCancel")) {
    for (std::size_t row = 0; row < names_.size(); ++row) {
        Row entry{names_[row]};
        if (fields::Alternatives(entry.name).empty()) {
            TextBox& box = form_->textBox(RowName("txtField", row));
            // A value shown on arrival is chosen whole, so that typing replaces it.
            box.onGotFocus = [&box] {
                box.setSelStart(0);
                box.setSelLength(static_cast<int>(text::Utf16Length(box.text())));
            };
            entry.text = &box;
        } else {
            entry.choices = &form_->comboBox(RowName("cboField", row));
        }
        rows_.push_back(entry);
    }
    cmdOk.onClick = [this] { cmdOk_Click(); };
    cmdCancel.onClick = [this] { cmdCancel_Click(); };
}

frmFieldValues::~frmFieldValues() = default;

std::optional<fields::Values> frmFieldValues::ShowModal(Form& owner) {
    Form_Load();
    result_.reset();
    form_->showModal(owner);
    return result_;
}

void frmFieldValues::Form_Load() {
    for (const Row& row : rows_) {
        const auto remembered = remembered_.find(row.name);
        if (row.text) {
            row.text->setText(remembered != remembered_.end() ? remembered->second : std::string());
            continue;
        }
        for (const std::string& choice : fields::Alternatives(row.name))
            row.choices->addItem(choice);
        if (remembered != remembered_.end())
            row.choices->setText(remembered->second);
        else
            row.choices->setListIndex(0);
    }
}

void frmFieldValues::cmdOk_Click() {
    fields::Values values;
    for (const Row& row : rows_)
        values[row.name] = row.text ? row.text->text() : row.choices->text();
    result_ = std::move(values);
    form_->close();
}

void frmFieldValues::cmdCancel_Click() { form_->close(); }
