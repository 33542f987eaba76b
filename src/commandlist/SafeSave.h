#pragma once
#include <string>

#include "platform/FileSystem.h"

// Replaces the file at path with bytes so that it is never lost or left half written: the
// bytes go to a temporary file beside it, are flushed, and then take its place in one step,
// keeping its attributes and access rights. A symbolic link is saved through: the file it leads
// to is replaced and the link stays. On failure the temporary file is removed, the old file is
// untouched, and the exception passes to the caller.
void SaveFileSafely(FileSystem& files, const std::string& path, const std::string& bytes);
