#pragma once
#include <memory>
#include <string>

#include "directory/FolderListing.h"
#include "forms/MainWindowActions.h"
#include "forms/mdlDos.h"
#include "platform/FileSystem.h"
#include "platform/Form.h"
#include "platform/MessageBox.h"
#include "platform/SystemInfo.h"

// The directory browser: pick a drive, a folder and perhaps a file, then move the prompt
// there, or input the path or the file name into the main window's command box. Modeless; it
// stays open after OK.
class frmDirectory {
public:
    struct Services {
        FormFactory& forms;
        FileSystem& files;
        MessageBoxes& messages;
        SystemInfo& system;
    };
    frmDirectory(const Services& services, mdlDos& shared, MainWindowActions& main);
    ~frmDirectory();

    void Show();
    // Brings the open browser to the front.
    void Activate();
    // Closes it as its close box would.
    void Close();

private:
    void Form_Load();
    bool Form_QueryUnload();
    void drvChange_Change();
    void dirChange_DblClick();
    void dirChange_KeyDown(int keyCode, int shift);
    void filChange_DblClick();
    void cmdOk_Click();
    void cmdCancel_Click();

    void MoveCurrentDirectory();
    void InputPath();
    void InputFileName();

    // The linked lists: a folder shown sets the file list's folder.
    void SetFolder(const std::string& path);
    std::string FileName() const;
    // Appends text to the main window's command box, and to the list when chbAdd asks for it.
    void InputToCommand(const std::string& text);

    Services services_;
    mdlDos& shared_;
    MainWindowActions& main_;
    std::unique_ptr<Form> form_;
    ComboBox& drvChange;
    ListBox& dirChange;
    ListBox& filChange;
    CheckBox& optCD;
    CheckBox& optPath;
    CheckBox& OptFileName;
    Button& cmdOk;
    Button& cmdCancel;
    CheckBox& chbAdd;

    listing::FolderView folders_;
    // The open folder: the one the folder and file lists show, and the one OK acts on, whatever
    // entry of the folder list is selected.
    std::string path_;
};
