#pragma once
#include <cstdint>
#include <memory>
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

// What tells one state of a file from another: which file it is (its volume and its id there,
// which a rename keeps and a new file does not share) and its size and last-write time.
struct FileStamp {
    std::uint64_t volume = 0;
    std::uint64_t idHigh = 0;
    std::uint64_t idLow = 0;
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;
    bool sameFile(const FileStamp& other) const {
        return volume == other.volume && idHigh == other.idHigh && idLow == other.idLow;
    }
    bool operator==(const FileStamp&) const = default;
};

// A new file that is to take a target's place: written, flushed and renamed over the target
// through the one handle it was created with. Dropped before replaceTarget succeeded, it is
// deleted through that handle. Each call throws PlatformError with the system's text.
class ReplacementFile {
public:
    virtual ~ReplacementFile() = default;
    // Writes bytes as the whole content and flushes them to the disk.
    virtual void write(const std::string& bytes) = 0;
    // Puts the file in the target's place in one step, with the target's hidden, system and
    // not-indexed attributes and its creation time. On failure the target is untouched.
    virtual void replaceTarget() = 0;
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

    // The stamp of the file at path (through a symbolic link, of the file it leads to);
    // nothing when no file is there or it cannot be examined.
    virtual std::optional<FileStamp> fileStamp(const std::string& path) = 0;
    // The path made absolute against the current directory, its separators backslashes and its
    // "." and ".." worked out; as it is when the system cannot do that.
    virtual std::string fullPath(const std::string& path) = 0;

    // The steps of replacing a file without ever leaving a partial one (SaveFileSafely puts
    // them together). Each throws PlatformError with the system's error text.
    // The file that writing to path changes: the file a symbolic link leads to; path itself
    // when nothing is there yet. Throws when something is there that cannot be followed.
    virtual std::string finalPath(const std::string& path) = 0;
    // Creates a new file under a name nobody holds in the folder of target (a final path),
    // never opening an existing one, with target's access rights from the start where it
    // exists. A read-only target is refused before anything is made.
    virtual std::unique_ptr<ReplacementFile> createReplacement(const std::string& target) = 0;

    // The program's own current directory, which a prompt started later inherits.
    virtual std::string currentDirectory() = 0;
    virtual void setCurrentDirectory(const std::string& path) = 0;
};
