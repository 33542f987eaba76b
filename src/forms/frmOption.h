#pragma once
#include <functional>
#include <memory>
#include <string>

#include "forms/mdlDos.h"
#include "platform/FileDialogs.h"
#include "platform/Form.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "platform/SystemInfo.h"

// The options dialog: the list opened at start-up, closing the prompt with the program, and
// what the Enter key does on the main window. Shown modal over the main window.
class frmOption {
public:
    struct Services {
        FormFactory& forms;
        Profile& profile;
        FileDialogs& dialogs;
        SystemInfo& system;
        MessageBoxes& messages;
    };
    // applyEnterKey makes the main window's default button follow EnterKey at once.
    frmOption(const Services& services, mdlDos& shared, std::function<void()> applyEnterKey);
    ~frmOption();

    void ShowModal(Form& owner);

private:
    void Form_Load();
    void chbLoad_Click();
    void chbLoad_GotFocus();
    void cmdOpen_Click();
    void cmdOk_Click();
    void cmdCancel_Click();
    void ApplyEnablingRule();
    std::string SettingsPath();

    Services services_;
    mdlDos& shared_;
    std::function<void()> applyEnterKey_;
    std::unique_ptr<Form> form_;
    CheckBox& chbLoad;
    TextBox& txtPath;
    Button& cmdOpen;
    CheckBox& chbClose;
    CheckBox& optSend;
    CheckBox& optDo;
    Button& cmdOk;
    Button& cmdCancel;
};
