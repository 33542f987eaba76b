#pragma once
#include <string>

// Settings files in the system's INI format, read and written a key at a time.
class Profile {
public:
    virtual ~Profile() = default;
    // The key's value, or defaultValue when the file, the section or the key is missing. A
    // value longer than 1023 characters is cut to its first 1023.
    virtual std::string getString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue, const std::string& path) = 0;
    // Sets the key, creating the file and the section as needed; every character is kept.
    // Throws PlatformError, with the system's text, when the file cannot be written.
    virtual void setString(const std::string& section, const std::string& key,
                           const std::string& value, const std::string& path) = 0;
};
