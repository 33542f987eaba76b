#pragma once
#include <string>

enum class MessageIcon { None, Exclamation, Question, Information, Error };
// YesNoCancel has Yes as its default button; YesNo, for a question whose Yes loses something,
// has No.
enum class MessageButtons { Ok, YesNoCancel, YesNo };
enum class MessageResult { Ok, Yes, No, Cancel };

// Modal message boxes, owned by the program's active window.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageResult show(const std::string& text, const std::string& title,
                               MessageIcon icon, MessageButtons buttons) = 0;
};
