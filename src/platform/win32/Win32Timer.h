#pragma once
#include "platform/win32/ControlWindow.h"

// A timer of the form window: WM_TIMER with the timer's control id reaches fire().
class Win32Timer final : public Win32Control<Timer> {
public:
    Win32Timer(ControlSite& site, UINT_PTR id);
    ~Win32Timer() override;
    int interval() const override { return interval_; }
    void setInterval(int milliseconds) override;
    // A stopped timer keeps its interval and goes on from the start when enabled again.
    bool enabled() const override { return enabled_; }
    void setEnabled(bool on) override;
    void setFocus() override {}
    bool hasFocus() const override { return false; }

    UINT_PTR id() const { return id_; }
    void fire();

private:
    void restart();

    UINT_PTR id_;
    int interval_ = 0;
    bool enabled_ = true;
};
