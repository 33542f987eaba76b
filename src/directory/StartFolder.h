#pragma once
#include <optional>
#include <string>

#include "platform/FileSystem.h"

// The start folder that a command-line argument names: the folder itself, or the folder of a
// file, without a trailing backslash (a drive root as the bare C:). One pair of double quotes
// around the whole argument is removed first. A relative argument (".", "sub", "..\x", "\x",
// "C:sub") is taken from the program's current folder, where the shell that started it was;
// "." and ".." are worked out. Nothing when the argument names neither a folder nor a file.
std::optional<std::string> StartFolderFromArgument(std::string argument, FileSystem& files);
