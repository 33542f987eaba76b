#include "platform/win32/MessageLoop.h"

#include "platform/win32/CallbackGuard.h"
#include "platform/win32/Win32Form.h"

void ProcessMessage(MSG& message) {
    if (!Win32Form::TranslateKeyboard(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    RethrowPendingCallbackException();
}

int RunMessageLoop() {
    MSG message{};
    for (;;) {
        const BOOL result = GetMessageW(&message, nullptr, 0, 0);
        if (result == 0) return static_cast<int>(message.wParam);
        if (result == -1) return -1;
        ProcessMessage(message);
    }
}
