#pragma once
#include "platform/MessageBox.h"

class Win32MessageBoxes final : public MessageBoxes {
public:
    MessageResult show(const std::string& text, const std::string& title, MessageIcon icon,
                       MessageButtons buttons) override;
};
