#pragma once
#include "platform/PromptWindow.h"

// Keeps the activation with the program while a newly started prompt's window appears. A
// console window started without activation stays beside; a terminal that shows the console in
// a window of its own may take the activation when that window opens, a moment after the
// start. The program looks at the prompt's window now and then for a short while and takes the
// activation back each time the prompt's window has it; once the window has stood beside for a
// while, or the time is up, it stops looking, and the user's own switches stay theirs.
class PromptWindowWatch {
public:
    static constexpr int kWatchMilliseconds = 3000;
    static constexpr int kSettledMilliseconds = 500;

    void Start() {
        left_ = kWatchMilliseconds;
        beside_ = 0;
    }
    bool Watching() const { return left_ > 0; }
    // One look at the prompt's window, the given time after the previous look (or the start).
    // True when the program should take the activation back now.
    bool Look(PromptWindowState state, int millisecondsSinceLast);

private:
    int left_ = 0;
    int beside_ = 0;  // how long the window has stood beside without a break
};
