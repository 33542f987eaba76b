#include "platform/ConsoleInput.h"

void ConsoleInput::activateConsoleWindow(std::uint32_t processId) {
    try {
        attach(processId)->bringForward();
    } catch (...) {
        // Best effort: the text reaches the prompt whether or not its window comes forward.
    }
}
