#include "commandlist/SafeSave.h"

#include "text/Path.h"

void SaveFileSafely(FileSystem& files, const std::string& path, const std::string& bytes) {
    // Replacing a link itself would turn it into a file of its own, apart from its target.
    const std::string target = files.finalPath(path);
    // Beside the file, so that the replacing move stays on its volume.
    const auto folder = path::FolderOf(target);
    const std::string temporary =
        files.createTemporaryFile(folder ? path::WithTrailingBackslash(*folder) : std::string());
    try {
        files.writeFile(temporary, bytes);
        files.moveReplacing(temporary, target);
    } catch (...) {
        files.removeFile(temporary);
        throw;
    }
}
