#include "directory/DirectoryTracker.h"

#include "directory/CdInterpreter.h"
#include "text/Path.h"
#include "text/Text.h"

DirectoryTracker::DirectoryTracker(Tracked tracked, FileSystem& files,
                                   std::function<void(const std::string&)> show)
    : tracked_(tracked), files_(files), show_(std::move(show)) {}

void DirectoryTracker::Show() {
    if (show_) show_(tracked_.CurrentDir);
}

void DirectoryTracker::RefreshDrives() { table_.RefreshDrives(files_.drives()); }

void DirectoryTracker::RememberDirectory(const std::string& drive, const std::string& directory) {
    RefreshDrives();
    table_.RememberDirectory(drive, directory);
}

void DirectoryTracker::Started(const std::string& directory) {
    table_.Reset();
    tracked_.CurrentDir = directory;
    tracked_.CurrentDrive = path::DriveOf(directory);
    RememberDirectory(tracked_.CurrentDrive, directory);
    Show();
}

void DirectoryTracker::SwitchDrive(const std::string& driveText) {
    const auto switched = table_.SwitchDrive(driveText, tracked_.CurrentDrive, files_.drives());
    if (!switched) return;
    // A drive without media (an empty card reader) refuses the change: the prompt stays.
    if (!files_.directoryExists(path::DriveOf(switched->CurrentDir) + ":")) return;
    tracked_.CurrentDir = switched->CurrentDir;
    tracked_.CurrentDrive = switched->CurrentDrive;
    Show();
}

void DirectoryTracker::TrackCdCommand(const std::string& line) {
    const CdContext context{tracked_.CurrentDir, tracked_.CurrentDrive,
                            [this](const std::string& p) { return files_.directoryExists(p); },
                            [this] { RefreshDrives(); }};
    const CdOutcome outcome = ::TrackCdCommand(line, context);
    if (outcome.NewDirectory) {
        tracked_.CurrentDir = *outcome.NewDirectory;
        // The prompt keeps a directory per drive: the one it moved to is that drive's now.
        RememberDirectory(tracked_.CurrentDrive, tracked_.CurrentDir);
        Show();
    }
    if (outcome.OtherDrive)
        RememberDirectory(outcome.OtherDrive->first, outcome.OtherDrive->second);
}

void DirectoryTracker::ChangedTo(const std::string& directory) {
    RememberDirectory(tracked_.CurrentDrive, directory);
    tracked_.CurrentDir = directory;
}

bool DirectoryTracker::Follow(const PromptDirectories& real) {
    // The prompt holds a directory with its trailing backslash; the program holds a root bare.
    const std::string current = path::WithoutTrailingBackslash(real.current);
    if (!path::HasDriveLetter(current)) return false;
    RefreshDrives();
    for (const auto& [letter, directory] : real.drives) table_.RememberDirectory(letter, directory);
    const std::string drive = text::UCase(path::DriveOf(current));
    table_.RememberDirectory(drive, current);
    tracked_.CurrentDrive = drive;
    if (path::WithoutTrailingBackslash(tracked_.CurrentDir) == current) return false;
    tracked_.CurrentDir = current;
    Show();
    return true;
}
