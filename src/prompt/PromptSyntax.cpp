#include "prompt/PromptSyntax.h"

namespace {
constexpr unsigned long PlatformNT = 2;
}  // namespace

path::PromptSyntax PromptSyntaxOf(SystemInfo& system) {
    const bool isNT = system.platformId() == PlatformNT;
    return {.percentVariables = isNT, .delayedExpansion = isNT && system.promptDelayedExpansion()};
}
