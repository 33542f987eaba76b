#pragma once
#include "platform/FileSystem.h"

// The file system through the ...W functions, at any path length. The program runs with
// SEM_FAILCRITICALERRORS, so a drive without media fails quietly instead of asking for a disk.
class Win32FileSystem final : public FileSystem {
public:
    bool directoryExists(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    std::vector<std::string> drives() override;
    DriveKind driveKind(const std::string& drive) override;
    std::optional<std::string> connectionName(const std::string& drive) override;
    std::string volumeLabel(const std::string& drive) override;
    std::vector<FolderEntry> listFolder(const std::string& folder) override;
    std::string readFile(const std::string& path, std::uint64_t maxBytes) override;

    std::optional<FileStamp> fileStamp(const std::string& path) override;
    std::string fullPath(const std::string& path) override;
    std::string finalPath(const std::string& path) override;
    std::unique_ptr<ReplacementFile> createReplacement(const std::string& target) override;

    std::string currentDirectory() override;
    void setCurrentDirectory(const std::string& path) override;
};
