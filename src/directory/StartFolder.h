#pragma once
#include <optional>
#include <string>

#include "platform/FileSystem.h"

// The folder that holds a file: every piece of the path but the last, each trimmed of
// spaces, joined with backslashes. Nothing for a path without a backslash.
std::optional<std::string> FolderOfFile(const std::string& path);

// The start folder that a command-line argument names: the folder itself, or the folder of a
// file, without a trailing backslash (a drive root as the bare C:). One pair of double quotes
// around the whole argument is removed first. Nothing when the argument names neither.
std::optional<std::string> StartFolderFromArgument(std::string argument, FileSystem& files);
