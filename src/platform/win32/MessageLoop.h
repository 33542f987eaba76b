#pragma once
#include <windows.h>

#include <exception>
#include <functional>

using FailureReporter = std::function<void(const std::exception&)>;

// Runs the thread's message loop until WM_QUIT; the result is the quit code. An exception that an
// event handler lets out (out of memory, say) goes to reportError, and the loop goes on: the
// program keeps running with the state its handlers left. The loops of modal forms report
// through reportError too, and their form stays open.
int RunMessageLoop(const FailureReporter& reportError);

// Makes reportError the thread's reporter for as long as the object lives (RunMessageLoop
// does this; a test that runs a modal form without the loop may too).
class ScopedFailureReporter {
public:
    explicit ScopedFailureReporter(const FailureReporter& reportError);
    ~ScopedFailureReporter();
    ScopedFailureReporter(const ScopedFailureReporter&) = delete;
    ScopedFailureReporter& operator=(const ScopedFailureReporter&) = delete;

private:
    const FailureReporter* previous_;
};

// Handles one retrieved message the way the loop does: for a message to a form (or one of its
// controls), whichever form it is, the form's menu shortcuts and the dialog manager's keyboard
// navigation (Tab, Enter, Esc, mnemonics); then translation and dispatch. Rethrows an exception
// an event handler raised while the message was dispatched.
void ProcessMessage(MSG& message);

// ProcessMessage for a modal form's loop: a failure goes to the thread's reporter and the loop
// goes on. Without a reporter the exception is thrown on.
void ProcessMessageReportingFailures(MSG& message);
