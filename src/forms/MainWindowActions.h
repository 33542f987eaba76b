#pragma once
#include <string>

// What the directory browser does to the main window: the browser knows the main window only
// through this.
class MainWindowActions {
public:
    virtual ~MainWindowActions() = default;
    // Appends text to the command box, as an edit of it.
    virtual void AppendToCommand(const std::string& text) = 0;
    virtual void AddToList(const std::string& strItem) = 0;
    // Types the drive change and the cd line into the prompt and follows them.
    virtual void ChangeDirectory(const std::string& CDrive, const std::string& CDirectory,
                                 bool AddList) = 0;
    // Brings the main window to the front with the caret at the end of the command box.
    // Best effort: never throws.
    virtual void ReturnToCommand() = 0;
};
