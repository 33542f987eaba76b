#pragma once
#include <windows.h>

#include <exception>
#include <functional>

// Runs the thread's message loop until WM_QUIT; the result is the quit code. An exception that an
// event handler lets out (out of memory, say) goes to reportError, and the loop goes on: the
// program keeps running with the state its handlers left.
int RunMessageLoop(const std::function<void(const std::exception&)>& reportError);

// Handles one retrieved message the way the loop does: for a message to a form (or one of its
// controls), whichever form it is, the form's menu shortcuts and the dialog manager's keyboard
// navigation (Tab, Enter, Esc, mnemonics); then translation and dispatch. Modal forms run
// their own loops through it. Rethrows an exception an event handler raised while the message
// was dispatched.
void ProcessMessage(MSG& message);
