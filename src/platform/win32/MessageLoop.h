#pragma once
#include <windows.h>

// Runs the thread's message loop until WM_QUIT; the result is the quit code.
int RunMessageLoop();

// Handles one retrieved message the way the loop does: for a message to a form (or one of its
// controls), whichever form it is, the form's menu shortcuts and the dialog manager's keyboard
// navigation (Tab, Enter, Esc, mnemonics); then translation and dispatch. Modal forms run
// their own loops through it. Rethrows an exception an event handler raised while the message
// was dispatched.
void ProcessMessage(MSG& message);
