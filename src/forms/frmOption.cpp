#include "forms/frmOption.h"

#include "commandlist/ListFile.h"
#include "platform/PlatformError.h"
#include "settings/Settings.h"
#include "forms/ControlIds.h"

namespace {
FormSpec frmOptionForm() {
    FormSpec form;
    form.name = "frmOption";
    form.caption = captions::Options;
    form.clientWidthTwips = 4890;
    form.clientHeightTwips = 2775;
    form.font = {"ＭＳ Ｐゴシック", 900};
    form.sizable = false;
    form.controls = {
        {"chbLoad", ControlKind::CheckBox, "起動時にリストを読み込む(&R)", {120, 120, 2895, 255}, "", 0, {},
         ids::chbLoad},
        {"txtPath", ControlKind::TextBox, "", {240, 480, 3495, 270}, "", 1, FontSpec{}, ids::txtPath,
         StyleNone, "起動時に開くリストのパス"},
        {"cmdOpen", ControlKind::Button, "参照(&B)", {3840, 480, 975, 255}, "", 2, {}, ids::cmdOpen},
        {"chbClose", ControlKind::CheckBox, "終了時にDOSプロンプトも閉じる(&E)", {120, 960, 3735, 255}, "", 3, {},
         ids::chbClose},
        {"Frame2", ControlKind::Frame, "エンタ-キーの動作", {120, 1320, 4575, 735}, "", 4, {}, ids::Frame2},
        {"optSend", ControlKind::OptionButton, "入力ボタン(&I)", {240, 323, 1695, 255}, "Frame2", 5, {},
         ids::optSend},
        {"optDo", ControlKind::OptionButton, "入力＋実行ボタン(&D)", {2160, 360, 2055, 180}, "Frame2", 6, {},
         ids::optDo},
        {"cmdOk", ControlKind::Button, "OK(&O)", {840, 2280, 1455, 375}, "", 7, {}, ids::cmdOptionOk,
         StyleDefaultButton},
        {"cmdCancel", ControlKind::Button, "キャンセル(&C)", {2640, 2280, 1455, 375}, "", 8, {}, ids::cmdOptionCancel,
         StyleCancelButton},
    };
    return form;
}
}  // namespace

frmOption::frmOption(const Services& services, mdlDos& shared, std::function<void()> applyEnterKey)
    : services_(services),
      shared_(shared),
      applyEnterKey_(std::move(applyEnterKey)),
      form_(services.forms.create(frmOptionForm())),
      chbLoad(form_->checkBox("chbLoad")),
      txtPath(form_->textBox("txtPath")),
      cmdOpen(form_->button("cmdOpen")),
      chbClose(form_->checkBox("chbClose")),
      optSend(form_->checkBox("optSend")),
      optDo(form_->checkBox("optDo")),
      cmdOk(form_->button("cmdOk")),
      cmdCancel(form_->button("cmdCancel")) {
    chbLoad.onClick = [this] { chbLoad_Click(); };
    chbLoad.onGotFocus = [this] { chbLoad_GotFocus(); };
    cmdOpen.onClick = [this] { cmdOpen_Click(); };
    cmdOk.onClick = [this] { cmdOk_Click(); };
    cmdCancel.onClick = [this] { cmdCancel_Click(); };
}

frmOption::~frmOption() = default;

std::string frmOption::SettingsPath() { return settings::SettingsFilePath(services_.system.programFolder()); }

void frmOption::ShowModal(Form& owner) {
    Form_Load();
    form_->showModal(owner);
}

void frmOption::Form_Load() {
    chbLoad.setValue(settings::ReadLoadList(services_.profile, SettingsPath()) ? 1 : 0);
    ApplyEnablingRule();
    txtPath.setText(settings::ReadPathOfList(services_.profile, SettingsPath()));
    chbClose.setValue(shared_.CloseDos ? 1 : 0);
    (shared_.EnterKey != 0 ? optDo : optSend).setValue(1);
}

void frmOption::ApplyEnablingRule() {
    const bool on = chbLoad.value() == 1;
    txtPath.setEnabled(on);
    cmdOpen.setEnabled(on);
}

void frmOption::chbLoad_Click() { ApplyEnablingRule(); }

void frmOption::chbLoad_GotFocus() { ApplyEnablingRule(); }

void frmOption::cmdOpen_Click() {
    try {
        const auto chosen =
            services_.dialogs.showOpen({"リストを選択", listfile::DialogFilter, listfile::Extension, ""});
        if (chosen) txtPath.setText(*chosen);
    } catch (const PlatformError&) {
        // The box could not be shown: nothing changes.
    }
}

void frmOption::cmdOk_Click() {
    // Written first: when the file cannot take them, the user is told and the dialog stays
    // open with every choice as it is, to try again or to cancel.
    try {
        settings::WriteListAtStartup(services_.profile, SettingsPath(), chbLoad.value() == 1, txtPath.text());
    } catch (const PlatformError& error) {
        services_.messages.show(settings::WriteFailedMessage(SettingsPath(), error.what()), captions::Error,
                                MessageIcon::Error, MessageButtons::Ok);
        return;
    }
    shared_.CloseDos = chbClose.value() == 1;
    shared_.EnterKey = optSend.value() == 1 ? 0 : 1;
    applyEnterKey_();
    form_->close();
}

void frmOption::cmdCancel_Click() { form_->close(); }
