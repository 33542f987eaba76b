#pragma once
#include "platform/CodePage.h"

// The system's ANSI code page (CP_ACP).
class Win32CodePage final : public CodePage {
public:
    std::optional<std::string> toAnsi(const std::string& utf8) override;
    Decoded fromAnsi(const std::string& ansi) override;
};
