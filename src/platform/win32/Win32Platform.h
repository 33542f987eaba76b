#pragma once
#include "platform/Platform.h"
#include "platform/win32/Win32Clipboard.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Collation.h"
#include "platform/win32/Win32ConsoleInput.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32FileDialogs.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Form.h"
#include "platform/win32/Win32MessageBoxes.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32PromptLauncher.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32SystemInfo.h"

// The real implementations of every platform interface, owned together.
class Win32Platform {
public:
    Win32Platform()
        : platform_{forms_,  launcher_, console_, desktop_, clipboard_, files_,    messages_,
                    system_, shell_,    dialogs_, profile_, codePage_,  collation_} {}
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    Platform& platform() { return platform_; }

private:
    Win32FormFactory forms_;
    Win32PromptLauncher launcher_;
    Win32ConsoleInput console_;
    Win32Desktop desktop_;
    Win32Clipboard clipboard_;
    Win32FileSystem files_;
    Win32MessageBoxes messages_;
    Win32SystemInfo system_;
    Win32Shell shell_;
    Win32FileDialogs dialogs_;
    Win32Profile profile_;
    Win32CodePage codePage_;
    Win32Collation collation_;
    Platform platform_;
};
