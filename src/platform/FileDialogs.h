#pragma once
#include <optional>
#include <string>

// What the open and save boxes are asked to show.
struct FileDialogOptions {
    std::string title;
    // Pairs of description and pattern separated by "|", e.g. "リストファイル(*.txt)|*.txt".
    std::string filter;
    // The box's flags, as the system's file dialogs define them (0x804: hide the read-only box,
    // the path must exist; 0x2: ask before overwriting).
    unsigned flags = 0;
    std::string defaultExtension;  // given to a name typed without one, e.g. "txt"
    std::string initialFolder;     // empty: the box's own choice
};

// The system's open and save boxes, owned by the active window of the program. Nothing when
// the user cancels. Throws PlatformError when the box cannot be shown.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<std::string> showOpen(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> showSave(const FileDialogOptions& options) = 0;
};
