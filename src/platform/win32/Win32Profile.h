#pragma once
#include "platform/Profile.h"

// INI files through the system's private-profile functions, which write a file in UTF-16 when
// it begins with the UTF-16 LE byte-order mark and in the ANSI code page otherwise. So that no
// character is ever written as a look-alike or '?':
// - a file the program creates begins with the mark before the first key is written;
// - an existing file without the mark keeps its ANSI form while every text written to it has
//   an exact ANSI form; before a text without one is written, the file is rewritten in UTF-16
//   with the mark (all of its content, through a temporary file beside it, flushed, then moved
//   over it).
// Other programs read such a file with the ANSI functions as before.
class Win32Profile final : public Profile {
public:
    std::string getString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, const std::string& path) override;
    void setString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& path) override;
};
