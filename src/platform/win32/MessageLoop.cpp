#include "platform/win32/MessageLoop.h"

#include <stdexcept>

#include "platform/win32/CallbackGuard.h"
#include "platform/win32/FormWindowMarks.h"

namespace {

thread_local const FailureReporter* activeReporter = nullptr;

// For a message to a form or one of its controls: the form's menu shortcuts, then the dialog
// manager's keys (Tab, Enter, Esc, arrows, mnemonics). True when the message was handled and
// must not be dispatched again.
bool TranslateFormKeys(MSG& message) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (!root || !GetPropW(root, kFormProperty)) return false;
    auto accelerators = static_cast<HACCEL>(GetPropW(root, kAcceleratorsProperty));
    if (accelerators && TranslateAcceleratorW(root, accelerators, &message)) return true;
    return IsDialogMessageW(root, &message) != FALSE;
}

}  // namespace

ScopedFailureReporter::ScopedFailureReporter(const FailureReporter& reportError)
    : previous_(activeReporter) {
    activeReporter = &reportError;
}

ScopedFailureReporter::~ScopedFailureReporter() { activeReporter = previous_; }

void ProcessMessage(MSG& message) {
    if (!TranslateFormKeys(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    RethrowPendingCallbackException();
}

void ProcessMessageReportingFailures(MSG& message) {
    if (!activeReporter) return ProcessMessage(message);
    try {
        ProcessMessage(message);
    } catch (const std::exception& error) {
        (*activeReporter)(error);
    } catch (...) {
        (*activeReporter)(std::runtime_error("原因の分からないエラーが起きました。"));
    }
}

int RunMessageLoop(const FailureReporter& reportError) {
    ScopedFailureReporter reporter(reportError);
    MSG message{};
    for (;;) {
        const BOOL result = GetMessageW(&message, nullptr, 0, 0);
        if (result == 0) return static_cast<int>(message.wParam);
        if (result == -1) return -1;
        ProcessMessageReportingFailures(message);
    }
}
