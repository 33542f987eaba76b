#include "platform/win32/Win32Timer.h"

#include <algorithm>

#include "platform/win32/CallbackGuard.h"

Win32Timer::Win32Timer(ControlSite& site, UINT_PTR id) : Win32Control(nullptr, site), id_(id) {}

Win32Timer::~Win32Timer() {
    if (HWND form = site().formWindow()) KillTimer(form, id_);
}

void Win32Timer::restart() {
    HWND form = site().formWindow();
    if (!form) return;
    // SetTimer with the id of a running timer replaces it, so the count starts again.
    if (enabled_ && interval_ > 0) {
        SetTimer(form, id_, static_cast<UINT>(interval_), nullptr);
    } else {
        KillTimer(form, id_);
    }
}

void Win32Timer::setInterval(int milliseconds) {
    interval_ = std::max(milliseconds, 0);
    restart();
}

void Win32Timer::setEnabled(bool on) {
    enabled_ = on;
    restart();
}

void Win32Timer::fire() {
    if (enabled_ && interval_ > 0) Guarded([&] { Fire(onTimer); });
}
