#pragma once
#include <windows.h>

#include <string>

#include "platform/FileDialogs.h"

// The system's open and save boxes (GetOpenFileNameW, GetSaveFileNameW), explorer style.
class Win32FileDialogs final : public FileDialogs {
public:
    std::optional<std::string> showOpen(const FileDialogOptions& options) override;
    std::optional<std::string> showSave(const FileDialogOptions& options) override;
};

// The window that boxes shown now belong to: this thread's active window, else the
// foreground window when it is one of this program's; nullptr when the program has none.
HWND ProgramOwnerWindow();
