#include "windows/frmDosLaunch.h"

#include "directory/StartFolder.h"
#include "platform/PlatformError.h"
#include "text/Text.h"
#include "windows/ControlIds.h"
#include "windows/MainWindowResize.h"
#include "windows/ProductInfo.h"
#include "windows/frmAbout.h"
#include "windows/frmDosLaunchLayout.h"

namespace {
constexpr unsigned long PlatformWin9x = 1;
constexpr unsigned long PlatformNT = 2;
constexpr const char* UnsupportedOsMessage = "対応していないOSです。プログラムを終了します。";
constexpr const char* ErrorTitle = "エラー";
constexpr const char* CarriageReturn = "\r";
constexpr const char* HelpMissingMessage = "ヘルプファイルが見つかりません。";

// A tracked directory the prompt can be started in: a drive letter and a colon first.
bool HasDrivePrefix(const std::string& path) { return path.size() >= 2 && path[1] == ':'; }

std::string WithoutTrailingBackslash(std::string path) {
    if (text::EndsWith(path, "\\")) path.pop_back();
    return path;
}
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
      prompt_(platform.launcher, platform.console, platform.desktop, platform.clipboard) {
    form_->onActivate = [this] { Form_Activate(); };
    form_->onQueryUnload = [this] { return Form_QueryUnload(); };
    cmdSend.onClick = [this] { cmdSend_Click(); };
    cmdSendAndDo.onClick = [this] { cmdSendAndDo_Click(); };
    cmdCleaer.onClick = [this] { cmdCleaer_Click(); };
    lstCommand.onGotFocus = [this] { lstCommand_GotFocus(); };
    txtCommand.onGotFocus = [this] { txtCommand_GotFocus(); };
    form_->onResize = [this] { Form_Resize(); };
    form_->onMenu = [this](int id) { Form_Menu(id); };
    form_->onToolbarButton = [this](int index) { tlbDos_ButtonClick(index); };
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
        platform_.messages.show(UnsupportedOsMessage, captions::MainWindow, MessageIcon::Exclamation,
                                MessageButtons::Ok);
        return;
    }
    prompt_.SetIsNT(platformId == PlatformNT);
    ApplyCommandLine();
    LaunchDos();
}

void frmDosLaunch::ApplyCommandLine() {
    const auto folder = StartFolderFromArgument(platform_.system.commandLine(), platform_.files);
    if (folder) shared_.CurrentDir = *folder;
}

void frmDosLaunch::Form_Activate() { FocusBack(); }

void frmDosLaunch::Form_Resize() {
    MainWindowLayout layout{txtCD.rect(), lstCommand.rect(), txtCommand.rect(), fraButtons.rect()};
    layout = ResizeMainWindow(form_->widthTwips(), form_->heightTwips(), layout, [this](int height) {
        TwipsRect list = lstCommand.rect();
        list.height = height;
        lstCommand.move(list);
        return lstCommand.rect().height;
    });
    txtCD.move(layout.txtCD);
    lstCommand.move(layout.lstCommand);
    txtCommand.move(layout.txtCommand);
    fraButtons.move(layout.fraButtons);
}

bool frmDosLaunch::Form_QueryUnload() {
    if (!startedOk_) return false;
    if (shared_.CloseDos) ExitDos();
    return false;
}

// ---- The prompt process ----

void frmDosLaunch::SetTrackedDirectory(const std::string& directory) {
    shared_.CurrentDir = directory;
    shared_.CurrentDrive = text::Split(directory, ":").front();
    txtCD.setText(shared_.CurrentDir);
}

std::string frmDosLaunch::ProgramFolder() const {
    return WithoutTrailingBackslash(platform_.system.programFolder());
}

void frmDosLaunch::LaunchDos() {
    std::string directory = WithoutTrailingBackslash(shared_.CurrentDir);
    if (!HasDrivePrefix(directory) || !platform_.files.directoryExists(directory)) {
        directory = ProgramFolder();
    }
    SetTrackedDirectory(directory);
    try {
        prompt_.Start(directory + "\\");
        return;
    } catch (const PlatformError& error) {
        if (directory == ProgramFolder()) {
            ReportLaunchFailure(error);
            return;
        }
    }
    // The folder exists but cannot be entered: start in the program folder instead.
    SetTrackedDirectory(ProgramFolder());
    try {
        prompt_.Start(ProgramFolder() + "\\");
    } catch (const PlatformError& error) {
        SetTrackedDirectory(directory);
        ReportLaunchFailure(error);
    }
}

void frmDosLaunch::ReportLaunchFailure(const PlatformError& error) {
    // The window stays usable; the next input tries to start the prompt again.
    platform_.messages.show(error.what(), ErrorTitle, MessageIcon::Error, MessageButtons::Ok);
}

bool frmDosLaunch::CheckDosAlive() {
    if (prompt_.IsRunning()) return true;
    LaunchDos();
    return false;
}

void frmDosLaunch::ExitDos() { prompt_.Exit(); }

// ---- Command input ----

void frmDosLaunch::cmdSend_Click() { SendOnly(txtCommand.text()); }

void frmDosLaunch::cmdSendAndDo_Click() { SendAndDo(txtCommand.text()); }

void frmDosLaunch::cmdCleaer_Click() {
    txtCommand.setText("");
    FocusBack();
}

void frmDosLaunch::SendOnly(const std::string& text) {
    if (text.empty()) {
        FocusBack();
        return;
    }
    SetInputButtonsEnabled(false);
    if (!CheckDosAlive()) {
        SetInputButtonsEnabled(true);
        return;
    }
    input_.BeforeInputOnly(text);
    try {
        InputToDos(text);
        if (chbAdd.value() == 1) AddToList(text);
        SetInputButtonsEnabled(true);
        txtCommand.setText("");
        input_.AfterInputOnly(text);
    } catch (const PlatformError&) {
        SetInputButtonsEnabled(true);
    }
}

void frmDosLaunch::SendAndDo(const std::string& strSend) {
    SetInputButtonsEnabled(false);
    if (!CheckDosAlive()) {
        SetInputButtonsEnabled(true);
        return;
    }
    if (input_.ExecutesExit(strSend)) {
        // The exit command is never typed: the prompt is closed instead.
        ExitDos();
        SetInputButtonsEnabled(true);
        input_.AfterExitExecuted();
        return;
    }
    try {
        input_.BeforeExecute();
        InputToDos(strSend + CarriageReturn);
        if (!strSend.empty() && chbAdd.value() == 1) AddToList(strSend);
        SetInputButtonsEnabled(true);
        txtCommand.setText("");
        TrackDirectory(input_.TrackingFor(strSend));
        input_.AfterExecute();
    } catch (const PlatformError&) {
        SetInputButtonsEnabled(true);
    }
}

void frmDosLaunch::InputToDos(const std::string& text) {
    const std::string saved = prompt_.SaveClipboard();
    prompt_.Deliver(text);
    platform_.desktop.activateTitle(captions::MainWindow);
    FocusBack();
    prompt_.RestoreClipboard(saved);
}

void frmDosLaunch::TrackDirectory(const InputState::Tracking& tracking) {
    // The executed line's directory change is followed by the directory tracking, which
    // is not part of the program yet: the tracked directory stays as launched.
    (void)tracking;
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

void frmDosLaunch::AddToList(const std::string& strItem) {
    for (int i = 0; i < lstCommand.count(); ++i) {
        if (lstCommand.item(i) == strItem) return;
    }
    lstCommand.addItem(strItem);
    listModified_ = true;
}

// ---- Menus and toolbar ----

void frmDosLaunch::Form_Menu(int id) {
    switch (id) {
        case ids::mnuNew: mnuNew_Click(); break;
        case ids::mnuOpen: mnuOpen_Click(); break;
        case ids::mnuAddAnother: mnuAddAnother_Click(); break;
        case ids::mnuSave: mnuSave_Click(); break;
        case ids::mnuSaveAs: mnuSaveAs_Click(); break;
        case ids::mnuExit: mnuExit_Click(); break;
        case ids::mnuUndo: mnuUndo_Click(); break;
        case ids::mnuRedo: mnuRedo_Click(); break;
        case ids::mnuCut: mnuCut_Click(); break;
        case ids::mnuCopy: mnuCopy_Click(); break;
        case ids::mnuPaste: mnuPaste_Click(); break;
        case ids::mnuDelete: mnuDelete_Click(); break;
        case ids::cmdMove: cmdMove_Click(); break;
        case ids::mnuSetting: mnuSetting_Click(); break;
        case ids::mnuViewHelp: mnuViewHelp_Click(); break;
        case ids::mnuAbout: mnuAbout_Click(); break;
        case ids::mnuSite: mnuSite_Click(); break;
        default: break;
    }
}

void frmDosLaunch::tlbDos_ButtonClick(int index) {
    switch (index) {
        case 1: mnuNew_Click(); break;
        case 2: mnuOpen_Click(); break;
        case 3: mnuSave_Click(); break;
        case 5: mnuCut_Click(); break;
        case 6: mnuCopy_Click(); break;
        case 7: mnuPaste_Click(); break;
        case 9: mnuUndo_Click(); break;
        case 10: mnuRedo_Click(); break;
        case 12: cmdMove_Click(); break;
        case 13: mnuDelete_Click(); break;
        default: break;  // the separators 4, 8 and 11
    }
}

// The list-file, edit, browser and options commands arrive with their subsystems.
void frmDosLaunch::mnuNew_Click() {}
void frmDosLaunch::mnuOpen_Click() {}
void frmDosLaunch::mnuAddAnother_Click() {}
void frmDosLaunch::mnuSave_Click() {}
void frmDosLaunch::mnuSaveAs_Click() {}
void frmDosLaunch::mnuUndo_Click() {}
void frmDosLaunch::mnuRedo_Click() {}
void frmDosLaunch::mnuCut_Click() {}
void frmDosLaunch::mnuCopy_Click() {}
void frmDosLaunch::mnuPaste_Click() {}
void frmDosLaunch::mnuDelete_Click() {}
void frmDosLaunch::mnuSetting_Click() {}

void frmDosLaunch::mnuExit_Click() { form_->close(); }

void frmDosLaunch::cmdMove_Click() {
    // The browser window itself arrives with the directory browser.
    shared_.DirectoryShown = true;
}

void frmDosLaunch::mnuViewHelp_Click() {
    std::string path = platform_.system.programFolder();
    if (!text::EndsWith(path, "\\")) path += "\\";
    path += product::HelpFileName;
    if (platform_.files.fileExists(path)) {
        platform_.shell.open(path);
    } else {
        platform_.messages.show(HelpMissingMessage, ErrorTitle, MessageIcon::Exclamation,
                                MessageButtons::Ok);
    }
}

void frmDosLaunch::mnuAbout_Click() {
    frmAbout about(platform_);
    about.ShowModal(*form_);
}

void frmDosLaunch::mnuSite_Click() { platform_.shell.open(product::HomePage); }
