#pragma once
#include <optional>
#include <string>

// The system's ANSI code page, in which list files and the settings file are kept.
class CodePage {
public:
    // Text read from ANSI bytes. Not lossless when some bytes have no character in the code page
    // (they are replaced) or their character would be written back as other bytes: saving the
    // text would then not give the same bytes.
    struct Decoded {
        std::string text;
        bool lossless = true;
    };

    virtual ~CodePage() = default;
    // The text in the ANSI code page; nothing when a character has no form there.
    virtual std::optional<std::string> toAnsi(const std::string& utf8) = 0;
    virtual Decoded fromAnsi(const std::string& ansi) = 0;
};
