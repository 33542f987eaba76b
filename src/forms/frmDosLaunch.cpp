#include "forms/frmDosLaunch.h"

#include "directory/StartFolder.h"
#include "forms/ControlIds.h"
#include "forms/MainWindowResize.h"
#include "forms/WindowSize.h"
#include "forms/frmAbout.h"
#include "forms/frmDirectory.h"
#include "forms/frmDosLaunchLayout.h"
#include "forms/frmOption.h"
#include "platform/PlatformError.h"
#include "prompt/PromptSyntax.h"
#include "settings/Settings.h"
#include "text/Path.h"
#include "text/Product.h"
#include "text/Text.h"

namespace {
constexpr unsigned long PlatformWin9x = 1;
constexpr unsigned long PlatformNT = 2;
constexpr const char* UnsupportedOsMessage = "対応していないOSです。プログラムを終了します。";
constexpr const char* HelpMissingMessage = "ヘルプファイルが見つかりません。";
constexpr int KeyL = 76;
constexpr int KeyK = 75;

bool CtrlOnly(int shift) { return shift == static_cast<int>(ShiftState::Ctrl); }

}  // namespace

frmDosLaunch::frmDosLaunch(Platform& platform, mdlDos& shared)
    : platform_(platform),
      shared_(shared),
      form_(platform.forms.create(frmDosLaunchForm())),
      txtCD(form_->textBox("txtCD")),
      lstCommand(form_->listBox("lstCommand")),
      txtCommand(form_->textBox("txtCommand")),
      fraButtons(form_->frame("fraButtons")),
      chbAdd(form_->checkBox("chbAdd")),
      cmdSend(form_->button("cmdSend")),
      cmdSendAndDo(form_->button("cmdSendAndDo")),
      cmdCleaer(form_->button("cmdCleaer")),
      tmrCD(form_->timer("tmrCD")),
      tmrDosDirectory(form_->timer("tmrDosDirectory")),
      prompt_(platform.launcher, platform.console, platform.desktop, platform.clipboard),
      tracker_({shared.CurrentDir, shared.CurrentDrive}, platform.files,
               [this](const std::string& directory) { txtCD.setText(directory); }),
      list_(lstCommand, platform.collation),
      listFiles_(list_, {platform.dialogs, platform.messages, platform.files, platform.codePage,
                         platform.system}) {
    form_->onActivate = [this] { Form_Activate(); };
    form_->onShown = [this] { Form_Shown(); };
    form_->onQueryUnload = [this] { return Form_QueryUnload(); };
    form_->onQueryEndSession = [this] { return Form_QueryEndSession(); };
    form_->onEndSession = [this](bool ending) { Form_EndSession(ending); };
    form_->onMinimise = [this] { Form_Minimise(); };
    cmdSend.onClick = [this] { cmdSend_Click(); };
    cmdSendAndDo.onClick = [this] { cmdSendAndDo_Click(); };
    cmdCleaer.onClick = [this] { cmdCleaer_Click(); };
    lstCommand.onGotFocus = [this] { lstCommand_GotFocus(); };
    txtCommand.onGotFocus = [this] { txtCommand_GotFocus(); };
    lstCommand.onDblClick = [this] { lstCommand_DblClick(); };
    lstCommand.onKeyDown = [this](int key, int shift) { lstCommand_KeyDown(key, shift); };
    txtCommand.onKeyDown = [this](int key, int shift) { txtCommand_KeyDown(key, shift); };
    chbAdd.onKeyDown = [this](int key, int shift) { chbAdd_KeyDown(key, shift); };
    txtCommand.onChange = [this] { txtCommand_Change(); };
    txtCommand.onMouseDown = [this](int button) { txtCommand_MouseDown(button); };
    txtCommand.onDropFiles = [this](const std::vector<std::string>& paths) {
        txtCommand_OLEDragDrop(paths);
    };
    txtCD.onChange = [this] { txtCD_Change(); };
    tmrCD.onTimer = [this] { tmrCD_Timer(); };
    tmrDosDirectory.onTimer = [this] { tmrDosDirectory_Timer(); };
    lstCommand.onDropFiles = [this](const std::vector<std::string>& paths) {
        lstCommand_OLEDragDrop(paths);
    };
    form_->onResize = [this] { Form_Resize(); };
    form_->onMenu = [this](int id) { Form_Menu(id); };
}

frmDosLaunch::~frmDosLaunch() = default;

void frmDosLaunch::Show() { form_->show(); }

// ---- Start-up and shutdown ----

void frmDosLaunch::Form_Load() {
    startedOk_ = true;
    if (!platform_.system.claimSingleInstance()) {
        // Another copy runs: end quietly, without a window and without writing anything.
        startedOk_ = false;
        return;
    }
    listHadFocus_ = false;
    shared_.DirectoryShown = false;

    const unsigned long platformId = platform_.system.platformId();
    if (platformId != PlatformWin9x && platformId != PlatformNT) {
        startedOk_ = false;
        platform_.messages.show(UnsupportedOsMessage, captions::MainWindow,
                                MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    prompt_.SetIsNT(platformId == PlatformNT);
    undo_.Reset();
    LoadSettings();
    ApplyCommandLine();
    // The prompt starts once the window is on screen (Form_Shown), or at an input that comes
    // sooner: starting it takes longer than showing the window.
    PrepareLaunch();
}

void frmDosLaunch::LoadSettings() {
    const std::string programFolder = platform_.system.programFolder();
    const std::string path = settings::SettingsFilePath(programFolder);
    const settings::Values values = settings::Read(platform_.profile, path);
    chbAdd.setValue(values.AddListMain ? 1 : 0);
    shared_.AddListDirectory = values.AddListDirectory;
    shared_.DoDirectory = values.DoDirectory;
    shared_.CloseDos = values.CloseDos;
    // An empty or missing start folder is the program folder; a plain file passes as well.
    const std::string folder = path::WithTrailingBackslash(programFolder);
    shared_.CurrentDir = values.CD.empty() ? folder : values.CD;
    const std::string tested = path::WithoutTrailingBackslash(shared_.CurrentDir);
    if (!platform_.files.directoryExists(tested) && !platform_.files.fileExists(tested))
        shared_.CurrentDir = folder;
    shared_.EnterKey = values.EnterKey;
    ApplyEnterKey();
    askForFields_ = values.Placeholders;
    const TwipsSize size = FitWindowSize(values.Width, values.Height, form_->workAreaTwips(),
                                         form_->minimumSizeTwips());
    form_->setSizeTwips(size.width, size.height);
    if (values.LoadList && !values.PathOfList.empty())
        listFiles_.OpenListAtStartup(values.PathOfList);
}

void frmDosLaunch::SaveSettings() {
    settings::Values values;
    values.AddListMain = chbAdd.value() == 1;
    values.AddListDirectory = shared_.AddListDirectory;
    values.DoDirectory = shared_.DoDirectory;
    values.CloseDos = shared_.CloseDos;
    values.CD = shared_.CurrentDir;
    values.EnterKey = shared_.EnterKey;
    values.Width = form_->widthTwips();
    values.Height = form_->heightTwips();
    values.Placeholders = askForFields_;
    const std::string path = settings::SettingsFilePath(platform_.system.programFolder());
    try {
        settings::Write(platform_.profile, path, values);
    } catch (const PlatformError& error) {
        platform_.messages.show(settings::WriteFailedMessage(path, error.what()), captions::Error,
                                MessageIcon::Error, MessageButtons::Ok);
    }
}

void frmDosLaunch::ApplyEnterKey() {
    cmdSend.setDefault(shared_.EnterKey == 0);
    cmdSendAndDo.setDefault(shared_.EnterKey != 0);
}

void frmDosLaunch::ApplyCommandLine() {
    const auto folder = StartFolderFromArgument(platform_.system.commandLine(), platform_.files);
    if (folder) shared_.CurrentDir = *folder;
}

void frmDosLaunch::Form_Activate() { FocusBack(); }

void frmDosLaunch::Form_Minimise() {
    // Nobody looks at the box while the window is minimised: the prompt is not read.
    minimised_ = true;
    tmrDosDirectory.setInterval(0);
}

void frmDosLaunch::Form_Resize() {
    if (minimised_) {
        minimised_ = false;
        if (prompt_.IsRunning()) WatchPromptDirectory();
    }
    MainWindowLayout layout{txtCD.rect(), lstCommand.rect(), txtCommand.rect(), fraButtons.rect()};
    // The rules see the outer size this client area would have in the design's frame.
    const TwipsSize client = form_->clientSizeTwips();
    const int width = client.width + DesignFrame.width;
    const int height = client.height + DesignFrame.height;
    layout = ResizeMainWindow(width, height, layout, [this](int asked) {
        TwipsRect list = lstCommand.rect();
        list.height = asked;
        lstCommand.move(list);
        return lstCommand.rect().height;
    });
    txtCD.move(layout.txtCD);
    lstCommand.move(layout.lstCommand);
    txtCommand.move(layout.txtCommand);
    fraButtons.move(layout.fraButtons);
}

bool frmDosLaunch::Form_QueryUnload() {
    if (!startedOk_ || sessionEnded_) return false;
    if (listFiles_.ConfirmSaveList() == ListFiles::Confirm::Abort) return true;
    CloseAfterSaveQuestion();
    return false;
}

void frmDosLaunch::CloseAfterSaveQuestion(bool sessionEnding) {
    if (shared_.DirectoryShown && directory_) directory_->Close();
    // The settings before the prompt: closing it may take a moment, and at the end of the
    // session the program may be ended at any moment.
    SaveSettings();
    if (shared_.CloseDos) prompt_.Exit(!sessionEnding);
}

bool frmDosLaunch::Form_QueryEndSession() {
    // Log-off, shutdown or restart: the save question once; Cancel keeps the session.
    if (!startedOk_ || sessionEnded_) return true;
    return listFiles_.ConfirmSaveList() == ListFiles::Confirm::Proceed;
}

void frmDosLaunch::Form_EndSession(bool ending) {
    // The rest of the close sequence, without a second question; a session that goes on after
    // all changes nothing.
    if (!ending || !startedOk_ || sessionEnded_) return;
    sessionEnded_ = true;
    CloseAfterSaveQuestion(true);
}

void frmDosLaunch::FocusBack() {
    if (listHadFocus_) {
        lstCommand.setFocus();
    } else {
        txtCommand.setFocus();
    }
}

void frmDosLaunch::SetInputButtonsEnabled(bool on) {
    cmdSend.setEnabled(on);
    cmdSendAndDo.setEnabled(on);
}

void frmDosLaunch::lstCommand_GotFocus() { listHadFocus_ = true; }

void frmDosLaunch::txtCommand_GotFocus() { listHadFocus_ = false; }

// ---- The command list ----

void frmDosLaunch::AddToList(const std::string& strItem) { list_.Add(strItem); }

void frmDosLaunch::AppendToCommand(const std::string& text) {
    txtCommand.setText(txtCommand.text() + text);
}

void frmDosLaunch::ReturnToCommand() {
    form_->activate();
    txtCommand.moveCaretToEnd();
}

void frmDosLaunch::lstCommand_DblClick() {
    const int selected = list_.Selected();
    if (selected < 0) return;  // the box keeps its text
    txtCommand.setText(txtCommand.text() + list_.At(selected));
}

void frmDosLaunch::lstCommand_KeyDown(int keyCode, int shift) {
    if (CtrlOnly(shift) && keyCode == KeyK) {
        txtCommand.setFocus();
        return;
    }
    undo_.SetSuppressed(false);
    if (CtrlOnly(shift) && keyCode == KeyL) lstCommand_DblClick();
}

void frmDosLaunch::txtCommand_KeyDown(int keyCode, int shift) {
    if (!CtrlOnly(shift)) return;
    if (keyCode == KeyL) lstCommand_DblClick();
    if (keyCode == KeyK) lstCommand.setFocus();
}

void frmDosLaunch::chbAdd_KeyDown(int keyCode, int shift) { txtCommand_KeyDown(keyCode, shift); }

void frmDosLaunch::txtCommand_Change() { undo_.Record(txtCommand.text(), txtCommand.selStart()); }

void frmDosLaunch::txtCommand_MouseDown(int button) {
    // The Edit menu takes the place of the text box's own menu, which the control never shows
    // while it reports mouse buttons.
    if (button == static_cast<int>(MouseButton::Right)) form_->popupMenu("mnuEdit");
}

void frmDosLaunch::txtCommand_OLEDragDrop(const std::vector<std::string>& paths) {
    if (paths.empty() || paths.back().empty()) return;
    txtCommand.setText(txtCommand.text() +
                       path::QuotedForPrompt(paths.back(), PromptSyntaxOf(platform_.system)));
    txtCommand.moveCaretToEnd();
}

// ---- Menus and toolbar ----

void frmDosLaunch::Form_Menu(int id) {
    switch (id) {
    case ids::mnuNew:
        mnuNew_Click();
        break;
    case ids::mnuOpen:
        mnuOpen_Click();
        break;
    case ids::mnuAddAnother:
        mnuAddAnother_Click();
        break;
    case ids::mnuSave:
        mnuSave_Click();
        break;
    case ids::mnuSaveAs:
        mnuSaveAs_Click();
        break;
    case ids::mnuExit:
        mnuExit_Click();
        break;
    case ids::mnuUndo:
        mnuUndo_Click();
        break;
    case ids::mnuRedo:
        mnuRedo_Click();
        break;
    case ids::mnuCut:
        mnuCut_Click();
        break;
    case ids::mnuCopy:
        mnuCopy_Click();
        break;
    case ids::mnuPaste:
        mnuPaste_Click();
        break;
    case ids::mnuDelete:
        mnuDelete_Click();
        break;
    case ids::cmdMove:
        cmdMove_Click();
        break;
    case ids::mnuSetting:
        mnuSetting_Click();
        break;
    case ids::mnuViewHelp:
        mnuViewHelp_Click();
        break;
    case ids::mnuAbout:
        mnuAbout_Click();
        break;
    case ids::mnuSite:
        mnuSite_Click();
        break;
    default:
        break;
    }
}

void frmDosLaunch::mnuNew_Click() { listFiles_.New(); }
void frmDosLaunch::mnuOpen_Click() { listFiles_.OpenList(); }
void frmDosLaunch::mnuAddAnother_Click() { listFiles_.AppendList(); }
void frmDosLaunch::mnuSave_Click() { listFiles_.SaveList(listFiles_.ListFilePath()); }
void frmDosLaunch::mnuSaveAs_Click() { listFiles_.SaveListAs(); }

void frmDosLaunch::mnuUndo_Click() {
    if (const auto entry = undo_.Undo()) {
        txtCommand.setText(entry->text);
        txtCommand.setSelStart(entry->caret);
    }
}

void frmDosLaunch::mnuRedo_Click() {
    if (const auto entry = undo_.Redo()) {
        txtCommand.setText(entry->text);
        txtCommand.setSelStart(entry->caret);
    }
}

void frmDosLaunch::mnuCut_Click() { CopyFromActiveControl(true); }

void frmDosLaunch::mnuCopy_Click() { CopyFromActiveControl(false); }

void frmDosLaunch::CopyFromActiveControl(bool cut) {
    try {
        const std::string active = form_->activeControlName();
        if (active == "txtCommand" && txtCommand.selLength() > 0) {
            platform_.clipboard.clear();
            platform_.clipboard.setText(txtCommand.selText());
            if (cut) txtCommand.setSelText("");
        } else if (active == "lstCommand" && list_.Selected() >= 0) {
            const int selected = list_.Selected();
            platform_.clipboard.clear();
            platform_.clipboard.setText(list_.At(selected));
            if (cut) list_.Remove(selected);
        }
    } catch (const PlatformError&) {
        // The clipboard is busy: the command ends quietly.
    }
}

void frmDosLaunch::mnuPaste_Click() {
    try {
        const std::string pasted = platform_.clipboard.getText();
        if (!pasted.empty()) txtCommand.setSelText(pasted);
    } catch (const PlatformError&) {
        // The clipboard is busy: the command ends quietly.
    }
}

void frmDosLaunch::mnuDelete_Click() { list_.Remove(list_.Selected()); }

void frmDosLaunch::mnuSetting_Click() {
    frmOption options({platform_.forms, platform_.profile, platform_.dialogs, platform_.system, platform_.messages},
                      shared_, [this] { ApplyEnterKey(); });
    options.ShowModal(*form_);
}

void frmDosLaunch::mnuExit_Click() { form_->close(); }

void frmDosLaunch::cmdMove_Click() {
    if (shared_.DirectoryShown && directory_) {
        directory_->Activate();
        return;
    }
    shared_.DirectoryShown = true;
    directory_ =
        std::make_unique<frmDirectory>(frmDirectory::Services{platform_.forms, platform_.files,
                                                              platform_.messages, platform_.system},
                                       shared_, *this);
    directory_->Show();
}

void frmDosLaunch::mnuViewHelp_Click() {
    const std::string path =
        path::WithTrailingBackslash(platform_.system.programFolder()) + product::HelpFileName;
    if (platform_.files.fileExists(path)) {
        platform_.shell.open(path);
    } else {
        platform_.messages.show(HelpMissingMessage, captions::Error, MessageIcon::Exclamation,
                                MessageButtons::Ok);
    }
}

void frmDosLaunch::mnuAbout_Click() {
    frmAbout about(platform_.forms);
    about.ShowModal(*form_);
}

void frmDosLaunch::mnuSite_Click() { platform_.shell.open(product::HomePage); }
