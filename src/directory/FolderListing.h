#pragma once
#include <string>
#include <vector>

#include "platform/FileSystem.h"

// What the directory browser's three lists show.
namespace listing {

// One entry per drive: the letter in lower case, a colon, and in brackets what names the drive
// when the list can know it without waiting: the volume label of a fixed drive that is ready
// and has one ("c: [SYSTEM]"), the share of a network drive ("z: [\\server\share]"). A
// removable or CD drive shows its letter alone: asking for its label could spin it up or wait
// for media, and a network drive's label would be asked of a server that may not answer.
std::vector<std::string> DriveEntries(FileSystem& files);

// A folder list in the classic manner: the folder's ancestors from the root down to the
// folder itself, then its subfolders, each indented one step deeper than its parent.
struct FolderItem {
    std::string shown;  // indented name
    std::string path;   // full path; a root keeps its backslash (C:\)
};
struct FolderView {
    std::vector<FolderItem> entries;
    int current = 0;  // the index of the folder itself
};
// Throws PlatformError when the folder cannot be listed (a drive that is not ready).
FolderView Folders(const std::string& path, FileSystem& files);

// The ordinary files of a folder (no folders, hidden or system files), by name.
std::vector<std::string> Files(const std::string& path, FileSystem& files);

}  // namespace listing
