#include "forms/frmDosLaunchLayout.h"

#include "forms/ControlIds.h"
#include "settings/Settings.h"

namespace {
const FontSpec FormFont{"ＭＳ Ｐゴシック", 975};
const FontSpec ListFont{"ＭＳ Ｐゴシック", 900};
const FontSpec CommandFont{"ＭＳ ゴシック", 975};
const FontSpec SendFont{"ＭＳ ゴシック", 900};

MenuSpec Separator(const char* name) { return {name, "-", 0, 0, {}}; }

std::vector<MenuSpec> MenuBar() {
    return {
        {"mnuFile", "ファイル(&F)", 0, 0, {
            {"mnuNew", "新規作成(&N)", ids::mnuNew, 'N', {}},
            {"mnuOpen", "コマンドリストを開く(&O)...", ids::mnuOpen, 'O', {}},
            {"mnuAddAnother", "他のコマンドリストを追加する(&L)", ids::mnuAddAnother, 0, {}},
            Separator("mnuFileLine1"),
            {"mnuSave", "コマンドリストを上書き保存(&S)", ids::mnuSave, 'S', {}},
            {"mnuSaveAs", "名前を付けてコマンドリストを保存(&A)...", ids::mnuSaveAs, 0, {}},
            Separator("mnuFileLine2"),
            {"mnuExit", "終了(&X)", ids::mnuExit, 0, {}},
        }},
        {"mnuEdit", "編集(&E)", 0, 0, {
            {"mnuUndo", "元に戻す(&U)", ids::mnuUndo, 0, {}},
            {"mnuRedo", "やり直し(&R)", ids::mnuRedo, 0, {}},
            Separator("nnuEditLine"),
            {"mnuCut", "切り取り(&T)", ids::mnuCut, 0, {}},
            {"mnuCopy", "コピー(&C)", ids::mnuCopy, 0, {}},
            {"mnuPaste", "貼り付け(&P)", ids::mnuPaste, 0, {}},
            Separator("mnuEditLine2"),
            {"mnuDelete", "コマンド削除(&D)", ids::mnuDelete, 0, {}},
            Separator("mnuEditLine3"),
            {"mnuFind", "コマンドを検索(&F)...", ids::mnuFind, 'F', {}},
        }},
        {"mnuTool", "ツール(&T)", 0, 0, {
            {"cmdMove", "ディレクトリ　ブラウザ(&M)...", ids::cmdMove, 'D', {}},
            Separator("mnuToolLine"),
            {"mnuSetting", "環境設定(&E)...", ids::mnuSetting, 'E', {}},
        }},
        {"mnuHelp", "ヘルプ(&H)", 0, 0, {
            {"mnuViewHelp", "ヘルプ(&H)", ids::mnuViewHelp, 0, {}},
            Separator("mnuHelpLine"),
            {"mnuAbout", "バージョン情報(&A)", ids::mnuAbout, 0, {}},
            {"mnuSite", "ホームページ(&S)", ids::mnuSite, 0, {}},
        }},
    };
}

ToolbarSpec Toolbar() {
    const ToolButtonSpec separator{};
    return {"tlbDos", ids::tlbDos, 6, {
        {ids::mnuNew, ToolImage::New, "リストの新規作成"},
        {ids::mnuOpen, ToolImage::Open, "リストを開く"},
        {ids::mnuSave, ToolImage::Save, "リストの上書き保存"},
        separator,
        {ids::mnuCut, ToolImage::Cut, "切り取り"},
        {ids::mnuCopy, ToolImage::Copy, "コピー"},
        {ids::mnuPaste, ToolImage::Paste, "貼り付け"},
        separator,
        {ids::mnuUndo, ToolImage::Undo, ""},
        {ids::mnuRedo, ToolImage::Redo, ""},
        separator,
        {ids::cmdMove, ToolImage::DirectoryTree, "ディレクトリ　ブラウザ"},
        {ids::mnuDelete, ToolImage::Delete, "リストから選択中の項目を削除"},
    }};
}
}  // namespace

FormSpec frmDosLaunchForm() {
    FormSpec form;
    form.name = "frmDosLaunch";
    form.caption = captions::MainWindow;
    form.outerWidthTwips = settings::DefaultWidth;
    form.outerHeightTwips = settings::DefaultHeight;
    form.font = FormFont;
    form.sizable = true;
    form.controls = {
        {"txtCommand", ControlKind::TextBox, "", {0, 3720, 4455, 915}, "", 0, CommandFont,
         ids::txtCommand, StyleMultiLine | StyleVScroll | StyleAcceptsFiles, "コマンド"},
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
         StyleReadOnly, "現在のディレクトリ"},
        {"lstCommand", ControlKind::ListBox, "", {0, 840, 4455, 2760}, "", 8, ListFont,
         ids::lstCommand, StyleAcceptsFiles, "コマンドリスト"},
        {"tmrCD", ControlKind::Timer, "", {}, "", 99, {}, ids::tmrCD},
        {"tmrDosDirectory", ControlKind::Timer, "", {}, "", 100, {}, ids::tmrDosDirectory},
    };
    form.menus = MenuBar();
    form.toolbar = Toolbar();
    return form;
}
