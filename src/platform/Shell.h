#pragma once
#include <string>

// The desktop shell.
class Shell {
public:
    virtual ~Shell() = default;
    // Opens a file or an address with its "open" verb, as a double-click would. The outcome is
    // not reported: the shell shows its own message when nothing can open it.
    virtual void open(const std::string& target) = 0;
};
