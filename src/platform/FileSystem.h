#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/PlatformError.h"

// One entry of a folder listing.
struct FolderEntry {
    std::string name;
    bool directory = false;
    bool hidden = false;
    bool system = false;
};

// What a drive letter stands for, as the system knows it without opening the drive.
enum class DriveKind { Unknown, Fixed, Removable, CdRom, Remote, RamDisk };

// readFile's refusal of a file that holds more bytes than the caller allows; nothing was read.
class FileTooLarge : public PlatformError {
public:
    explicit FileTooLarge(std::uint64_t limit)
        : PlatformError("The file is larger than " + std::to_string(limit) + " bytes."),
          limit_(limit) {}
    std::uint64_t limit() const { return limit_; }

private:
    std::uint64_t limit_;
};

// Folder and file tests, listings and whole-file reading and replacing. No call ever raises
// a system dialog (for a drive without media, say). The tests never throw: a path that cannot
// be examined counts as not existing.
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
    // The kind of a drive ("C"), from the system's table of drives: no media and no server is
    // asked, so it is safe for an empty card reader or a network drive whose server is gone.
    virtual DriveKind driveKind(const std::string& drive) = 0;
    // The share a network drive stands for (\\server\share), from the system's own record of
    // the connection, without asking the server. Nothing for a drive that is not connected.
    virtual std::optional<std::string> connectionName(const std::string& drive) = 0;
    // The volume label of a drive ("C"). Reads the drive: a removable drive may spin up, a
    // network drive asks its server. Throws PlatformError when the drive is not ready.
    virtual std::string volumeLabel(const std::string& drive) = 0;
    // The entries of a folder, without "." and "..", sorted by name without regard to case.
    // Throws PlatformError when the folder cannot be listed.
    virtual std::vector<FolderEntry> listFolder(const std::string& folder) = 0;
    // The whole content of a file, as bytes. Throws FileTooLarge, before reading, when the file
    // holds more than maxBytes (also when it grows past them while being read), and
    // PlatformError when it cannot be read.
    virtual std::string readFile(const std::string& path, std::uint64_t maxBytes) = 0;

    // The steps of replacing a file without ever leaving a partial one (SaveFileSafely puts
    // them together). Each throws PlatformError with the system's error text.
    // The file that writing to path changes: the file a symbolic link leads to; path itself
    // when nothing is there yet. Throws when something is there that cannot be followed.
    virtual std::string finalPath(const std::string& path) = 0;
    // Creates an empty, uniquely named file in folder and gives its path.
    virtual std::string createTemporaryFile(const std::string& folder) = 0;
    // Writes bytes as the whole content of the file and flushes them to the disk.
    virtual void writeFile(const std::string& path, const std::string& bytes) = 0;
    // Puts the file temporary in target's place in one step. An existing target (a final path)
    // hands its attributes (hidden, system), its creation time and its access rights to the
    // new file; a read-only target is never replaced. On failure target is untouched and
    // temporary is gone.
    virtual void moveReplacing(const std::string& temporary, const std::string& target) = 0;
    // Removes a file; a failure is ignored.
    virtual void removeFile(const std::string& path) = 0;

    // The program's own current directory, which a prompt started later inherits.
    virtual std::string currentDirectory() = 0;
    virtual void setCurrentDirectory(const std::string& path) = 0;
};
