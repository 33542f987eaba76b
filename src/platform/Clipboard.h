#pragma once
#include <string>

// The clipboard in its plain text format. Throws PlatformError when it cannot be opened.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // The empty string when the clipboard holds no text.
    virtual std::string getText() = 0;
    virtual void clear() = 0;
    virtual void setText(const std::string& text) = 0;
};
