#include "commandlist/SafeSave.h"

std::string SaveFileSafely(FileSystem& files, const std::string& path, const std::string& bytes) {
    // Replacing a link itself would turn it into a file of its own, apart from its target.
    const std::string target = files.finalPath(path);
    // Beside the target, so that the replacing rename stays on its volume; dropped on any
    // failure, which deletes it.
    const std::unique_ptr<ReplacementFile> replacement = files.createReplacement(target);
    replacement->write(bytes);
    replacement->replaceTarget();
    return target;
}
