#include "directory/FolderListing.h"

#include "platform/PlatformError.h"
#include "text/Path.h"
#include "text/Text.h"

namespace listing {

namespace {
std::string Indent(std::size_t level) { return std::string(level * 2, ' '); }
}  // namespace

std::vector<std::string> DriveEntries(FileSystem& files) {
    std::vector<std::string> entries;
    for (const std::string& letter : files.drives()) {
        std::string entry = text::LCase(letter) + ":";
        try {
            const std::string label = files.volumeLabel(letter);
            if (!label.empty()) entry += " [" + label + "]";
        } catch (const PlatformError&) {
            // A drive without media is listed by its letter alone.
        }
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
