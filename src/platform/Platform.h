#pragma once
#include "platform/Clipboard.h"
#include "platform/CodePage.h"
#include "platform/Collation.h"
#include "platform/ConsoleInput.h"
#include "platform/Desktop.h"
#include "platform/FileDialogs.h"
#include "platform/FileSystem.h"
#include "platform/Form.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "platform/PromptProcess.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"

// Everything the portable layers reach the operating system through. The application owns
// the implementations (Win32 or fakes) and hands this bundle of references to the windows.
struct Platform {
    FormFactory& forms;
    PromptLauncher& launcher;
    ConsoleInput& console;
    Desktop& desktop;
    Clipboard& clipboard;
    FileSystem& files;
    MessageBoxes& messages;
    SystemInfo& system;
    Shell& shell;
    FileDialogs& dialogs;
    Profile& profile;
    CodePage& codePage;
    Collation& collation;
};
