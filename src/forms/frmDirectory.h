#pragma once
#include <memory>
#include <string>

#include "directory/FolderListing.h"
#include "platform/Platform.h"
#include "forms/mdlDos.h"

class frmDosLaunch;

// The directory browser: pick a drive, a folder and perhaps a file, then move the prompt
// there, or input the path or the file name into the main window's command box. Modeless; it
// stays open after OK.
class frmDirectory {
public:
    frmDirectory(Platform& platform, mdlDos& shared, frmDosLaunch& main);
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
    void filChange_DblClick();
    void cmdOk_Click();
    void cmdCancel_Click();

    void MoveCurrentDirectory();
    void InputPath();
    void InputFileName();

    // The linked lists: a folder shown sets the file list's folder.
    void SetFolder(const std::string& path);
    std::string FileName() const;
    void BackToMainWindow();

    Platform& platform_;
    mdlDos& shared_;
    frmDosLaunch& main_;
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
    std::string path_;  // the folder the folder and file lists show
};
