#include "platform/PromptWindow.h"

WindowRef PromptWindowOf(DesktopWindows& desktop, WindowRef consoleWindow) {
    if (!consoleWindow) return 0;
    if (desktop.className(consoleWindow) != kPseudoConsoleClass) return consoleWindow;
    // The stand-in is 0 by 0 and never shown: only its owner is a window the user sees.
    const WindowRef owner = desktop.rootOwner(consoleWindow);
    return owner == consoleWindow ? 0 : owner;
}

void BringPromptWindowForward(DesktopWindows& desktop, WindowRef consoleWindow) {
    const WindowRef shown = PromptWindowOf(desktop, consoleWindow);
    if (!shown) return;
    const WindowRef active = desktop.foreground();
    if (active == shown) return;
    if (active && desktop.isOwnWindow(active)) {
        // Behind the program's window, which keeps the activation: no switch to the prompt
        // and back, which would cost both windows a repaint.
        desktop.placeBehind(shown, active);
        return;
    }
    desktop.bringToFront(shown);
}

PromptWindowState StateOfPromptWindow(DesktopWindows& desktop, WindowRef consoleWindow) {
    const WindowRef shown = PromptWindowOf(desktop, consoleWindow);
    if (!shown || !desktop.isVisible(shown)) return PromptWindowState::NotShown;
    return desktop.foreground() == shown ? PromptWindowState::Active : PromptWindowState::Beside;
}
