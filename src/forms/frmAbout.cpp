#include "forms/frmAbout.h"

#include "forms/ControlIds.h"
#include "text/Product.h"

namespace {
FormSpec frmAboutForm() {
    FormSpec form;
    form.name = "frmAbout";
    form.caption = captions::About;
    // Wide enough for the home page's line on one line: a narrower label wraps it and pushes
    // the last line out of sight.
    form.clientWidthTwips = 4695;
    form.clientHeightTwips = 2265;
    form.font = {"ＭＳ Ｐゴシック", 900};
    form.sizable = false;
    form.controls = {
        {"lblAbout", ControlKind::Label, "", {240, 240, 4215, 255}, "", 0, {"ＭＳ ゴシック", 1125},
         ids::lblAbout},
        {"cmdOk", ControlKind::Button, "OK", {1680, 1800, 1335, 375}, "", 1, {}, ids::cmdAboutOk,
         StyleDefaultButton | StyleCancelButton},
        {"lblInfo", ControlKind::Label, "", {240, 720, 4215, 975}, "", 2, {}, ids::lblInfo},
    };
    return form;
}
}  // namespace

frmAbout::frmAbout(FormFactory& forms)
    : form_(forms.create(frmAboutForm())),
      lblAbout(form_->label("lblAbout")),
      lblInfo(form_->label("lblInfo")),
      cmdOk(form_->button("cmdOk")) {
    cmdOk.onClick = [this] { cmdOk_Click(); };
}

frmAbout::~frmAbout() = default;

std::string frmAbout::InformationText() {
    return std::string("種別： フリーウェア\r\n") + "配布開始日： 2002年5月1日\r\n" + "ホームページ： " +
           product::HomePage + "\r\n" + "\r\n" + "Copyright (C) 2002 Tavimero 開発チーム";
}

void frmAbout::ShowModal(Form& owner) {
    Form_Load();
    form_->showModal(owner);
}

void frmAbout::Form_Load() {
    lblAbout.setCaption(product::VersionCaption);
    lblInfo.setCaption(InformationText());
}

void frmAbout::cmdOk_Click() { form_->close(); }
