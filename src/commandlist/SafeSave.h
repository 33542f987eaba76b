#pragma once
#include <string>

#include "platform/FileSystem.h"

// Replaces the file at path with bytes so that it is never lost or left half written: the
// bytes go to a new file beside it, created with its access rights, are flushed, and then take
// its place in one step, keeping its attributes. A symbolic link is saved through: the file it
// leads to is replaced and the link stays. On failure the new file is gone, the old file is
// untouched, and the exception passes to the caller. Gives the path of the file replaced.
std::string SaveFileSafely(FileSystem& files, const std::string& path, const std::string& bytes);
