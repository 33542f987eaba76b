#pragma once
#include <optional>
#include <string>
#include <vector>

// One remembered directory per drive letter, in the order the drives were first seen.
struct DriveDir {
    std::string Letter;     // one upper-case letter, as the system reports it; empty only at first
    std::string Directory;  // the drive's remembered directory, empty when none
    bool operator==(const DriveDir&) const = default;
};

class DriveTable {
public:
    DriveTable() { Reset(); }

    // Back to the start state: one empty slot.
    void Reset();
    // Adds every drive of systemDrives (letters in the system's order) not yet held.
    void RefreshDrives(const std::vector<std::string>& systemDrives);
    // Stores directory, unchanged, as the remembered directory of drive (any letter case).
    void RememberDirectory(const std::string& drive, const std::string& directory);

    struct Switch {
        std::string CurrentDir;
        std::string CurrentDrive;
        bool operator==(const Switch&) const = default;
    };
    // A drive change such as "d:" was typed into the prompt while on currentDrive. Gives the
    // new tracked directory and drive, or nothing when the change leads nowhere new (the
    // same drive, or a text that names no known drive). Refreshes the table first unless the
    // drive is the current one.
    std::optional<Switch> SwitchDrive(const std::string& driveText, const std::string& currentDrive,
                                      const std::vector<std::string>& systemDrives);

    const std::vector<DriveDir>& DriveDirs() const { return driveDirs_; }

private:
    DriveDir* Find(const std::string& letter);
    std::vector<DriveDir> driveDirs_;
};
