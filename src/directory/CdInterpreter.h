#pragma once
#include <functional>
#include <optional>
#include <string>

// Works out where the prompt stands after it executed a cd or chdir line, the way the prompt
// reads the line. Only the existence tests and the drive refresh touch the system.
struct CdContext {
    std::string CurrentDir;    // e.g. C:\WINDOWS; a root as C: (or D:\)
    std::string CurrentDrive;  // e.g. C
    std::function<bool(const std::string&)> DirectoryExists;
    std::function<void()> RefreshDrives;
};

struct CdOutcome {
    // The new tracked directory on the current drive, when the line moved there.
    std::optional<std::string> NewDirectory;
    // A line that changed the directory of another drive only: that drive's letter as typed
    // and its new directory. The prompt stays on its drive.
    std::optional<std::pair<std::string, std::string>> OtherDrive;
    bool operator==(const CdOutcome&) const = default;
};

CdOutcome TrackCdCommand(const std::string& line, const CdContext& context);

// The line with a space after its cd or chdir word where the prompt reads the word as ended by a
// dot, a backslash or a quote (cd.. is cd .., chdir\x is chdir \x); any other line as it is.
std::string WithCdWordApart(const std::string& line);
