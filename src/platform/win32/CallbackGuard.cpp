#include "platform/win32/CallbackGuard.h"

#include <windows.h>

std::exception_ptr& PendingCallbackException() {
    thread_local std::exception_ptr pending;
    return pending;
}

void KeepCallbackException(std::exception_ptr error) noexcept {
    if (PendingCallbackException()) return;
    PendingCallbackException() = std::move(error);
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}
