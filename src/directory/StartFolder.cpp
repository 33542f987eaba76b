#include "directory/StartFolder.h"

#include "text/Text.h"

std::optional<std::string> FolderOfFile(const std::string& path) {
    std::vector<std::string> pieces = text::Split(path, "\\");
    if (pieces.size() < 2) return std::nullopt;
    pieces.pop_back();
    for (std::string& piece : pieces) piece = text::Trim(piece);
    return text::Join(pieces, "\\");
}

std::optional<std::string> StartFolderFromArgument(std::string argument, FileSystem& files) {
    // Explorer, shortcuts and "Send to" quote a path that holds a space.
    if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"') {
        argument = argument.substr(1, argument.size() - 2);
    }
    if (argument.empty()) return std::nullopt;
    argument = text::WithoutTrailingBackslash(argument);
    if (files.directoryExists(argument)) return argument;
    if (files.fileExists(argument)) {
        const auto folder = FolderOfFile(argument);
        if (folder && files.directoryExists(*folder)) return folder;
    }
    return std::nullopt;
}
