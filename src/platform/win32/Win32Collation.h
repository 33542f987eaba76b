#pragma once
#include "platform/Collation.h"

// The user's locale as CompareStringW orders it, letter case ignored.
class Win32Collation final : public Collation {
public:
    std::string sortKey(std::string_view utf8) override;
};
