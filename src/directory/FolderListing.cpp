#include "directory/FolderListing.h"

#include "platform/PlatformError.h"
#include "text/Path.h"
#include "text/Text.h"

namespace listing {

namespace {
std::string Indent(std::size_t level) { return std::string(level * 2, ' '); }

// What the drive list shows in brackets after a drive's letter; empty for nothing.
std::string DriveName(FileSystem& files, const std::string& letter) {
    switch (files.driveKind(letter)) {
    case DriveKind::Fixed:
    case DriveKind::RamDisk:
        try {
            return files.volumeLabel(letter);
        } catch (const PlatformError&) {
            return {};  // not ready: the letter alone
        }
    case DriveKind::Remote:
        return files.connectionName(letter).value_or(std::string());
    case DriveKind::Removable:
    case DriveKind::CdRom:
    case DriveKind::Unknown:
        break;
    }
    return {};
}
}  // namespace

std::vector<std::string> DriveEntries(FileSystem& files) {
    std::vector<std::string> entries;
    for (const std::string& letter : files.drives()) {
        std::string entry = text::LCase(letter) + ":";
        const std::string name = DriveName(files, letter);
        if (!name.empty()) entry += " [" + name + "]";
        entries.push_back(entry);
    }
    return entries;
}

FolderView Folders(const std::string& path, FileSystem& files) {
    std::vector<std::string> pieces = text::Split(path, "\\");
    while (pieces.size() > 1 && pieces.back().empty()) pieces.pop_back();
    FolderView view;
    std::string walked = pieces.front() + "\\";
    view.entries.push_back({walked, walked});
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        walked = path::Join(walked, pieces[i]);
        view.entries.push_back({Indent(i) + pieces[i], walked});
    }
    view.current = static_cast<int>(view.entries.size()) - 1;
    for (const auto& entry : files.listFolder(walked)) {
        if (entry.directory && !entry.hidden && !entry.system) {
            view.entries.push_back({Indent(pieces.size()) + entry.name, path::Join(walked, entry.name)});
        }
    }
    return view;
}

std::vector<std::string> Files(const std::string& path, FileSystem& files) {
    std::vector<std::string> names;
    for (const auto& entry : files.listFolder(path)) {
        if (!entry.directory && !entry.hidden && !entry.system) names.push_back(entry.name);
    }
    return names;
}

}  // namespace listing
