#include "commandlist/SafeSave.h"

#include "platform/PlatformError.h"

std::string FolderOf(const std::string& path) {
    const auto last = path.find_last_of('\\');
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

void SaveFileSafely(FileSystem& files, const std::string& path, const std::string& bytes) {
    const std::string temporary = files.createTemporaryFile(FolderOf(path));
    try {
        files.writeFile(temporary, bytes);
        files.moveReplacing(temporary, path);
    } catch (const PlatformError&) {
        files.removeFile(temporary);
        throw;
    }
}
