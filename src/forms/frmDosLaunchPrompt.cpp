// The main window's side of the prompt: starting it, typing into it, following where it stands.

#include "commandlist/Fields.h"
#include "directory/CdInterpreter.h"
#include "forms/frmDosLaunch.h"
#include "forms/frmFieldValues.h"
#include "platform/PlatformError.h"
#include "prompt/ControlCharacters.h"
#include "prompt/PromptSyntax.h"
#include "text/Path.h"
#include "text/Product.h"
#include "text/Text.h"

namespace {
constexpr const char* CarriageReturn = "\r";
constexpr int HighlightMilliseconds = 1500;
// The prompt's directories are read this often while the window is not minimised, and more
// often for a moment after the program typed a line, until the prompt has run it.
constexpr int DirectoryWatchMilliseconds = 300;
constexpr int DirectoryCatchUpMilliseconds = 50;
constexpr int DirectoryCatchUpReads = 20;
// The longest command line the prompt takes, in UTF-16 units.
constexpr std::size_t LongestCommandLine = 8191;
constexpr const char* TooLongMessage =
    "コマンドが長すぎるため入力できません。\r\nコマンドプロンプトに入力できるのは 8191 "
    "文字までです。";
constexpr const char* TooManyFieldsMessage =
    "値を入力する項目が多すぎるため入力できません。\r\n項目は 1000 個までです。";
constexpr const char* ConsoleHeldMessage =
    "別のプログラムがコマンドプロンプトで実行中のため、ディレクトリを移動できません。\r\n"
    "そのプログラムを終了してから、もう一度操作してください。";
}  // namespace

// ---- The prompt process ----

std::string frmDosLaunch::ProgramFolder() const {
    return path::WithoutTrailingBackslash(platform_.system.programFolder());
}

void frmDosLaunch::LaunchDos() {
    PrepareLaunch();
    StartPendingPrompt();
}

void frmDosLaunch::PrepareLaunch() {
    std::string directory = path::WithoutTrailingBackslash(shared_.CurrentDir);
    if (!path::HasDriveLetter(directory) || !platform_.files.directoryExists(directory)) {
        directory = ProgramFolder();
    }
    // Nothing typed for the old prompt waits on the new one's line.
    input_.Reset();
    tracker_.Started(directory);
    pendingStart_ = directory;
}

void frmDosLaunch::Form_Shown() { StartPendingPrompt(); }

void frmDosLaunch::StartPendingPrompt() {
    if (!pendingStart_) return;
    const std::string directory = std::move(*pendingStart_);
    pendingStart_.reset();
    try {
        prompt_.Start(directory + "\\");
        windowWatch_.Start();
        WatchPromptDirectory();
        return;
    } catch (const PlatformError& error) {
        if (directory == ProgramFolder()) {
            ReportLaunchFailure(error);
            return;
        }
    }
    // The folder exists but cannot be entered: start in the program folder instead.
    tracker_.Started(ProgramFolder());
    try {
        prompt_.Start(ProgramFolder() + "\\");
        windowWatch_.Start();
        WatchPromptDirectory();
    } catch (const PlatformError& error) {
        tracker_.Started(directory);
        ReportLaunchFailure(error);
    }
}

void frmDosLaunch::ReportLaunchFailure(const PlatformError& error) {
    // The window stays usable; the next input tries to start the prompt again.
    platform_.messages.show(error.what(), captions::Error, MessageIcon::Error, MessageButtons::Ok);
}

bool frmDosLaunch::CheckDosAlive() {
    if (pendingStart_) {
        // An input before the window's first prompt has started: it starts now, for this input.
        StartPendingPrompt();
        return prompt_.IsRunning();
    }
    if (prompt_.IsRunning()) return true;
    LaunchDos();
    return false;
}

void frmDosLaunch::ExitDos() { prompt_.Exit(); }

// ---- Command input ----

void frmDosLaunch::cmdSend_Click() {
    const std::string written = txtCommand.text();
    if (const auto text = FilledIn(written)) SendOnly(*text, written);
}

void frmDosLaunch::cmdSendAndDo_Click() {
    const std::string written = txtCommand.text();
    if (const auto text = FilledIn(written)) SendAndDo(*text, written);
}

std::optional<std::string> frmDosLaunch::FilledIn(const std::string& written) {
    if (!askForFields_) return written;
    const std::vector<std::string> names = fields::Names(written);
    if (names.empty()) return written;
    if (names.size() > frmFieldValues::MostRows) {
        platform_.messages.show(TooManyFieldsMessage, captions::MainWindow, MessageIcon::Exclamation,
                                MessageButtons::Ok);
        return std::nullopt;
    }
    frmFieldValues dialog(platform_.forms, names, fieldValues_);
    const auto values = dialog.ShowModal(*form_);
    if (!values) {
        // Nothing is typed; the text stays in the box for another try.
        SetInputButtonsEnabled(true);
        FocusBack();
        return std::nullopt;
    }
    // Remembered for this run only: a value may be a password.
    for (const auto& [name, value] : *values) fieldValues_[name] = value;
    return fields::Fill(written, *values);
}

void frmDosLaunch::cmdCleaer_Click() {
    txtCommand.setText("");
    FocusBack();
}

bool frmDosLaunch::FitsThePromptLine(const std::string& text) {
    if (text::Utf16Length(text) <= LongestCommandLine) return true;
    // The prompt would cut the line and run what is left: nothing is typed.
    platform_.messages.show(TooLongMessage, captions::MainWindow, MessageIcon::Exclamation,
                            MessageButtons::Ok);
    return false;
}

bool frmDosLaunch::HoldsNoControlCharacter(const std::string& text) {
    const auto found = FirstControlCharacter(text);
    if (!found) return true;
    // Typed, the character would edit the prompt's line: nothing is typed, the text stays.
    platform_.messages.show(ControlCharacterMessage(*found), captions::MainWindow,
                            MessageIcon::Exclamation, MessageButtons::Ok);
    return false;
}

void frmDosLaunch::SendOnly(const std::string& text, const std::string& listed) {
    if (text.empty()) {
        FocusBack();
        return;
    }
    if (!FitsThePromptLine(text)) return;
    if (!HoldsNoControlCharacter(text)) return;
    SetInputButtonsEnabled(false);
    if (!CheckDosAlive()) {
        SetInputButtonsEnabled(true);
        return;
    }
    input_.BeforeInputOnly(text);
    try {
        InputToDos(text);
        if (chbAdd.value() == 1) AddToList(listed);
        SetInputButtonsEnabled(true);
        txtCommand.setText("");
        input_.AfterInputOnly(text);
    } catch (const PlatformError&) {
        SetInputButtonsEnabled(true);
    }
}

void frmDosLaunch::SendAndDo(const std::string& strSend) { SendAndDo(strSend, strSend); }

void frmDosLaunch::SendAndDo(const std::string& strSend, const std::string& listed) {
    if (!FitsThePromptLine(strSend)) return;
    if (!HoldsNoControlCharacter(strSend)) return;
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
        // A line typed while another program holds the prompt's console goes to that program,
        // not to the prompt: it changes no directory.
        const bool promptReads = InputToDos(strSend + CarriageReturn);
        if (!listed.empty() && chbAdd.value() == 1) AddToList(listed);
        SetInputButtonsEnabled(true);
        txtCommand.setText("");
        const InputState::Tracking tracking = input_.TrackingFor(strSend);
        if (promptReads) TrackDirectory(tracking);
        input_.AfterExecute();
        CatchUpWithPrompt();
    } catch (const PlatformError&) {
        SetInputButtonsEnabled(true);
    }
}

bool frmDosLaunch::InputToDos(const std::string& text) {
    const std::string saved = prompt_.SaveClipboard();
    const bool promptReads = prompt_.Deliver(text);
    form_->activate();
    FocusBack();
    prompt_.RestoreClipboard(saved);
    return promptReads;
}

void frmDosLaunch::TrackDirectory(const InputState::Tracking& tracking) {
    switch (tracking.kind) {
    case InputState::Tracking::Kind::CdCommand:
        tracker_.TrackCdCommand(tracking.argument);
        break;
    case InputState::Tracking::Kind::DriveChange:
        tracker_.SwitchDrive(tracking.argument);
        break;
    case InputState::Tracking::Kind::None:
        break;
    }
}

// ---- Where the prompt stands ----

void frmDosLaunch::ChangeDirectory(const std::string& CDrive, const std::string& CDirectory,
                                   bool AddList) {
    if (!CheckDosAlive()) return;
    try {
        const std::string saved = prompt_.SaveClipboard();
        if (!CDrive.empty()) {
            if (!prompt_.DeliverToPrompt(CDrive + ":" + CarriageReturn)) return ReportConsoleHeld();
            tracker_.SwitchDrive(CDrive + ":");
        }
        // A drive root is typed with its backslash: cd "C:" would only show C's directory.
        const std::string typed = path::IsBareDrive(CDirectory) ? CDirectory + "\\" : CDirectory;
        const std::string cdLine =
            "cd " + path::InQuotesForPrompt(typed, PromptSyntaxOf(platform_.system));
        if (!CDirectory.empty()) {
            // A program that holds the prompt's console (an editor, an interpreter) would take
            // the line as its input: nothing is typed, tracked or added to the list.
            if (!prompt_.DeliverToPrompt(cdLine + CarriageReturn)) return ReportConsoleHeld();
            prompt_.RestoreClipboard(saved);
            tracker_.ChangedTo(CDirectory);
        }
        if (AddList) {
            if (!CDrive.empty()) AddToList(CDrive + ":");
            AddToList(cdLine);
        }
        txtCD.setText(CDirectory);
        txtCommand.moveCaretToEnd();
        CatchUpWithPrompt();
        form_->activate();
    } catch (const PlatformError&) {
        // Steps already done stay done; the window is not brought back.
    }
}

void frmDosLaunch::ReportConsoleHeld() {
    platform_.messages.show(ConsoleHeldMessage, captions::MainWindow, MessageIcon::Exclamation,
                            MessageButtons::Ok);
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

void frmDosLaunch::WatchPromptDirectory() {
    catchUpReads_ = 0;
    tmrDosDirectory.setInterval(minimised_ ? 0 : DirectoryWatchMilliseconds);
}

void frmDosLaunch::CatchUpWithPrompt() {
    if (minimised_) return;
    catchUpReads_ = DirectoryCatchUpReads;
    tmrDosDirectory.setInterval(DirectoryCatchUpMilliseconds);
}

void frmDosLaunch::KeepActivation(int millisecondsSinceLast) {
    if (windowWatch_.Look(prompt_.WindowState(), millisecondsSinceLast)) form_->activate();
}

void frmDosLaunch::tmrDosDirectory_Timer() {
    if (windowWatch_.Watching()) KeepActivation(tmrDosDirectory.interval());
    // A prompt that ended is started again only by the next input, as always.
    if (!prompt_.IsRunning()) return;
    const auto real = prompt_.ReadDirectories();
    if (catchUpReads_ > 0) {
        // Right after typing, the prompt may not have run the line yet: its old directory is no
        // news, and the box keeps what the program worked out until the prompt moves.
        const bool moved = real && real->current != lastRealDirectory_;
        if (!moved) {
            if (--catchUpReads_ == 0) WatchPromptDirectory();
            return;
        }
        WatchPromptDirectory();
    }
    if (!real) return;  // not readable (another system, no access): the guesses stay
    lastRealDirectory_ = real->current;
    tracker_.Follow(*real);
}

void frmDosLaunch::lstCommand_OLEDragDrop(const std::vector<std::string>& paths) {
    if (paths.empty() || paths.back().empty()) return;
    const std::string dropped = path::WithoutTrailingBackslash(paths.back());
    std::optional<std::string> target;
    if (platform_.files.directoryExists(dropped)) {
        target = dropped;
    } else if (platform_.files.fileExists(dropped)) {
        const auto folder = path::FolderOf(dropped);
        if (folder && platform_.files.directoryExists(*folder)) target = folder;
    }
    // A network path has no drive to change to: it is ignored.
    if (!target || !path::HasDriveLetter(*target)) return;
    const std::string drive = path::DriveOf(*target);
    ChangeDirectory(drive != shared_.CurrentDrive ? drive : std::string(), *target, false);
}
