#include "directory/DriveTable.h"

#include "text/Text.h"

using text::UCase;

void DriveTable::Reset() { driveDirs_.assign(1, DriveDir{}); }

void DriveTable::RefreshDrives(const std::vector<std::string>& systemDrives) {
    for (const std::string& letter : systemDrives) {
        bool known = false;
        for (const DriveDir& slot : driveDirs_) known = known || slot.Letter == letter;
        if (known) continue;
        const bool initial = driveDirs_.size() == 1 && driveDirs_[0].Letter.empty();
        if (initial) {
            driveDirs_[0].Letter = letter;
        } else {
            driveDirs_.push_back({letter, ""});
        }
    }
}

DriveDir* DriveTable::Find(const std::string& letter) {
    for (DriveDir& slot : driveDirs_) {
        if (!slot.Letter.empty() && UCase(slot.Letter) == UCase(letter)) return &slot;
    }
    return nullptr;
}

void DriveTable::RememberDirectory(const std::string& drive, const std::string& directory) {
    if (DriveDir* slot = Find(drive)) slot->Directory = directory;
}

std::optional<DriveTable::Switch> DriveTable::SwitchDrive(const std::string& driveText,
                                                          const std::string& currentDrive,
                                                          const std::vector<std::string>& systemDrives) {
    const std::string wanted = UCase(driveText.substr(0, driveText.empty() ? 0 : driveText.size() - 1));
    if (wanted == UCase(currentDrive)) return std::nullopt;
    RefreshDrives(systemDrives);
    DriveDir* slot = Find(wanted);
    if (!slot) return std::nullopt;
    Switch result;
    if (slot->Directory.empty()) {
        result.CurrentDir = slot->Letter + ":";
    } else {
        if (text::EndsWith(slot->Directory, "\\")) slot->Directory.pop_back();
        result.CurrentDir = slot->Directory;
    }
    result.CurrentDrive = slot->Letter;
    return result;
}
