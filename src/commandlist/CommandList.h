#pragma once
#include <string>
#include <vector>

#include "platform/Platform.h"

// The command list and its files: adding lines, the list's clipboard commands, and reading
// and writing list files with the save question. The entries live in the sorted list box.
class CommandList {
public:
    enum class Confirm { Proceed, Abort };

    CommandList(ListBox& list, Platform& platform);

    // Adds the line unless an equal entry (exactly, case-sensitive) is there already.
    void AddToList(const std::string& strItem);

    // The selected entry to the clipboard (Cut also removes it). Nothing without a selection.
    void CutSelected();
    void CopySelected();
    void DeleteSelected();

    // The file commands of the File menu.
    void New();
    void OpenList();
    void AppendList();
    bool SaveList(const std::string& path);
    bool SaveListAs();
    // Offers to save a modified, non-empty list. Abort when the user cancelled, or asked to
    // save and nothing was saved.
    Confirm ConfirmSaveList();
    // Opens the list file named in the settings at start-up, reporting a wrong name.
    void OpenListAtStartup(std::string path);
    // Replaces the list with the file's lines; false (and nothing changed) when it cannot be read.
    bool ReadListFile(const std::string& path);
    // Adds the file's lines that the list does not hold yet.
    bool AppendListFile(const std::string& path);
    // The folder the list dialogs start in.
    std::string ListDialogFolder();

    std::vector<std::string> Entries() const;
    bool ListModified() const { return listModified_; }
    const std::string& ListFilePath() const { return listFilePath_; }

private:
    std::optional<std::vector<std::string>> ReadEntries(const std::string& path);
    FileDialogOptions ListDialog(const std::string& title, unsigned flags);
    void AddEntries(const std::vector<std::string>& entries);

    ListBox& list_;
    Platform& platform_;
    std::string listFilePath_;
    bool listModified_ = false;
};
