#pragma once
#include "platform/Profile.h"

// INI files through the system's private-profile functions. A file the program creates is
// written in the ANSI code page (checked under Wine with code pages 1252 and 932), as the
// settings file must be; an existing file keeps its own encoding.
class Win32Profile final : public Profile {
public:
    std::string getString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, const std::string& path) override;
    void setString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& path) override;
};
