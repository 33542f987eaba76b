#include "directory/StartFolder.h"

#include "text/Path.h"

std::optional<std::string> StartFolderFromArgument(std::string argument, FileSystem& files) {
    // Explorer, shortcuts and "Send to" quote a path that holds a space.
    if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"') {
        argument = argument.substr(1, argument.size() - 2);
    }
    if (argument.empty()) return std::nullopt;
    argument = path::WithoutTrailingBackslash(argument);
    if (files.directoryExists(argument)) return argument;
    if (files.fileExists(argument)) {
        const auto folder = path::FolderOf(argument);
        if (folder && files.directoryExists(*folder)) return folder;
    }
    return std::nullopt;
}
