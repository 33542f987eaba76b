#pragma once
#include <string>

#include "platform/Collation.h"

// The user's locale as CompareStringW orders it, letter case ignored.
class Win32Collation final : public Collation {
public:
    std::string sortKey(std::string_view utf8) override;
    int compare(std::string_view a, std::string_view b) override;

private:
    // Reused from call to call: a list file's lines are keyed or compared one after the other.
    std::wstring text_;
    std::wstring other_;
    std::string key_;
};
