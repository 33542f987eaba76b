#include "directory/StartFolder.h"

#include "text/Path.h"
#include "text/Text.h"

namespace {

// The argument as an absolute path, worked out against the current folder the way the system
// reads a path: a drive root stays bare ("C:"), as the rest of the program keeps it.
std::string Absolute(const std::string& argument, FileSystem& files) {
    const bool network = text::StartsWith(argument, "\\\\");
    if (network || path::IsBareDrive(argument)) return argument;
    if (path::HasDriveLetter(argument) && argument.size() > 2 && argument[2] == '\\') {
        return path::CollapseDots(argument);
    }
    const std::string current = files.currentDirectory();
    if (!path::HasDriveLetter(current)) {
        // A network folder as the current folder: only a plain relative name can be joined.
        const bool rootOrDrive = text::StartsWith(argument, "\\") || path::HasDriveLetter(argument);
        return rootOrDrive ? argument : path::CollapseDots(path::Join(current, argument));
    }
    if (text::StartsWith(argument, "\\")) {  // from the root of the current drive
        return path::CollapseDots(current.substr(0, 2) + argument);
    }
    if (path::HasDriveLetter(argument)) {  // "C:sub": relative on its drive
        const std::string rest = argument.substr(2);
        const bool sameDrive =
            text::UCase(argument.substr(0, 1)) == text::UCase(current.substr(0, 1));
        // Another drive's own current folder is not known here; its root is what the system
        // takes when the prompt that started the program never visited that drive.
        const std::string base = sameDrive ? current : argument.substr(0, 2);
        return path::CollapseDots(path::Join(base, rest));
    }
    return path::CollapseDots(path::Join(current, argument));
}

}  // namespace

std::optional<std::string> StartFolderFromArgument(std::string argument, FileSystem& files) {
    // Explorer, shortcuts and "Send to" quote a path that holds a space.
    if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"') {
        argument = argument.substr(1, argument.size() - 2);
    }
    if (argument.empty()) return std::nullopt;
    argument = path::WithoutTrailingBackslash(Absolute(argument, files));
    if (files.directoryExists(argument)) return argument;
    if (files.fileExists(argument)) {
        const auto folder = path::FolderOf(argument);
        if (folder && files.directoryExists(*folder)) return folder;
    }
    return std::nullopt;
}
