#include "forms/frmDosLaunch.h"

#include "directory/CdInterpreter.h"
#include "directory/StartFolder.h"
#include "forms/ControlIds.h"
#include "forms/MainWindowResize.h"
#include "forms/WindowSize.h"
#include "forms/frmAbout.h"
#include "forms/frmDirectory.h"
#include "forms/frmDosLaunchLayout.h"
#include "forms/frmOption.h"
#include "platform/PlatformError.h"
#include "settings/Settings.h"
#include "text/Path.h"
#include "text/Product.h"
#include "text/Text.h"

namespace {
constexpr unsigned long PlatformWin9x = 1;
constexpr unsigned long PlatformNT = 2;
constexpr const char* UnsupportedOsMessage = "対応していないOSです。プログラムを終了します。";
constexpr const char* CarriageReturn = "\r";
constexpr const char* HelpMissingMessage = "ヘルプファイルが見つかりません。";
constexpr int HighlightMilliseconds = 1500;
constexpr int KeyL = 76;
constexpr int KeyK = 75;

bool CtrlOnly(int shift) { return shift == static_cast<int>(ShiftState::Ctrl); }

using path::WithoutTrailingBackslash;
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
      prompt_(platform.launcher, platform.console, platform.desktop, platform.clipboard),
      list_(lstCommand, platform.collation),
      listFiles_(list_, {platform.dialogs, platform.messages, platform.files, platform.codePage,
                         platform.system}) {
    form_->onActivate = [this] { Form_Activate(); };
    form_->onQueryUnload = [this] { return Form_QueryUnload(); };
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
    txtCommand.onDropFiles = [this](const std::vector<std::string>& paths) { txtCommand_OLEDragDrop(paths); };
    txtCD.onChange = [this] { txtCD_Change(); };
    tmrCD.onTimer = [this] { tmrCD_Timer(); };
    lstCommand.onDropFiles = [this](const std::vector<std::string>& paths) { lstCommand_OLEDragDrop(paths); };
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
    driveTable_.Reset();

    const unsigned long platformId = platform_.system.platformId();
    if (platformId != PlatformWin9x && platformId != PlatformNT) {
        startedOk_ = false;
        platform_.messages.show(UnsupportedOsMessage, captions::MainWindow, MessageIcon::Exclamation,
                                MessageButtons::Ok);
        return;
    }
    prompt_.SetIsNT(platformId == PlatformNT);
    undo_.Reset();
    LoadSettings();
    ApplyCommandLine();
    LaunchDos();
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
    const std::string tested = WithoutTrailingBackslash(shared_.CurrentDir);
    if (!platform_.files.directoryExists(tested) && !platform_.files.fileExists(tested)) shared_.CurrentDir = folder;
    shared_.EnterKey = values.EnterKey;
    ApplyEnterKey();
    const TwipsSize size =
        FitWindowSize(values.Width, values.Height, form_->workAreaTwips(), form_->minimumSizeTwips());
    form_->setSizeTwips(size.width, size.height);
    if (values.LoadList && !values.PathOfList.empty()) listFiles_.OpenListAtStartup(values.PathOfList);
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
    settings::Write(platform_.profile, settings::SettingsFilePath(platform_.system.programFolder()), values);
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

void frmDosLaunch::Form_Resize() {
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
    if (!startedOk_) return false;
    if (listFiles_.ConfirmSaveList() == ListFiles::Confirm::Abort) return true;
    if (shared_.DirectoryShown && directory_) directory_->Close();
    if (shared_.CloseDos) ExitDos();
    SaveSettings();
    return false;
}

// ---- The prompt process ----

void frmDosLaunch::SetTrackedDirectory(const std::string& directory) {
    shared_.CurrentDir = directory;
    shared_.CurrentDrive = path::DriveOf(directory);
    RememberDirectory(shared_.CurrentDir);
    txtCD.setText(shared_.CurrentDir);
}

std::string frmDosLaunch::ProgramFolder() const {
    return WithoutTrailingBackslash(platform_.system.programFolder());
}

void frmDosLaunch::LaunchDos() {
    std::string directory = WithoutTrailingBackslash(shared_.CurrentDir);
    if (!path::HasDriveLetter(directory) || !platform_.files.directoryExists(directory)) {
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
    platform_.messages.show(error.what(), captions::Error, MessageIcon::Error, MessageButtons::Ok);
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
    switch (tracking.kind) {
        case InputState::Tracking::Kind::CdCommand: TrackCdCommand(tracking.argument); break;
        case InputState::Tracking::Kind::DriveChange: SwitchDrive(tracking.argument); break;
        case InputState::Tracking::Kind::None: break;
    }
}

// ---- Directory tracking ----

void frmDosLaunch::RefreshDrives() { driveTable_.RefreshDrives(platform_.files.drives()); }

void frmDosLaunch::RememberDirectory(const std::string& directory) {
    RefreshDrives();
    driveTable_.RememberDirectory(shared_.CurrentDrive, directory);
}

void frmDosLaunch::SwitchDrive(const std::string& driveText) {
    const auto switched = driveTable_.SwitchDrive(driveText, shared_.CurrentDrive, platform_.files.drives());
    if (!switched) return;
    shared_.CurrentDir = switched->CurrentDir;
    shared_.CurrentDrive = switched->CurrentDrive;
    txtCD.setText(shared_.CurrentDir);
}

void frmDosLaunch::TrackCdCommand(const std::string& line) {
    const CdContext context{shared_.CurrentDir, shared_.CurrentDrive,
                            [this](const std::string& path) { return platform_.files.directoryExists(path); },
                            [this] { RefreshDrives(); }};
    const CdOutcome outcome = ::TrackCdCommand(line, context);
    if (outcome.NewDirectory) {
        shared_.CurrentDir = *outcome.NewDirectory;
        // The prompt keeps a directory per drive: the one it moved to is that drive's now.
        RememberDirectory(shared_.CurrentDir);
        txtCD.setText(shared_.CurrentDir);
    }
    if (outcome.OtherDrive) {
        RefreshDrives();
        driveTable_.RememberDirectory(outcome.OtherDrive->first, outcome.OtherDrive->second);
    }
}

void frmDosLaunch::ChangeDirectory(const std::string& CDrive, const std::string& CDirectory, bool AddList) {
    if (!CheckDosAlive()) return;
    try {
        const std::string saved = prompt_.SaveClipboard();
        if (!CDrive.empty()) {
            prompt_.Deliver(CDrive + ":" + CarriageReturn);
            SwitchDrive(CDrive + ":");
        }
        const std::string cdLine = "cd \"" + CDirectory + "\"";
        if (!CDirectory.empty()) {
            prompt_.Deliver(cdLine + CarriageReturn);
            prompt_.RestoreClipboard(saved);
            RememberDirectory(CDirectory);
            shared_.CurrentDir = CDirectory;
        }
        if (AddList) {
            if (!CDrive.empty()) AddToList(CDrive + ":");
            AddToList(cdLine);
        }
        txtCD.setText(CDirectory);
        txtCommand.moveCaretToEnd();
        platform_.desktop.activateTitle(captions::MainWindow);
    } catch (const PlatformError&) {
        // Steps already done stay done; the window is not brought back.
    }
}

void frmDosLaunch::txtCD_Change() {
    const std::string shown = txtCD.text();
    if (text::EndsWith(shown, ":")) {
        txtCD.setText(shown + "\\");  // a drive root is shown with its backslash
        return;
    }
    txtCD.setForeColour(SystemColour::ActiveCaption);
    tmrCD.setInterval(HighlightMilliseconds);
}

void frmDosLaunch::tmrCD_Timer() {
    txtCD.setForeColour(SystemColour::WindowText);
    tmrCD.setInterval(0);
}

void frmDosLaunch::lstCommand_OLEDragDrop(const std::vector<std::string>& paths) {
    if (paths.empty() || paths.back().empty()) return;
    const std::string path = WithoutTrailingBackslash(paths.back());
    std::optional<std::string> target;
    if (platform_.files.directoryExists(path)) {
        target = path;
    } else if (platform_.files.fileExists(path)) {
        const auto folder = path::FolderOf(path);
        if (folder && platform_.files.directoryExists(*folder)) target = folder;
    }
    // A network path has no drive to change to: it is ignored.
    if (!target || !path::HasDriveLetter(*target)) return;
    const std::string drive = path::DriveOf(*target);
    ChangeDirectory(drive != shared_.CurrentDrive ? drive : std::string(), *target, false);
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
    try {
        platform_.desktop.activateTitle(captions::MainWindow);
        txtCommand.moveCaretToEnd();
    } catch (const PlatformError&) {
        // Bringing the main window forward is best effort.
    }
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
    txtCommand.setText(txtCommand.text() + path::QuotedForPrompt(paths.back()));
    txtCommand.moveCaretToEnd();
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
    frmOption options({platform_.forms, platform_.profile, platform_.dialogs, platform_.system}, shared_,
                      [this] { ApplyEnterKey(); });
    options.ShowModal(*form_);
}

void frmDosLaunch::mnuExit_Click() { form_->close(); }

void frmDosLaunch::cmdMove_Click() {
    if (shared_.DirectoryShown && directory_) {
        directory_->Activate();
        return;
    }
    shared_.DirectoryShown = true;
    directory_ = std::make_unique<frmDirectory>(
        frmDirectory::Services{platform_.forms, platform_.files, platform_.messages, platform_.system},
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
