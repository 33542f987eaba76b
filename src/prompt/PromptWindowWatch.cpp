#include "prompt/PromptWindowWatch.h"

bool PromptWindowWatch::Look(PromptWindowState state, int millisecondsSinceLast) {
    if (!Watching()) return false;
    left_ -= millisecondsSinceLast;
    switch (state) {
    case PromptWindowState::Active:
        beside_ = 0;
        return true;
    case PromptWindowState::Beside:
        beside_ += millisecondsSinceLast;
        if (beside_ >= kSettledMilliseconds) left_ = 0;
        return false;
    case PromptWindowState::NotShown:
        beside_ = 0;
        return false;
    }
    return false;
}
