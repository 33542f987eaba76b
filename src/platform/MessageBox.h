#pragma once
#include <string>

enum class MessageIcon { None, Exclamation, Question, Information, Error };
enum class MessageButtons { Ok, YesNoCancel };
enum class MessageResult { Ok, Yes, No, Cancel };

// Modal message boxes, owned by the program's active window.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageResult show(const std::string& text, const std::string& title,
                               MessageIcon icon, MessageButtons buttons) = 0;
};
