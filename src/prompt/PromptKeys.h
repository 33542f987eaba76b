#pragma once
#include <string_view>
#include <vector>

#include "platform/ConsoleInput.h"

// The keys that type a text onto a prompt's command line: every character as itself, and
// each line break (CR LF, a lone CR or a lone LF) as one Enter key.
std::vector<PromptKey> ToPromptKeys(std::string_view utf8);
