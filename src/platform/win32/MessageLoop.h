#pragma once
#include <windows.h>

// Runs the thread's message loop until WM_QUIT; the result is the quit code.
int RunMessageLoop();

// Handles one retrieved message the way the loop does: keyboard navigation for forms
// (Tab, Enter, Esc, mnemonics) through the dialog manager, then translation and dispatch.
// Rethrows an exception an event handler raised while the message was dispatched.
void ProcessMessage(MSG& message);
