#include "platform/win32/CallbackGuard.h"

std::exception_ptr& PendingCallbackException() {
    thread_local std::exception_ptr pending;
    return pending;
}
