#pragma once
#include <exception>
#include <utility>

// A C++ exception must not unwind through the system's frames between DispatchMessage and a
// window procedure. Event handlers that run inside a window procedure are called through
// Guarded: an escaping exception is kept here and thrown again by the message loop once
// DispatchMessage has returned, so an unhandled error still ends the action with its message.
// The slot is per thread because window procedures run on the thread that owns the window.
std::exception_ptr& PendingCallbackException();

// Keeps the first of the exceptions and wakes the thread's message loop with a message of its
// own, so that it is reported at once also when the handler ran for a sent message (the
// system's end-of-session question, a drop), behind which nothing is posted.
void KeepCallbackException(std::exception_ptr error) noexcept;

template <class Function>
void Guarded(Function&& function) noexcept {
    try {
        std::forward<Function>(function)();
    } catch (...) {
        KeepCallbackException(std::current_exception());
    }
}

// Throws the exception a guarded handler left behind, if any.
inline void RethrowPendingCallbackException() {
    if (std::exception_ptr pending = std::exchange(PendingCallbackException(), nullptr))
        std::rethrow_exception(pending);
}
