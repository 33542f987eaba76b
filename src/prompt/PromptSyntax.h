#pragma once
#include "platform/SystemInfo.h"
#include "text/Path.h"

// How the prompt that this system starts reads a line typed into it: cmd.exe on the NT family,
// with delayed expansion as the system's setting for it says; command.com on the 9x family.
path::PromptSyntax PromptSyntaxOf(SystemInfo& system);
