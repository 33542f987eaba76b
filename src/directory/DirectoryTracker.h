#pragma once
#include <functional>
#include <optional>
#include <string>

#include "directory/DriveTable.h"
#include "platform/FileSystem.h"
#include "platform/PromptDirectories.h"

// Where the program believes the prompt stands: the tracked directory and its drive, and one
// remembered directory per drive. It follows what the program types (drive changes, the cd
// lines the interpreter can follow, directory changes of its own) and, where the prompt process
// can be read, the prompt's own directories, which replace every guess.
class DirectoryTracker {
public:
    // The tracked directory (a drive root as the bare C:) and its drive, as the windows share them.
    struct Tracked {
        std::string& CurrentDir;
        std::string& CurrentDrive;
    };
    // show puts the tracked directory into the current-directory box.
    DirectoryTracker(Tracked tracked, FileSystem& files,
                     std::function<void(const std::string&)> show);

    // A new prompt starts in directory. A new prompt starts every other drive at its root, so the
    // directories remembered for the old prompt are forgotten.
    void Started(const std::string& directory);
    // The prompt was told to change to another drive ("d:").
    void SwitchDrive(const std::string& driveText);
    // The prompt executed a cd or chdir line.
    void TrackCdCommand(const std::string& line);
    // The program itself typed a cd line for directory (on the drive that is now current).
    void ChangedTo(const std::string& directory);

    // The prompt's directories as read from its process. The tracked directory, its drive and the
    // remembered directories become the prompt's own; the box changes only when the directory
    // shown changes. True when it did.
    bool Follow(const PromptDirectories& real);

    const DriveTable& Drives() const { return table_; }

private:
    void RefreshDrives();
    void RememberDirectory(const std::string& drive, const std::string& directory);
    void Show();

    Tracked tracked_;
    FileSystem& files_;
    std::function<void(const std::string&)> show_;
    DriveTable table_;
};
