// Every text the four windows show, and the order Tab visits their controls, against the texts
// themselves: a caption changed by one character, a shortcut or a tooltip lost, a control moved
// in the tab order fails here.

#include <algorithm>

#include "MainWindowFixture.h"
#include "forms/ControlIds.h"
#include "forms/frmAbout.h"
#include "forms/frmOption.h"

namespace {

struct Caption {
    const char* name;
    const char* caption;
};

// The captions of the named controls as the window's table declares them.
void ExpectCaptions(const FormSpec& design, const std::vector<Caption>& expected) {
    for (const Caption& c : expected) {
        SCOPED_TRACE(std::string(design.name) + "." + c.name);
        const auto found = std::find_if(design.controls.begin(), design.controls.end(),
                                        [&](const ControlSpec& control) { return control.name == c.name; });
        ASSERT_NE(found, design.controls.end());
        EXPECT_EQ(found->caption, c.caption);
    }
}

// The names in the order Tab visits them; the toolbar takes its own place.
std::vector<std::string> TabOrder(const FormSpec& design) {
    std::vector<std::pair<int, std::string>> stops;
    for (const ControlSpec& control : design.controls) {
        if (control.kind != ControlKind::Timer) stops.emplace_back(control.tabIndex, control.name);
    }
    if (!design.toolbar.name.empty()) stops.emplace_back(design.toolbar.tabIndex, design.toolbar.name);
    std::stable_sort(stops.begin(), stops.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> names;
    for (const auto& stop : stops) names.push_back(stop.second);
    return names;
}

struct MenuLine {
    const char* menu;  // the menu's own line has no item
    const char* item;
    const char* caption;
    char ctrlShortcut;
};

std::vector<MenuLine> Flatten(const std::vector<MenuSpec>& menus) {
    std::vector<MenuLine> lines;
    for (const MenuSpec& menu : menus) {
        lines.push_back({menu.name.c_str(), "", menu.caption.c_str(), menu.ctrlShortcut});
        for (const MenuSpec& item : menu.items)
            lines.push_back({"", item.name.c_str(), item.caption.c_str(), item.ctrlShortcut});
    }
    return lines;
}

}  // namespace

TEST_F(MainWindowTest, TheMainWindowShowsExactlyTheseTexts) {
    Load();
    const FormSpec& design = form().design;
    EXPECT_EQ(design.caption, "Tavimero");
    ExpectCaptions(design, {
                               {"chbAdd", "入力時や実行時にリストに追加する(&A)"},
                               {"cmdSend", "入力(&I)"},
                               {"cmdSendAndDo", "入力＋実行(&D)"},
                               {"cmdCleaer", "クリア(&C)"},
                               {"fraButtons", ""},
                           });
    EXPECT_EQ(TabOrder(design), (std::vector<std::string>{"txtCommand", "fraButtons", "chbAdd", "cmdSend",
                                                          "cmdSendAndDo", "cmdCleaer", "tlbDos", "txtCD",
                                                          "lstCommand"}));

    const std::vector<MenuLine> expected = {
        {"mnuFile", "", "ファイル(&F)", 0},
        {"", "mnuNew", "新規作成(&N)", 'N'},
        {"", "mnuOpen", "コマンドリストを開く(&O)...", 'O'},
        {"", "mnuAddAnother", "他のコマンドリストを追加する(&L)", 0},
        {"", "mnuFileLine1", "-", 0},
        {"", "mnuSave", "コマンドリストを上書き保存(&S)", 'S'},
        {"", "mnuSaveAs", "名前を付けてコマンドリストを保存(&A)...", 0},
        {"", "mnuFileLine2", "-", 0},
        {"", "mnuExit", "終了(&X)", 0},
        {"mnuEdit", "", "編集(&E)", 0},
        {"", "mnuUndo", "元に戻す(&U)", 0},
        {"", "mnuRedo", "やり直し(&R)", 0},
        {"", "nnuEditLine", "-", 0},
        {"", "mnuCut", "切り取り(&T)", 0},
        {"", "mnuCopy", "コピー(&C)", 0},
        {"", "mnuPaste", "貼り付け(&P)", 0},
        {"", "mnuEditLine2", "-", 0},
        {"", "mnuDelete", "コマンド削除(&D)", 0},
        {"mnuTool", "", "ツール(&T)", 0},
        {"", "cmdMove", "ディレクトリ　ブラウザ(&M)...", 'D'},
        {"", "mnuToolLine", "-", 0},
        {"", "mnuSetting", "環境設定(&E)...", 'E'},
        {"mnuHelp", "", "ヘルプ(&H)", 0},
        {"", "mnuViewHelp", "ヘルプ(&H)", 0},
        {"", "mnuHelpLine", "-", 0},
        {"", "mnuAbout", "バージョン情報(&A)", 0},
        {"", "mnuSite", "ホームページ(&S)", 0},
    };
    const std::vector<MenuLine> actual = Flatten(design.menus);
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(std::string(expected[i].menu) + expected[i].item);
        EXPECT_STREQ(actual[i].menu, expected[i].menu);
        EXPECT_STREQ(actual[i].item, expected[i].item);
        EXPECT_STREQ(actual[i].caption, expected[i].caption);
        EXPECT_EQ(actual[i].ctrlShortcut, expected[i].ctrlShortcut);
    }

    struct Button {
        int command;  // 0: a separator
        const char* tooltip;
    };
    const Button buttons[] = {
        {ids::mnuNew, "リストの新規作成"},
        {ids::mnuOpen, "リストを開く"},
        {ids::mnuSave, "リストの上書き保存"},
        {0, ""},
        {ids::mnuCut, "切り取り"},
        {ids::mnuCopy, "コピー"},
        {ids::mnuPaste, "貼り付け"},
        {0, ""},
        {ids::mnuUndo, ""},
        {ids::mnuRedo, ""},
        {0, ""},
        {ids::cmdMove, "ディレクトリ　ブラウザ"},
        {ids::mnuDelete, "リストから選択中の項目を削除"},
    };
    ASSERT_EQ(design.toolbar.buttons.size(), std::size(buttons));
    for (std::size_t i = 0; i < std::size(buttons); ++i) {
        SCOPED_TRACE("toolbar button " + std::to_string(i + 1));
        EXPECT_EQ(design.toolbar.buttons[i].command, buttons[i].command);
        EXPECT_EQ(design.toolbar.buttons[i].tooltip, buttons[i].tooltip);
    }
}

TEST_F(MainWindowTest, TheDialogsShowExactlyTheseTexts) {
    Load();

    form().chooseMenu(ids::cmdMove);
    const FormSpec& browser = fake.forms.created.back()->design;
    EXPECT_EQ(browser.caption, "ディレクトリ　ブラウザ - Tavimero");  // the gap is U+3000
    ExpectCaptions(browser, {
                                {"Frame1", "実行時の動作"},
                                {"optCD", "カレントディレクトリの移動(&M)"},
                                {"optPath", "パスの入力(&P)"},
                                {"OptFileName", "ファイル名のみ入力(&F)"},
                                {"cmdOk", "OK(&O)"},
                                {"cmdCancel", "閉じる(&C)"},
                                {"chbAdd", "実行時にリストに追加する(&A)"},
                            });
    EXPECT_EQ(TabOrder(browser), (std::vector<std::string>{"drvChange", "dirChange", "filChange", "optCD",
                                                           "optPath", "cmdOk", "cmdCancel", "chbAdd", "Frame1",
                                                           "OptFileName"}));

    frmOption options({fake.forms, fake.profile, fake.dialogs, fake.system, fake.messages}, shared, [] {});
    options.ShowModal(form());
    const FormSpec& settings = fake.forms.created.back()->design;
    EXPECT_EQ(settings.caption, "環境設定");
    ExpectCaptions(settings, {
                                 {"chbLoad", "起動時にリストを読み込む(&R)"},
                                 {"cmdOpen", "参照(&B)"},
                                 {"chbClose", "終了時にDOSプロンプトも閉じる(&E)"},
                                 {"Frame2", "エンタ-キーの動作"},  // an ASCII hyphen-minus
                                 {"optSend", "入力ボタン(&I)"},
                                 {"optDo", "入力＋実行ボタン(&D)"},
                                 {"cmdOk", "OK(&O)"},
                                 {"cmdCancel", "キャンセル(&C)"},
                             });
    EXPECT_EQ(TabOrder(settings), (std::vector<std::string>{"chbLoad", "txtPath", "cmdOpen", "chbClose", "Frame2",
                                                            "optSend", "optDo", "cmdOk", "cmdCancel"}));

    frmAbout about(fake.forms);
    about.ShowModal(form());
    FakeForm& box = *fake.forms.created.back();
    EXPECT_EQ(box.design.caption, "バージョン情報");
    ExpectCaptions(box.design, {{"cmdOk", "OK"}});
    EXPECT_EQ(box.get<FakeLabel>("lblAbout").caption(), "Tavimero Ver. 1.01");
    EXPECT_EQ(box.get<FakeLabel>("lblInfo").caption(),
              "種別： フリーウェア\r\n配布開始日： 2002年5月1日\r\nホームページ： https://www.tavimero.example/\r\n\r\n"
              "Copyright (C) 2002 Tavimero 開発チーム");
    EXPECT_EQ(TabOrder(box.design), (std::vector<std::string>{"lblAbout", "cmdOk", "lblInfo"}));
}
