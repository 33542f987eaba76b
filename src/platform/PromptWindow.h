#pragma once
#include <cstdint>
#include <string>

// Which window shows a prompt's console, and how it is brought forward. A console is shown
// either by its own console window or, where the system hands new consoles to a terminal, by
// the terminal's window; the console window is then an invisible stand-in of class
// PseudoConsoleWindow that the terminal's window owns. The decisions are made here, on what
// the desktop reports; the desktop only answers and acts.

// A window on the desktop by its system handle; 0 is none.
using WindowRef = std::uintptr_t;

// The class name of the stand-in window of a console that a terminal shows.
inline constexpr const char* kPseudoConsoleClass = "PseudoConsoleWindow";

// The desktop as far as the prompt's window needs it. Nothing here throws: a window that has
// gone answers with nothing, and acting on it does nothing.
class DesktopWindows {
public:
    virtual ~DesktopWindows() = default;
    virtual std::string className(WindowRef window) = 0;
    // The top of the window's chain of owners; the window itself when it has no owner.
    virtual WindowRef rootOwner(WindowRef window) = 0;
    virtual bool isVisible(WindowRef window) = 0;
    // The window that has the activation, of whichever program; 0 for none.
    virtual WindowRef foreground() = 0;
    virtual bool isOwnWindow(WindowRef window) = 0;  // one of this program's windows
    // Places window right behind above in the z-order, activating neither, moving or sizing
    // neither.
    virtual void placeBehind(WindowRef window, WindowRef above) = 0;
    virtual void bringToFront(WindowRef window) = 0;  // and activates it
};

// The window that shows the console whose console window is given: that window itself, or
// for a stand-in the window at the top of its owners; 0 where a stand-in has no owner (the
// terminal has not taken it yet, or it is one that sets none) or there is no console window.
WindowRef PromptWindowOf(DesktopWindows& desktop, WindowRef consoleWindow);

// Brings the window that shows the console forward: right behind this program's active
// window, which keeps the activation, or to the front when another program is active.
// Nothing happens where no window shows the console; a stand-in itself is never touched.
void BringPromptWindowForward(DesktopWindows& desktop, WindowRef consoleWindow);

// Where the window that shows a newly started prompt stands.
enum class PromptWindowState {
    NotShown,  // no window shows the console yet (or none will)
    Beside,    // shown, and another window has the activation
    Active,    // shown, and it took the activation
};
PromptWindowState StateOfPromptWindow(DesktopWindows& desktop, WindowRef consoleWindow);
