#pragma once
#include <optional>
#include <string>

// What the open and save boxes are asked to show.
struct FileDialogOptions {
    std::string title;
    // Pairs of description and pattern separated by "|", e.g. "リストファイル(*.txt)|*.txt".
    std::string filter;
    std::string defaultExtension;  // given to a name typed without one, e.g. "txt"
    std::string initialFolder;     // empty: the box's own choice
    bool hideReadOnly = true;      // no "open as read-only" check box
    bool folderMustExist = true;   // a name in a folder that does not exist is refused
    bool askBeforeOverwrite = false;  // the save box asks before it names an existing file
};

// The system's open and save boxes, owned by the active window of the program. Nothing when
// the user cancels. Throws PlatformError when the box cannot be shown.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<std::string> showOpen(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> showSave(const FileDialogOptions& options) = 0;
};
