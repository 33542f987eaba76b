#include "platform/win32/MessageLoop.h"

#include <stdexcept>

#include "platform/win32/CallbackGuard.h"
#include "platform/win32/FormWindowMarks.h"

namespace {

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

void ProcessMessage(MSG& message) {
    if (!TranslateFormKeys(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    RethrowPendingCallbackException();
}

int RunMessageLoop(const std::function<void(const std::exception&)>& reportError) {
    MSG message{};
    for (;;) {
        const BOOL result = GetMessageW(&message, nullptr, 0, 0);
        if (result == 0) return static_cast<int>(message.wParam);
        if (result == -1) return -1;
        try {
            ProcessMessage(message);
        } catch (const std::exception& error) {
            reportError(error);
        } catch (...) {
            reportError(std::runtime_error("unknown error"));
        }
    }
}
