#pragma once
#include <string>
#include <utility>
#include <vector>

// The prompt's directories as the prompt process itself holds them, read from its memory.
struct PromptDirectories {
    // The process's current directory as held, e.g. "C:\Windows\" (with the trailing backslash
    // the system keeps).
    std::string current;
    // The prompt remembers the directory of every other drive it has visited in hidden
    // environment variables "=C:", "=D:", ...: the drive letter (upper case, no colon) and
    // that directory as held, in the order of the environment block.
    std::vector<std::pair<std::string, std::string>> drives;
    bool operator==(const PromptDirectories&) const = default;
};
