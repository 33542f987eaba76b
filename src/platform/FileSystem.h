#pragma once
#include <string>
#include <vector>

// Folder and file tests. None of them ever raises a system dialog (for a drive without
// media, say) and none throws: a path that cannot be examined counts as not existing.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The folder test used wherever the program asks whether a folder exists: the path
    // with a backslash appended names a directory that can be listed.
    virtual bool directoryExists(const std::string& path) = 0;
    // The path names an ordinary file: not a folder, not hidden, not a system file.
    virtual bool fileExists(const std::string& path) = 0;
    // The system's drive letters in order (A, C, D, ...), upper case without colon, found
    // without touching any media.
    virtual std::vector<std::string> drives() = 0;
};
