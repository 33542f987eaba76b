#pragma once
#include <memory>
#include <optional>
#include <string>

#include "commandlist/CommandList.h"
#include "commandlist/Fields.h"
#include "commandlist/ListFiles.h"
#include "commandlist/UndoHistory.h"
#include "directory/DirectoryTracker.h"
#include "forms/MainWindowActions.h"
#include "forms/SearchActions.h"
#include "forms/mdlDos.h"
#include "platform/Platform.h"
#include "platform/PlatformError.h"
#include "prompt/DosPrompt.h"
#include "prompt/InputState.h"
#include "prompt/PromptWindowWatch.h"

class frmDirectory;
class frmSearch;

// The main window: the command list, the command text box, the current-directory box and the
// input buttons. It owns the prompt and every piece of state the dialogs share with it.
// frmDosLaunch.cpp holds start-up, closing, the command list and the menus; frmDosLaunchPrompt.cpp
// what concerns the prompt: starting it, typing into it and following where it stands.
class frmDosLaunch final : public MainWindowActions, public SearchActions {
public:
    frmDosLaunch(Platform& platform, mdlDos& shared);
    ~frmDosLaunch() override;

    // Start-up, run once before the window is first shown.
    void Form_Load();
    bool StartedOk() const { return startedOk_; }
    void Show();

    // The Enter key presses cmdSend (EnterKey 0) or cmdSendAndDo (any other value).
    void ApplyEnterKey();
    // Public methods the dialogs act through.
    void SendAndDo(const std::string& strSend);
    void AddToList(const std::string& strItem) override;
    void ChangeDirectory(const std::string& CDrive, const std::string& CDirectory,
                         bool AddList) override;
    void AppendToCommand(const std::string& text) override;
    void ReturnToCommand() override;
    void TakeListEntry(int index) override;

    bool ListModified() const { return list_.Modified(); }
    const DosPrompt& Prompt() const { return prompt_; }
    const DriveTable& Drives() const { return tracker_.Drives(); }

private:
    // Event handlers.
    void Form_Activate();
    void Form_Shown();
    bool Form_QueryUnload();
    bool Form_QueryEndSession();
    void Form_EndSession(bool ending);
    void Form_Minimise();
    void cmdSend_Click();
    void cmdSendAndDo_Click();
    void cmdCleaer_Click();
    void lstCommand_GotFocus();
    void txtCommand_GotFocus();
    void lstCommand_DblClick();
    void lstCommand_KeyDown(int keyCode, int shift);
    void txtCommand_KeyDown(int keyCode, int shift);
    void chbAdd_KeyDown(int keyCode, int shift);
    void txtCommand_Change();
    void txtCommand_MouseDown(int button);
    void txtCommand_OLEDragDrop(const std::vector<std::string>& paths);
    void Form_Resize();
    void txtCD_Change();
    void tmrCD_Timer();
    void tmrDosDirectory_Timer();
    void lstCommand_OLEDragDrop(const std::vector<std::string>& paths);
    // Menu items, their shortcuts and the toolbar buttons, by command id.
    void Form_Menu(int id);

    // Menu items.
    void mnuNew_Click();
    void mnuOpen_Click();
    void mnuAddAnother_Click();
    void mnuSave_Click();
    void mnuSaveAs_Click();
    void mnuExit_Click();
    void mnuUndo_Click();
    void mnuRedo_Click();
    void mnuCut_Click();
    void mnuCopy_Click();
    void mnuPaste_Click();
    void CopyFromActiveControl(bool cut);
    void mnuDelete_Click();
    void mnuFind_Click();
    void cmdMove_Click();
    void mnuSetting_Click();
    void mnuViewHelp_Click();
    void mnuAbout_Click();
    void mnuSite_Click();

    void ApplyCommandLine();
    void LoadSettings();
    void SaveSettings();
    // The close sequence after the save question: the browser, the settings, then the prompt.
    // At the end of the session the prompt's console is not waited for.
    void CloseAfterSaveQuestion(bool sessionEnding = false);

    // Prompt process. LaunchDos is PrepareLaunch (where it starts, the tracking told) and
    // StartPendingPrompt; at start-up the window shows between the two.
    void LaunchDos();
    void PrepareLaunch();
    void StartPendingPrompt();
    bool CheckDosAlive();
    void ExitDos();
    std::string ProgramFolder() const;
    void ReportLaunchFailure(const PlatformError& error);

    // Command input. FilledIn is the text to input for the text written in txtCommand: as
    // written, or with the values of its fields asked for; nothing when the user cancelled.
    // The list gets `listed`, the text as written.
    std::optional<std::string> FilledIn(const std::string& written);
    bool FitsThePromptLine(const std::string& text);
    // False, after saying why, when text holds a control character the prompt would take as a key.
    bool HoldsNoControlCharacter(const std::string& text);
    void SendOnly(const std::string& text, const std::string& listed);
    void SendAndDo(const std::string& strSend, const std::string& listed);
    // Delivers text and brings the window back; false when another program got the text.
    bool InputToDos(const std::string& text);
    void TrackDirectory(const InputState::Tracking& tracking);
    // Says that a directory change was not typed because another program holds the console.
    void ReportConsoleHeld();

    // Reading where the prompt really stands: steadily, and often right after typing a line.
    void WatchPromptDirectory();
    void CatchUpWithPrompt();
    // After a start: the activation back from a prompt's window that took it as it opened.
    void KeepActivation(int millisecondsSinceLast);

    void FocusBack();
    void SetInputButtonsEnabled(bool on);

    Platform& platform_;
    mdlDos& shared_;
    std::unique_ptr<Form> form_;
    TextBox& txtCD;
    ListBox& lstCommand;
    TextBox& txtCommand;
    Frame& fraButtons;
    CheckBox& chbAdd;
    Button& cmdSend;
    Button& cmdSendAndDo;
    Button& cmdCleaer;
    Timer& tmrCD;
    Timer& tmrDosDirectory;

    DosPrompt prompt_;
    // The folder of a prompt that is to start and has not yet.
    std::optional<std::string> pendingStart_;
    InputState input_;
    DirectoryTracker tracker_;
    std::unique_ptr<frmDirectory> directory_;
    std::unique_ptr<frmSearch> search_;
    // The search window's text, from one opening to the next in this run.
    std::string lastSearch_;
    bool startedOk_ = false;
    bool listHadFocus_ = false;
    // The system is ending the session and the close sequence has run: nothing more is asked.
    bool sessionEnded_ = false;
    bool minimised_ = false;
    // Reads left in the quick watch after typing, and the prompt's directory as last read.
    int catchUpReads_ = 0;
    std::string lastRealDirectory_;
    PromptWindowWatch windowWatch_;
    // Whether fields are asked for (the Placeholders setting), and the values given in this run.
    bool askForFields_ = true;
    fields::Values fieldValues_;
    CommandList list_;
    ListFiles listFiles_;
    UndoHistory undo_;
};
