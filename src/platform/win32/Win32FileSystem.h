#pragma once
#include "platform/FileSystem.h"

class Win32FileSystem final : public FileSystem {
public:
    bool directoryExists(const std::string& path) override;
};
