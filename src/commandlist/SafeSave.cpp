#include "commandlist/SafeSave.h"

#include "platform/PlatformError.h"
#include "text/Path.h"

void SaveFileSafely(FileSystem& files, const std::string& path, const std::string& bytes) {
    // Beside the file, so that the replacing move stays on its volume.
    const auto folder = path::FolderOf(path);
    const std::string temporary =
        files.createTemporaryFile(folder ? path::WithTrailingBackslash(*folder) : std::string());
    try {
        files.writeFile(temporary, bytes);
        files.moveReplacing(temporary, path);
    } catch (const PlatformError&) {
        files.removeFile(temporary);
        throw;
    }
}
