#pragma once
#include <string>

#include "platform/FileSystem.h"

// Replaces the file at path with bytes so that it is never lost or left half written: the
// bytes go to a temporary file beside it, are flushed, and then take its place in one step.
// On failure the temporary file is removed, the old file is untouched, and the PlatformError
// passes to the caller.
void SaveFileSafely(FileSystem& files, const std::string& path, const std::string& bytes);
