#include "windows/frmDosLaunchLayout.h"

#include "windows/ControlIds.h"

namespace {
const FontSpec FormFont{"ＭＳ Ｐゴシック", 975};
const FontSpec ListFont{"ＭＳ Ｐゴシック", 900};
const FontSpec CommandFont{"ＭＳ ゴシック", 975};
const FontSpec SendFont{"ＭＳ ゴシック", 900};
}  // namespace

FormSpec frmDosLaunchForm() {
    FormSpec form;
    form.name = "frmDosLaunch";
    form.caption = captions::MainWindow;
    form.outerWidthTwips = 4575;
    form.outerHeightTwips = 6210;
    form.font = FormFont;
    form.sizable = true;
    form.controls = {
        {"txtCommand", ControlKind::TextBox, "", {0, 3720, 4455, 915}, "", 0, CommandFont,
         ids::txtCommand, StyleMultiLine | StyleVScroll},
        {"fraButtons", ControlKind::Frame, "", {120, 4680, 4220, 765}, "", 1, {}, ids::fraButtons,
         StyleNoCaption},
        {"chbAdd", ControlKind::CheckBox, "入力時や実行時にリストに追加する(&A)", {480, 60, 3700, 180},
         "fraButtons", 2, {}, ids::chbAdd},
        {"cmdSend", ControlKind::Button, "入力(&I)", {0, 375, 1335, 375}, "fraButtons", 3, SendFont,
         ids::cmdSend, StyleDefaultButton},
        {"cmdSendAndDo", ControlKind::Button, "入力＋実行(&D)", {1440, 375, 1335, 375}, "fraButtons", 4,
         {}, ids::cmdSendAndDo},
        {"cmdCleaer", ControlKind::Button, "クリア(&C)", {2880, 375, 1335, 375}, "fraButtons", 5, {},
         ids::cmdCleaer},
        // Tab index 6 belongs to the toolbar.
        {"txtCD", ControlKind::TextBox, "", {30, 480, 4390, 270}, "", 7, ListFont, ids::txtCD,
         StyleReadOnly},
        {"lstCommand", ControlKind::ListBox, "", {0, 840, 4455, 2760}, "", 8, ListFont,
         ids::lstCommand, StyleSorted},
    };
    return form;
}
