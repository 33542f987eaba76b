#pragma once
#include "platform/Shell.h"

class Win32Shell final : public Shell {
public:
    void open(const std::string& target) override;
};
