#pragma once
#include <cstdint>
#include <string>

// Values shared by the main window and its dialogs. The application owns the one instance and
// passes it by reference.
struct mdlDos {
    // The prompt's current directory as the program tracks it (a drive root as the bare C:).
    std::string CurrentDir;
    // The drive of CurrentDir: its text before the first colon.
    std::string CurrentDrive;
    // True while the directory browser is open.
    bool DirectoryShown = false;

    // Settings shared with the dialogs.
    bool AddListDirectory = false;
    std::int16_t DoDirectory = 0;
    bool CloseDos = false;
    std::int16_t EnterKey = 0;
};
