#pragma once
#include <optional>
#include <string>

// The system's ANSI code page, in which list files and the settings file are kept.
class CodePage {
public:
    virtual ~CodePage() = default;
    // The text in the ANSI code page; nothing when a character has no form there.
    virtual std::optional<std::string> toAnsi(const std::string& utf8) = 0;
    virtual std::string fromAnsi(const std::string& ansi) = 0;
};
